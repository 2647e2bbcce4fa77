// The icon files kept with the program: the tray image's exact layout and DEFAULT_ICON's images.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "resources/tray_icon_image.h"
#include "tests/core/ico_reading.h"

namespace talvessa {
namespace {

using test::icoDirectory;
using test::IcoEntry;
using test::le16;
using test::le32;

constexpr std::size_t kInfoHeaderBytes = 40;

std::size_t rowBytes(int width, int bitsPerPixel) {
    return static_cast<std::size_t>((width * bitsPerPixel + 31) / 32 * 4);
}

std::size_t paletteBytes(int bitsPerPixel) {
    return bitsPerPixel <= 8 ? std::size_t{4} << bitsPerPixel : 0;
}

// Whether the AND mask of `entry` lets the background through at x, y (y counted from the top).
bool masked(std::span<const std::uint8_t> file, const IcoEntry& entry, int x, int y) {
    const std::size_t maskStart = entry.offset + kInfoHeaderBytes +
                                  paletteBytes(entry.bitsPerPixel) +
                                  rowBytes(entry.size, entry.bitsPerPixel) * entry.size;
    const std::size_t row = static_cast<std::size_t>(entry.size - 1 - y);  // bottom row first
    return (file[maskStart + row * rowBytes(entry.size, 1) + x / 8] & (0x80 >> x % 8)) != 0;
}

// Blue, green, red and alpha of a 32-bit image at x, y (y counted from the top).
std::span<const std::uint8_t> pixel32(std::span<const std::uint8_t> file, const IcoEntry& entry,
                                      int x, int y) {
    const std::size_t row = static_cast<std::size_t>(entry.size - 1 - y);
    return file.subspan(entry.offset + kInfoHeaderBytes + (row * entry.size + x) * 4, 4);
}

std::uint32_t be32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset] << 24 | bytes[offset + 1] << 16 |
                                      bytes[offset + 2] << 8 | bytes[offset + 3]);
}

// The large image is a PNG file (a bitmap would be 64 KB): signature, a 128 x 128 RGBA header,
// then chunks whose lengths tile the image exactly and end with IEND. Each chunk's CRC is checked.
void expectPngOf128Pixels(std::span<const std::uint8_t> png) {
    constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ASSERT_GE(png.size(), 8u + 25u + 12u);
    EXPECT_TRUE(std::ranges::equal(png.first(8), kSignature));
    EXPECT_EQ(be32(png, 8), 13u);
    EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
    EXPECT_EQ(be32(png, 16), 128u);
    EXPECT_EQ(be32(png, 20), 128u);
    EXPECT_EQ(png[24], 8) << "bits per sample";
    EXPECT_EQ(png[25], 6) << "colour type RGBA";
    std::vector<std::string> types;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = be32(png, at);
        ASSERT_LE(at + 12 + length, png.size());
        std::uint32_t crc = 0xFFFFFFFF;
        for (std::size_t i = at + 4; i < at + 8 + length; ++i) {
            crc ^= png[i];
            for (int k = 0; k < 8; ++k) crc = crc & 1 ? 0xEDB88320 ^ (crc >> 1) : crc >> 1;
        }
        EXPECT_EQ(~crc, be32(png, at + 8 + length));
        types.emplace_back(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                           png.begin() + static_cast<std::ptrdiff_t>(at + 8));
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.back(), "IEND");
    EXPECT_NE(std::ranges::find(types, "IDAT"), types.end());
}

TEST(TrayIconImage, HasTheLayoutOfA4286ByteIcoFile) {
    const std::span<const std::uint8_t> ico = trayIconImage();
    ASSERT_EQ(ico.size(), 4286u);
    struct Field {
        const char* name;
        std::size_t offset;
        int bytes;
        std::uint32_t expected;
    };
    constexpr Field kFields[] = {
        {"reserved", 0, 2, 0},
        {"type: icon", 2, 2, 1},
        {"image count", 4, 2, 1},
        {"width", 6, 1, 32},
        {"height", 7, 1, 32},
        {"palette colours", 8, 1, 0},
        {"entry reserved", 9, 1, 0},
        {"planes", 10, 2, 1},
        {"bits per pixel", 12, 2, 32},
        {"image bytes", 14, 4, 4264},
        {"image offset", 18, 4, 22},
        {"biSize", 22, 4, 40},
        {"biWidth", 26, 4, 32},
        {"biHeight: colour rows and mask rows", 30, 4, 64},
        {"biPlanes", 34, 2, 1},
        {"biBitCount", 36, 2, 32},
        {"biCompression: BI_RGB", 38, 4, 0},
    };
    for (const Field& field : kFields) {
        SCOPED_TRACE(field.name);
        const std::uint32_t value = field.bytes == 1   ? ico[field.offset]
                                    : field.bytes == 2 ? le16(ico, field.offset)
                                                       : le32(ico, field.offset);
        EXPECT_EQ(value, field.expected);
    }
}

