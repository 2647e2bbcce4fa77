#include "core/documents_folder.h"

#include <windows.h>
#include <shlobj.h>

namespace talvessa {

std::string documentsFolder() {
    char folder[MAX_PATH] = {};
    // No owner window, and FALSE: a missing folder is reported (empty text), never created.
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_PERSONAL, FALSE)) return {};
    folder[MAX_PATH - 1] = '\0';
    return folder;
}

}  // namespace talvessa
