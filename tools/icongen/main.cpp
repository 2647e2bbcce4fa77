// icongen: draws the clock face and writes the program's icon files.
//
//   icongen DIR            writes talvessa.ico, tray.ico and tray_icon_image.cpp into DIR
//   icongen --check DIR    exits with 1, naming each file, when a file in DIR differs from what
//                          it would write
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "tools/icongen/clock_face.h"
#include "tools/icongen/ico_file.h"
#include "tools/icongen/png_file.h"

namespace {

using namespace talvessa::icongen;

struct OutputFile {
    std::string name;
    std::string content;
};

// DEFAULT_ICON: 48, 32 and 16 pixels at 4 and at 8 bits per pixel, then 128, 48, 32 and 16
// pixels at 32 bits per pixel. The 128 pixel image is stored as PNG: as a bitmap it would be
// 64 KB, a fifth of the program.
Bytes programIcon() {
    const std::vector<Rgba> palette16 = blendPalette(clockFaceColours(), 16);
    const std::vector<Rgba> palette256 = blendPalette(clockFaceColours(), 256);
    std::vector<IconImage> images;
    for (int bits : {4, 8}) {
        for (int size : {48, 32, 16})
            images.push_back(
                encodePaletted(drawClockFace(size), bits, bits == 4 ? palette16 : palette256));
    }
    images.push_back(encodePngImage(drawClockFace(128)));
    for (int size : {48, 32, 16}) images.push_back(encodeTrueColour(drawClockFace(size)));
    return iconFile(images);
}

std::vector<OutputFile> outputFiles() {
    const Bytes program = programIcon();
    const Bytes tray = iconFile({encodeTrueColour(drawClockFace(32))});
    return {
        {"talvessa.ico", std::string(program.begin(), program.end())},
        {"tray.ico", std::string(tray.begin(), tray.end())},
        {"tray_icon_image.cpp",
         byteArraySource(tray, "trayIconImage", "resources/tray_icon_image.h",
                         "The notification-area icon: the bytes of tray.ico.\n"
                         "// Written by tools/icongen (run tools/make-icons.sh); do not edit.")},
    };
}

bool readFile(const std::string& path, std::string& content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::string_view(argv[1]) == "--check";
    if (argc != 2 && !check) {
        std::fprintf(stderr, "usage: icongen [--check] DIR\n");
        return 2;
    }
    const std::string dir = argv[argc - 1];
    int status = 0;
    for (const OutputFile& file : outputFiles()) {
        const std::string path = dir + "/" + file.name;
        if (check) {
            std::string existing;
            if (!readFile(path, existing) || existing != file.content) {
                std::fprintf(stderr,
                             "%s differs from what icongen draws; run tools/make-icons.sh\n",
                             path.c_str());
                status = 1;
            }
        } else if (!writeFile(path, file.content)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            status = 1;
        }
    }
    return status;
}
