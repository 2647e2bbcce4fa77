#pragma once
// The program's picture: a clock face drawn in code at any icon size.

#include <cstdint>
#include <vector>

namespace talvessa::icongen {

// One pixel with straight (not premultiplied) alpha.
struct Rgba {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0;

    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// A square picture, rows top first.
struct Picture {
    int size = 0;
    std::vector<Rgba> pixels;  // size * size

    const Rgba& at(int x, int y) const { return pixels[static_cast<std::size_t>(y * size + x)]; }
};

// The colours the face is drawn in, fully opaque; the palettes of the 4- and 8-bit images are
// built from them and their blends.
std::vector<Rgba> clockFaceColours();

// The clock face at `size` pixels square (16 to 256): a dark round face with a bright rim, four
// ticks and two hands, anti-aliased, transparent outside the face. Widths and lengths are
// snapped to whole pixels so the hands stay sharp at 16 and 32 pixels.
Picture drawClockFace(int size);

}  // namespace talvessa::icongen
