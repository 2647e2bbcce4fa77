#include "tools/icongen/ico_file.h"

#include <cstdio>
#include <limits>

namespace talvessa::icongen {
namespace {

constexpr std::uint32_t kInfoHeaderBytes = 40;  // sizeof(BITMAPINFOHEADER)

void put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(Bytes& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// Rows of DIBs and masks are padded to whole 32-bit words.
std::uint32_t rowBytes(int width, int bitsPerPixel) {
    return static_cast<std::uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
}

// The header of an icon image: its height counts the colour rows and the mask rows.
Bytes infoHeader(int size, int bitsPerPixel) {
    const std::uint32_t imageBytes =
        (rowBytes(size, bitsPerPixel) + rowBytes(size, 1)) * static_cast<std::uint32_t>(size);
    Bytes out;
    put32(out, kInfoHeaderBytes);
    put32(out, static_cast<std::uint32_t>(size));      // biWidth
    put32(out, static_cast<std::uint32_t>(2 * size));  // biHeight
    put16(out, 1);                                     // biPlanes
    put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    put32(out, 0);  // biCompression: BI_RGB
    put32(out, imageBytes);
    put32(out, 0);  // biXPelsPerMeter
    put32(out, 0);  // biYPelsPerMeter
    put32(out, 0);  // biClrUsed: the whole palette
    put32(out, 0);  // biClrImportant
    return out;
}

// The AND mask, rows bottom first: a set bit lets the background show through.
void appendMask(Bytes& out, const Picture& picture, std::uint8_t minimumOpaqueAlpha) {
    const std::uint32_t stride = rowBytes(picture.size, 1);
    for (int y = picture.size - 1; y >= 0; --y) {
        Bytes row(stride, 0);
        for (int x = 0; x < picture.size; ++x) {
            if (picture.at(x, y).alpha < minimumOpaqueAlpha)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

int squaredDistance(const Rgba& a, const Rgba& b) {
    const int red = a.red - b.red, green = a.green - b.green, blue = a.blue - b.blue;
    return red * red + green * green + blue * blue;
}

std::uint8_t nearestIndex(const Rgba& colour, const std::vector<Rgba>& palette) {
    std::size_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 1; i < palette.size(); ++i) {  // 0 is kept for masked pixels
        const int distance = squaredDistance(colour, palette[i]);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return static_cast<std::uint8_t>(best);
}

}  // namespace

IconImage encodeTrueColour(const Picture& picture) {
    Bytes data = infoHeader(picture.size, 32);
    for (int y = picture.size - 1; y >= 0; --y) {
        for (int x = 0; x < picture.size; ++x) {
            const Rgba& p = picture.at(x, y);
            data.insert(data.end(), {p.blue, p.green, p.red, p.alpha});
        }
    }
    appendMask(data, picture, 1);
    return IconImage{picture.size, 32, std::move(data)};
}

IconImage encodePaletted(const Picture& picture, int bitsPerPixel,
                         const std::vector<Rgba>& palette) {
    constexpr std::uint8_t kHalfOpaque = 128;
    Bytes data = infoHeader(picture.size, bitsPerPixel);
    const std::size_t entries = std::size_t{1} << bitsPerPixel;
    for (std::size_t i = 0; i < entries; ++i) {
        const Rgba colour = i < palette.size() ? palette[i] : Rgba{};
        data.insert(data.end(), {colour.blue, colour.green, colour.red, std::uint8_t{0}});
    }
    const std::uint32_t stride = rowBytes(picture.size, bitsPerPixel);
    const int perByte = 8 / bitsPerPixel;
    for (int y = picture.size - 1; y >= 0; --y) {
        Bytes row(stride, 0);
        for (int x = 0; x < picture.size; ++x) {
            const Rgba& p = picture.at(x, y);
            const std::uint8_t index = p.alpha >= kHalfOpaque ? nearestIndex(p, palette) : 0;
            const int shift = (perByte - 1 - x % perByte) * bitsPerPixel;  // leftmost pixel high
            row[static_cast<std::size_t>(x / perByte)] |= static_cast<std::uint8_t>(index << shift);
        }
        data.insert(data.end(), row.begin(), row.end());
    }
    appendMask(data, picture, kHalfOpaque);
    return IconImage{picture.size, bitsPerPixel, std::move(data)};
}

std::vector<Rgba> blendPalette(const std::vector<Rgba>& colours, int count) {
    std::vector<Rgba> palette{Rgba{0, 0, 0, 255}};
    palette.insert(palette.end(), colours.begin(), colours.end());
    const std::size_t n = colours.size();
    const std::size_t pairs = n * (n - 1) / 2;
    const std::size_t spare = static_cast<std::size_t>(count) - palette.size();
    std::size_t pair = 0;
    for (std::size_t a = 0; a < n; ++a) {
        for (std::size_t b = a + 1; b < n; ++b, ++pair) {
            const std::size_t steps = spare / pairs + (pair < spare % pairs ? 1 : 0);
            for (std::size_t step = 1; step <= steps; ++step) {
                const double t = static_cast<double>(step) / static_cast<double>(steps + 1);
                const auto mix = [t](std::uint8_t from, std::uint8_t to) {
                    return static_cast<std::uint8_t>(from + (to - from) * t + 0.5);
                };
                const Rgba& from = colours[a];
                const Rgba& to = colours[b];
                palette.push_back(Rgba{mix(from.red, to.red), mix(from.green, to.green),
                                       mix(from.blue, to.blue), 255});
            }
        }
    }
    return palette;
}

Bytes iconFile(const std::vector<IconImage>& images) {
    constexpr std::uint32_t kHeaderBytes = 6;
    constexpr std::uint32_t kEntryBytes = 16;
    Bytes out;
    put16(out, 0);  // reserved
    put16(out, 1);  // type: icon
    put16(out, static_cast<std::uint32_t>(images.size()));
    auto offset = static_cast<std::uint32_t>(kHeaderBytes + kEntryBytes * images.size());
    for (const IconImage& image : images) {
        const auto side = static_cast<std::uint8_t>(image.size == 256 ? 0 : image.size);
        const auto colours =
            static_cast<std::uint8_t>(image.bitsPerPixel < 8 ? 1 << image.bitsPerPixel : 0);
        out.insert(out.end(), {side, side, colours, std::uint8_t{0}});
        put16(out, 1);  // planes
        put16(out, static_cast<std::uint32_t>(image.bitsPerPixel));
        put32(out, static_cast<std::uint32_t>(image.data.size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(image.data.size());
    }
    for (const IconImage& image : images)
        out.insert(out.end(), image.data.begin(), image.data.end());
    return out;
}

std::string byteArraySource(const Bytes& bytes, std::string_view function, std::string_view header,
                            std::string_view note) {
    constexpr std::size_t kPerLine = 12;
    std::string out;
    out += "// ";
    out += note;
    out += "\n#include \"";
    out += header;
    out += "\"\n\nnamespace talvessa {\nnamespace {\n\nconstexpr std::uint8_t kBytes[";
    out += std::to_string(bytes.size());
    out += "] = {";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += i % kPerLine == 0 ? "\n   " : "";
        char hex[8];
        std::snprintf(hex, sizeof hex, " 0x%02X,", bytes[i]);
        out += hex;
    }
    out += "\n};\n\n}  // namespace\n\nstd::span<const std::uint8_t> ";
    out += function;
    out += "() { return kBytes; }\n\n}  // namespace talvessa\n";
    return out;
}

}  // namespace talvessa::icongen
