#pragma once
// The current user's documents folder, where the settings file lives.

#include <string>

namespace talvessa {

// The folder's path text, or the empty text when it cannot be had (the folder is never created).
// On Windows SHGetSpecialFolderPathA(CSIDL_PERSONAL); elsewhere the XDG documents directory
// ($XDG_DOCUMENTS_DIR, else the user-dirs.dirs entry), else $HOME/Documents, when it exists.
std::string documentsFolder();

}  // namespace talvessa
