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

// The clock face at `size` pixels square (16 to 255, even): a dark round face with a bright rim
// and two white hands at three o'clock, anti-aliased, transparent outside the face; ticks from 32
// pixels, hour ticks and an orange second hand from 48. Widths and lengths are whole pixels, so
// the upright and level hands keep sharp edges.
Picture drawClockFace(int size);

}  // namespace talvessa::icongen
