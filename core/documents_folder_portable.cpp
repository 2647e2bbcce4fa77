#include "core/documents_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace talvessa {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The XDG_DOCUMENTS_DIR line of user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Documents" or an
// absolute path in quotes. Anything else gives the empty text.
std::string userDirsDocuments(const std::string& home) {
    std::string config = environment("XDG_CONFIG_HOME");
    if (config.empty()) {
        if (home.empty()) return {};
        config = home + "/.config";
    }
    std::ifstream file(config + "/user-dirs.dirs");
    std::string line;
    constexpr std::string_view kPrefix = "XDG_DOCUMENTS_DIR=\"";
    while (std::getline(file, line)) {
        std::string_view text = line;
        if (text.substr(0, kPrefix.size()) != kPrefix) continue;
        text.remove_prefix(kPrefix.size());
        const std::size_t end = text.find('"');
        if (end == std::string_view::npos) return {};
        text = text.substr(0, end);
        if (text.substr(0, 5) == "$HOME") {
            if (home.empty()) return {};
            return home + std::string(text.substr(5));
        }
        return text.empty() || text.front() != '/' ? std::string() : std::string(text);
    }
    return {};
}

bool isFolder(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

}  // namespace

std::string documentsFolder() {
    const std::string home = environment("HOME");
    for (const std::string& candidate :
         {environment("XDG_DOCUMENTS_DIR"), userDirsDocuments(home),
          home.empty() ? std::string() : home + "/Documents"}) {
        // Like the Windows call with its last argument FALSE: a folder that does not exist is
        // not had, and is never created.
        if (!candidate.empty() && candidate.front() == '/' && isFolder(candidate)) return candidate;
    }
    return {};
}

}  // namespace talvessa
