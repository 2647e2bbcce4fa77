#pragma once
// Reading ICO files in tests: little-endian fields, the directory, the committed files.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

namespace talvessa::test {

inline std::uint32_t le16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset] | bytes[offset + 1] << 8);
}

inline std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return le16(bytes, offset) | le16(bytes, offset + 2) << 16;
}

// One directory entry of an ICO file.
struct IcoEntry {
    int size = 0;  // width; 0 in the file stands for 256
    int height = 0;
    int colourCount = 0;
    int planes = 0;
    int bitsPerPixel = 0;
    std::uint32_t bytes = 0;
    std::uint32_t offset = 0;
};

// The directory of an ICO file; empty when the header is not that of an icon.
inline std::vector<IcoEntry> icoDirectory(std::span<const std::uint8_t> file) {
    if (file.size() < 6 || le16(file, 0) != 0 || le16(file, 2) != 1) return {};
    const std::size_t count = le16(file, 4);
    if (file.size() < 6 + 16 * count) return {};
    std::vector<IcoEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 6 + 16 * i;
        entries.push_back(IcoEntry{
            file[at] == 0 ? 256 : file[at], file[at + 1] == 0 ? 256 : file[at + 1], file[at + 2],
            static_cast<int>(le16(file, at + 4)), static_cast<int>(le16(file, at + 6)),
            le32(file, at + 8), le32(file, at + 12)});
    }
    return entries;
}

// A committed file of resources/, whole; empty when it cannot be read.
inline std::vector<std::uint8_t> readResourceFile(const std::string& name) {
    std::ifstream in(std::string(TALVESSA_RESOURCES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace talvessa::test
