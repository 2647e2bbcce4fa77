#pragma once
// A documents folder of the test's own, so that tests of the settings file never touch the user's.
//
//   talvessa::testing::TempDocuments documents;   // for the life of the object:
//   documents.writeSettingsFile("[conf]\r\nwidth=90\r\n");
//   talvessa::loadSettings();                      // reads that file
//
// Natively a fresh folder under the temporary directory becomes $HOME (with Documents/ inside,
// XDG_CONFIG_HOME pointing into it and XDG_DOCUMENTS_DIR unset); the environment, the current
// directory and the folder are restored or removed at the end. On Windows (under Wine) the
// session's real Documents folder is used: its Talvessa.ini is saved first and put back at the end.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/documents_folder.h"

namespace talvessa::testing {

// The bytes of a file, or nullopt when it cannot be opened.
inline std::optional<std::string> readFileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

inline void writeFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.good()) << path.string();
}

// A file of tests/data. Under Wine the build's Unix path is reached through drive Z:, which
// also holds when the current directory is on another drive.
inline std::filesystem::path fixturePath(std::string_view relative) {
    std::string folder = TALVESSA_TEST_DATA_DIR;
#ifdef _WIN32
    if (!folder.empty() && folder.front() == '/') folder = "Z:" + folder;
#endif
    return std::filesystem::path(folder) / std::filesystem::path(std::string(relative));
}

inline std::string readFixture(std::string_view relative) {
    const std::optional<std::string> bytes = readFileBytes(fixturePath(relative));
    EXPECT_TRUE(bytes.has_value()) << "missing fixture " << relative;
    return bytes.value_or(std::string());
}

// Whether this process can open the read-only file `path` for writing after all: Wine keeps the
// read-only attribute as missing Unix write bits, which root (as tests run here) ignores.
inline bool fileSystemWritesReadOnlyFiles(const std::filesystem::path& path) {
    std::ofstream file(path, std::ios::binary | std::ios::app);
    return file.is_open();
}

// A fresh empty folder under the temporary directory, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("talvessa-test-" + std::to_string(random()) + "-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code error;
        // Read-only files inside would stop the removal on Windows.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, error)) {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, error);
        }
        std::filesystem::remove_all(path_, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

class TempDocuments {
public:
    TempDocuments() : originalDirectory_(std::filesystem::current_path()) {
#ifdef _WIN32
        folder_ = documentsFolder();
        EXPECT_FALSE(folder_.empty()) << "the Wine session has no Documents folder";
        savedSettings_ = readFileBytes(settingsFile());
        removeSettingsFile();
#else
        home_ = std::make_unique<ScratchFolder>();
        folder_ = (home_->path() / "Documents").string();
        std::filesystem::create_directories(folder_);
        setVariable("HOME", home_->path().string());
        setVariable("XDG_CONFIG_HOME", (home_->path() / ".config").string());
        setVariable("XDG_DOCUMENTS_DIR", std::nullopt);
#endif
    }

    ~TempDocuments() {
        std::error_code error;
        std::filesystem::current_path(originalDirectory_, error);
#ifdef _WIN32
        if (hidden_) std::filesystem::rename(folder_ + ".hidden-by-test", folder_, error);
        restore(settingsFile(), savedSettings_);
        if (hidden_) restore(fallbackFile_, savedFallback_);
#else
        for (auto it = savedVariables_.rbegin(); it != savedVariables_.rend(); ++it) {
            if (it->second) {
                ::setenv(it->first.c_str(), it->second->c_str(), 1);
            } else {
                ::unsetenv(it->first.c_str());
            }
        }
#endif
    }

    TempDocuments(const TempDocuments&) = delete;
    TempDocuments& operator=(const TempDocuments&) = delete;

    // The documents folder as documentsFolder() reports it.
    const std::string& folder() const { return folder_; }

    // Talvessa.ini in the documents folder, as a path for the C and C++ libraries.
    std::filesystem::path settingsFile() const {
        return std::filesystem::path(folder_) / "Talvessa.ini";
    }

    std::optional<std::string> readSettingsFile() const { return readFileBytes(settingsFile()); }
    void writeSettingsFile(std::string_view bytes) const { writeFileBytes(settingsFile(), bytes); }
    void removeSettingsFile() const {
        std::error_code error;
        std::filesystem::permissions(settingsFile(), std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove(settingsFile(), error);
    }

    // Makes the documents folder unavailable until the end of the test, and the current directory
    // a place the fallback path "\Talvessa.ini" may write to. Returns the file that path names:
    // natively Talvessa.ini in a scratch current directory; on Windows C:\Talvessa.ini (the root
    // of the current drive C:, saved first and put back at the end).
    std::filesystem::path hideDocumentsFolder() {
#ifdef _WIN32
        std::error_code error;
        std::filesystem::rename(folder_, folder_ + ".hidden-by-test", error);
        EXPECT_FALSE(error) << error.message();
        hidden_ = !error;
        std::filesystem::current_path("C:\\", error);
        fallbackFile_ = "C:\\Talvessa.ini";
        savedFallback_ = readFileBytes(fallbackFile_);
        std::filesystem::remove(fallbackFile_, error);
        return fallbackFile_;
#else
        std::filesystem::remove_all(folder_);
        const std::filesystem::path current = home_->path() / "current";
        std::filesystem::create_directories(current);
        std::filesystem::current_path(current);
        return current / "Talvessa.ini";
#endif
    }

private:
#ifdef _WIN32
    static void restore(const std::filesystem::path& path, const std::optional<std::string>& bytes) {
        std::error_code error;
        std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(path, error);
        if (bytes) writeFileBytes(path, *bytes);
    }

    std::optional<std::string> savedSettings_;
    bool hidden_ = false;
    std::filesystem::path fallbackFile_;
    std::optional<std::string> savedFallback_;
#else
    void setVariable(const char* name, const std::optional<std::string>& value) {
        const char* old = std::getenv(name);
        savedVariables_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }

    std::unique_ptr<ScratchFolder> home_;
    std::vector<std::pair<std::string, std::optional<std::string>>> savedVariables_;
#endif
    std::filesystem::path originalDirectory_;
    std::string folder_;
};

}  // namespace talvessa::testing