TEST(TrayIconImage, MaskHidesExactlyTheTransparentPixelsOfAnUprightFace) {
    const std::span<const std::uint8_t> ico = trayIconImage();
    const std::vector<IcoEntry> entries = icoDirectory(ico);
    ASSERT_EQ(entries.size(), 1u);
    const IcoEntry& entry = entries[0];
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            SCOPED_TRACE(testing::Message() << "x " << x << ", y " << y);
            EXPECT_EQ(masked(ico, entry, x, y), pixel32(ico, entry, x, y)[3] == 0);
        }
    }
    for (auto [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}})
        EXPECT_EQ(pixel32(ico, entry, x, y)[3], 0);
    EXPECT_EQ(pixel32(ico, entry, 16, 16)[3], 255);
    // The minute hand points up: rows are stored bottom first, so a file written top first
    // would show it below the centre.
    EXPECT_GT(pixel32(ico, entry, 16, 10)[1], 200);
    EXPECT_LT(pixel32(ico, entry, 16, 22)[1], 100);
}

TEST(ProgramIcon, HoldsTenImagesThatTileTheFile) {
    const std::vector<std::uint8_t> ico = test::readResourceFile("talvessa.ico");
    const std::vector<IcoEntry> entries = icoDirectory(ico);
    ASSERT_EQ(entries.size(), 10u);

    std::vector<std::pair<int, int>> sizesAndDepths;
    for (const IcoEntry& entry : entries)
        sizesAndDepths.emplace_back(entry.size, entry.bitsPerPixel);
    std::ranges::sort(sizesAndDepths);
    const std::vector<std::pair<int, int>> expected{{16, 4},  {16, 8},  {16, 32}, {32, 4},
                                                    {32, 8},  {32, 32}, {48, 4},  {48, 8},
                                                    {48, 32}, {128, 32}};
    EXPECT_EQ(sizesAndDepths, expected);

    std::uint32_t nextOffset = 6 + 16 * 10;
    for (const IcoEntry& entry : entries) {
        SCOPED_TRACE(testing::Message() << entry.size << " px, " << entry.bitsPerPixel << " bpp");
        EXPECT_EQ(entry.height, entry.size);
        EXPECT_EQ(entry.planes, 1);
        EXPECT_EQ(entry.colourCount, entry.bitsPerPixel == 4 ? 16 : 0);
        EXPECT_EQ(entry.offset, nextOffset);
        nextOffset = entry.offset + entry.bytes;
        ASSERT_LE(nextOffset, ico.size());
        if (entry.size == 128) {
            expectPngOf128Pixels(std::span(ico).subspan(entry.offset, entry.bytes));
            continue;
        }
        const std::size_t expectedBytes =
            kInfoHeaderBytes + paletteBytes(entry.bitsPerPixel) +
            (rowBytes(entry.size, entry.bitsPerPixel) + rowBytes(entry.size, 1)) * entry.size;
        EXPECT_EQ(entry.bytes, expectedBytes);

        EXPECT_EQ(le32(ico, entry.offset), kInfoHeaderBytes);
        EXPECT_EQ(le32(ico, entry.offset + 4), static_cast<std::uint32_t>(entry.size));
        EXPECT_EQ(le32(ico, entry.offset + 8), static_cast<std::uint32_t>(2 * entry.size));
        EXPECT_EQ(le16(ico, entry.offset + 14), static_cast<std::uint32_t>(entry.bitsPerPixel));
        EXPECT_EQ(le32(ico, entry.offset + 16), 0u);  // BI_RGB

        const int last = entry.size - 1;
        EXPECT_TRUE(masked(ico, entry, 0, 0) && masked(ico, entry, last, last))
            << "corners show through";
        EXPECT_FALSE(masked(ico, entry, entry.size / 2, entry.size / 2)) << "the face is opaque";
    }
    EXPECT_EQ(nextOffset, ico.size());
}

TEST(ProgramIcon, ItsTrueColour32PixelImageIsTheTrayImage) {
    const std::vector<std::uint8_t> ico = test::readResourceFile("talvessa.ico");
    const std::span<const std::uint8_t> tray = trayIconImage();
    const std::vector<IcoEntry> entries = icoDirectory(ico);
    const auto image = std::ranges::find_if(
        entries, [](const IcoEntry& e) { return e.size == 32 && e.bitsPerPixel == 32; });
    ASSERT_NE(image, entries.end());
    ASSERT_EQ(image->bytes, tray.size() - 22);
    EXPECT_TRUE(
        std::ranges::equal(std::span(ico).subspan(image->offset, image->bytes), tray.subspan(22)));
}

}  // namespace
}  // namespace talvessa
