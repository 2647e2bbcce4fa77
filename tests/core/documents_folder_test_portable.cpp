// Where the documents folder is found off Windows.

#include "core/documents_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/settings.h"
#include "tests/core/temp_documents.h"

namespace talvessa {
namespace {

struct FolderRow {
    const char* name;
    const char* xdgDocuments;  // $XDG_DOCUMENTS_DIR, relative to the home folder; null: unset
    const char* userDirsLine;  // the line in user-dirs.dirs; null: no such file
    bool homeDocuments;        // whether $HOME/Documents exists
    const char* expected;      // relative to the home folder; "": not had
};

const FolderRow kRows[] = {
    {"home Documents", nullptr, nullptr, true, "Documents"},
    {"no folder at all", nullptr, nullptr, false, ""},
    {"XDG variable first", "Papers", "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"", true, "Papers"},
    {"XDG variable naming no folder", "Missing", nullptr, true, "Documents"},
    {"user-dirs.dirs with $HOME", nullptr, "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"", true, "Docs"},
    {"user-dirs.dirs naming no folder", nullptr, "XDG_DOCUMENTS_DIR=\"$HOME/Gone\"", false, ""},
    {"user-dirs.dirs unquoted", nullptr, "XDG_DOCUMENTS_DIR=$HOME/Docs", true, "Documents"},
    // A backslash is an ordinary character of a file name here; the path text gets no second one.
    {"folder text ending in a backslash", "Docs\\", nullptr, false, "Docs\\"},
};

TEST(DocumentsFolder, FollowsTheXdgDirectoriesThenHome) {
    for (const FolderRow& row : kRows) {
        SCOPED_TRACE(row.name);
        testing::TempDocuments documents;
        const std::filesystem::path home = std::filesystem::path(documents.folder()).parent_path();
        std::filesystem::remove_all(documents.folder());
        for (const char* folder : {"Papers", "Docs", "Docs\\"}) std::filesystem::create_directories(home / folder);
        if (row.homeDocuments) std::filesystem::create_directories(home / "Documents");
        if (row.xdgDocuments != nullptr) {
            ::setenv("XDG_DOCUMENTS_DIR", (home / row.xdgDocuments).c_str(), 1);
        }
        if (row.userDirsLine != nullptr) {
            std::filesystem::create_directories(home / ".config");
            testing::writeFileBytes(home / ".config" / "user-dirs.dirs",
                                    std::string("# written by a test\n") + row.userDirsLine + "\n");
        }
        const std::string expected =
            *row.expected == '\0' ? std::string() : (home / row.expected).string();
        EXPECT_EQ(documentsFolder(), expected);
        // The folder text always ends in a backslash, then "\Talvessa.ini" follows.
        const bool endsInBackslash = expected.empty() || expected.back() == '\\';
        EXPECT_EQ(settingsFilePath(), expected + (endsInBackslash ? "" : "\\") + "\\Talvessa.ini");
    }
}

}  // namespace
}  // namespace talvessa
