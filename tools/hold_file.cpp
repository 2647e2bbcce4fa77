// hold_file.exe FILE RELEASE: opens FILE for reading and writing with no sharing, as another
// program holding it would, prints "held" once it has it, and keeps it open until the file RELEASE
// exists (or two minutes have passed). A test helper for the settings file's fault scenarios.
// Exit code 0 after the release, 1 when FILE cannot be opened, 2 on a wrong command line.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: hold_file FILE RELEASE\n");
        return 2;
    }
    HANDLE file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "hold_file: cannot open %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    for (int waited = 0; waited < 120000; waited += 50) {
        if (GetFileAttributesA(argv[2]) != INVALID_FILE_ATTRIBUTES) break;
        Sleep(50);
    }
    CloseHandle(file);
    return 0;
}
