#include "sim/port_link.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct TempFolder {
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "ecusim-link-XXXXXX").string();
        path = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path path;
};

} // namespace

TEST(PortLink, LinksComNToTheDeviceAndRemovesTheLinkAtTheEnd) {
    TempFolder temp;
    const fs::path folder = temp.path / "ports"; // made when missing
    std::string error;
    {
        auto link = ecusim::PortLink::Create(folder.string(), 40, "/dev/null", error);
        ASSERT_TRUE(link) << error;
        EXPECT_EQ(fs::read_symlink(folder / "COM40"), fs::path("/dev/null"));
        EXPECT_EQ(link->path(), (folder / "COM40").string());
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "COM40")));
}

TEST(PortLink, ReplacesOnlyALinkToADeviceThatIsGone) {
    struct Case {
        const char* what;
        void (*prepare)(const fs::path& entry);
        bool created;
    };
    const Case cases[] = {
        {"a link left behind", [](const fs::path& e) { fs::create_symlink("/dev/pts/no-such-terminal", e); },
         true},
        {"a link in use", [](const fs::path& e) { fs::create_symlink("/dev/null", e); }, false},
        {"a plain file", [](const fs::path& e) { std::ofstream(e) << "mine"; }, false},
    };
    for (const Case& c : cases) {
        TempFolder temp;
        const fs::path entry = temp.path / "COM7";
        c.prepare(entry);
        std::string error;
        const auto link = ecusim::PortLink::Create(temp.path.string(), 7, "/dev/zero", error);
        EXPECT_EQ(link != nullptr, c.created) << c.what;
        EXPECT_EQ(error.empty(), c.created) << c.what << ": " << error;
        std::error_code ec;
        EXPECT_EQ(fs::read_symlink(entry, ec) == fs::path("/dev/zero"), c.created) << c.what;
    }
}

TEST(PortLink, LeavesALinkThatSomeoneElsePutThere) {
    TempFolder temp;
    std::string error;
    auto link = ecusim::PortLink::Create(temp.path.string(), 3, "/dev/null", error);
    ASSERT_TRUE(link) << error;
    const fs::path entry = temp.path / "COM3";
    fs::remove(entry);
    fs::create_symlink("/dev/zero", entry);
    link.reset();
    EXPECT_EQ(fs::read_symlink(entry), fs::path("/dev/zero"));
}

TEST(PortLink, TheDefaultFolderIsPortsBesideTheProgram) {
    const fs::path folder = ecusim::DefaultPortsFolder("ignored");
    EXPECT_EQ(folder.filename(), "ports");
    EXPECT_TRUE(fs::exists(folder.parent_path() / "sim_tests"));
}
