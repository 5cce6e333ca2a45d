#include "sim/port_link.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace fs = std::filesystem;

namespace ecusim {

namespace {

// Why an existing entry at the link's place may not be replaced; empty when it may.
std::string Occupied(const fs::path& link) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(link, ec);
    if (ec || !fs::exists(status))
        return {};
    if (!fs::is_symlink(status))
        return link.string() + " exists and is no link; move it away or choose another number with --com";
    const fs::path target = fs::read_symlink(link, ec);
    if (!fs::exists(link, ec))
        return {}; // dangling: left behind by an ecusim that did not end cleanly
    return link.string() + " already leads to " + target.string() +
           ", probably another ecusim; end it, remove the link if it is stale, or choose another number with "
           "--com";
}

} // namespace

std::unique_ptr<PortLink> PortLink::Create(const std::string& folder, int com, const std::string& target,
                                           std::string& error) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = "cannot make the folder " + folder + ": " + ec.message();
        return nullptr;
    }
    const fs::path link = fs::path(folder) / ("COM" + std::to_string(com));
    error = Occupied(link);
    if (!error.empty())
        return nullptr;
    fs::remove(link, ec);
    fs::create_symlink(target, link, ec);
    if (ec) {
        error = "cannot create the link " + link.string() + ": " + ec.message();
        return nullptr;
    }
    return std::unique_ptr<PortLink>(new PortLink(link.string(), target));
}

PortLink::~PortLink() {
    std::error_code ec;
    if (fs::read_symlink(linkPath, ec) == fs::path(targetPath) && !ec)
        fs::remove(linkPath, ec);
}

std::string DefaultPortsFolder(const char* argv0) {
    std::error_code ec;
    fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec || program.empty())
        program = fs::absolute(argv0 ? argv0 : "ecusim", ec);
    const fs::path beside = program.parent_path() / "ports";
    if (fs::exists(beside, ec) || access(program.parent_path().c_str(), W_OK) == 0)
        return beside.string();
    // An installed ecusim cannot write beside itself; the program looks in the user's folder too.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const fs::path base = config && *config ? fs::path(config) : fs::path(home ? home : ".") / ".config";
    return (base / "ecusetup" / "ports").string();
}

} // namespace ecusim
