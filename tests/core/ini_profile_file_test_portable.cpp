// Our profile writer on POSIX file systems: what replacing the file must keep.

#include "core/ini_profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/core/temp_documents.h"

namespace talvessa {
namespace {

namespace fs = std::filesystem;
using testing::readFileBytes;
using testing::ScratchFolder;
using testing::writeFileBytes;

TEST(IniProfileFile, ReplacingKeepsPermissionsAndLinks) {
    ScratchFolder folder;
    const fs::path real = folder.path() / "real.ini";
    const fs::path link = folder.path() / "link.ini";
    writeFileBytes(real, "[conf]\nk=1\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, link);

    ASSERT_TRUE(iniProfileWrite("conf", "k", "2", link.c_str()));

    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(readFileBytes(real), "[conf]\nk=2\n");
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

TEST(IniProfileFile, ALinkIntoAMissingFolderCreatesNothing) {
    ScratchFolder folder;
    const fs::path dangling = folder.path() / "dangling.ini";
    fs::create_symlink(folder.path() / "nowhere" / "x.ini", dangling);
    EXPECT_FALSE(iniProfileWrite("conf", "k", "2", dangling.c_str()));
    EXPECT_EQ(iniProfileRead("conf", "k", "d", dangling.c_str()), "d");
    EXPECT_FALSE(fs::exists(folder.path() / "nowhere"));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dangling)));
}

}  // namespace
}  // namespace talvessa
