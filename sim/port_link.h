#pragma once

#include <memory>
#include <string>

namespace ecusim {

// The entry COMn in a ports folder, a symbolic link to the device the tool should open for port n.
// It is removed again when this object goes, unless someone has put another link there meanwhile.
class PortLink {
public:
    // Empty, with the reason in error, when the folder cannot be made or COMn is taken: by a file that is
    // no link, or by a link to a device that exists (another ecusim, or one left behind). A link to a
    // device that is gone is replaced.
    static std::unique_ptr<PortLink> Create(const std::string& folder, int com, const std::string& target,
                                            std::string& error);
    ~PortLink();
    PortLink(const PortLink&) = delete;
    PortLink& operator=(const PortLink&) = delete;

    const std::string& path() const { return linkPath; }

private:
    PortLink(std::string link, std::string target)
        : linkPath(std::move(link)), targetPath(std::move(target)) {}

    std::string linkPath;
    std::string targetPath;
};

// "ports" beside the running program (found from argv[0] where the system cannot tell); for an installed
// ecusim that cannot write there, ~/.config/ecusetup/ports, where the program looks too.
std::string DefaultPortsFolder(const char* argv0);

} // namespace ecusim
