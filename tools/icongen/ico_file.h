#pragma once
// ICO files: images as `BITMAPINFOHEADER` + pixels + AND mask, and the file that groups them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/icongen/clock_face.h"

namespace talvessa::icongen {

using Bytes = std::vector<std::uint8_t>;

// One image of an icon, encoded as it lies in the file (and in an RT_ICON resource).
struct IconImage {
    int size = 0;
    int bitsPerPixel = 0;  // 4, 8 or 32
    Bytes data;
};

// 32 bits per pixel: blue, green, red, alpha, rows bottom first; the mask is set where alpha is 0.
IconImage encodeTrueColour(const Picture& picture);

// 4 or 8 bits per pixel with the given palette (at most 2^bits colours): each pixel that is at
// least half opaque takes its nearest palette colour; the others are masked (index 0).
IconImage encodePaletted(const Picture& picture, int bitsPerPixel,
                         const std::vector<Rgba>& palette);

// A palette of `count` colours: black first (under masked pixels), then the given colours, then
// blends between every pair of them, the steps as even as the count allows.
std::vector<Rgba> blendPalette(const std::vector<Rgba>& colours, int count);

// The complete ICO file: header, one directory entry per image, then the images in order.
Bytes iconFile(const std::vector<IconImage>& images);

// A C++ source file that defines `function` in namespace talvessa, returning `bytes` as a span.
// `header` is the include path of its declaration, `note` the opening comment.
std::string byteArraySource(const Bytes& bytes, std::string_view function, std::string_view header,
                            std::string_view note);

}  // namespace talvessa::icongen
