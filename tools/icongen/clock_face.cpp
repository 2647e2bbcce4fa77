#include "tools/icongen/clock_face.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace talvessa::icongen {
namespace {

constexpr Rgba kFace{16, 20, 28, 255};
constexpr Rgba kRim{64, 168, 255, 255};
constexpr Rgba kHands{248, 248, 248, 255};
constexpr Rgba kSecondHand{255, 140, 0, 255};

// Sizes in pixels for one icon size. The clock's centre lies on a pixel corner (the sizes are
// even), so even hand widths and whole lengths put the upright and level hands on pixel edges.
struct Geometry {
    double radius = 0;
    double rimWidth = 0;
    double handWidth = 0;
    double minuteLength = 0;
    double hourLength = 0;
    double tickLength = 0;       // 0: no ticks at 12, 3, 6 and 9
    double tickWidth = 0;
    double minorTickLength = 0;  // 0: no ticks at the other hours
    double secondHandWidth = 0;  // 0: no second hand
    double hubRadius = 0;
};

Geometry geometryFor(int size) {
    Geometry g;
    g.radius = size / 2.0;
    if (size <= 32) {
        // Drawn on a 16-pixel grid and scaled up whole: the shell shows the 32-pixel tray image
        // at 16 pixels on an unscaled display, and a halving then keeps every edge on a pixel.
        const double unit = size / 16.0;
        g.rimWidth = 2 * unit;
        g.handWidth = 2 * unit;
        g.minuteLength = 5 * unit;
        g.hourLength = 3 * unit;
        if (size == 32) g.tickLength = g.tickWidth = 2;
        return g;
    }
    g.rimWidth = std::min(0.09 * size, 1.5 + 0.06 * size);
    g.handWidth = 2.0 * std::round(size / 24.0);
    g.minuteLength = std::round(0.62 * g.radius);
    g.hourLength = std::round(0.42 * g.radius);
    g.tickLength = std::round(0.14 * g.radius);
    g.tickWidth = g.handWidth;
    g.minorTickLength = 0.08 * g.radius;
    g.secondHandWidth = std::max(1.0, size / 64.0);
    g.hubRadius = 0.6 * g.handWidth + 1.0;
    return g;
}

struct Point {
    double x;
    double y;
};

// A bar from the centre towards `clockHour` (0 to 12, clockwise from 12), `back` pixels behind
// the centre to `length` pixels ahead of it, `width` pixels wide.
bool inBar(Point p, double clockHour, double back, double length, double width) {
    const double angle = clockHour / 12.0 * 2.0 * std::numbers::pi;
    const double along = p.x * std::sin(angle) - p.y * std::cos(angle);
    const double across = p.x * std::cos(angle) + p.y * std::sin(angle);
    return along >= -back && along <= length && std::abs(across) <= width / 2.0;
}

// The colour at point `p` (relative to the centre, y down), painted back to front; the
// transparent pixel outside the face.
Rgba colourAt(Point p, const Geometry& g) {
    const double distance = std::hypot(p.x, p.y);
    if (distance > g.radius) return Rgba{};
    const double rimInner = g.radius - g.rimWidth;
    if (distance > rimInner) return kRim;

    for (int hour = 0; hour < 12; ++hour) {
        const bool major = hour % 3 == 0;
        const double length = major ? g.tickLength : g.minorTickLength;
        if (length <= 0) continue;
        const double width = major ? g.tickWidth : g.secondHandWidth;
        const double start = rimInner - length;
        if (distance >= start && inBar(p, hour, 0, rimInner, width)) return kRim;
    }
    if (g.secondHandWidth > 0 && inBar(p, 7.5, 0.2 * g.radius, 0.7 * g.radius, g.secondHandWidth))
        return kSecondHand;
    if (g.hubRadius > 0 && distance <= g.hubRadius) return kHands;
    if (inBar(p, 0, 0, g.minuteLength, g.handWidth)) return kHands;
    if (inBar(p, 3, g.handWidth / 2.0, g.hourLength, g.handWidth)) return kHands;
    return kFace;
}

}  // namespace

std::vector<Rgba> clockFaceColours() { return {kFace, kRim, kHands, kSecondHand}; }

Picture drawClockFace(int size) {
    constexpr int kSamples = 16;  // per axis and pixel
    const Geometry geometry = geometryFor(size);
    const double centre = size / 2.0;

    Picture picture{size, std::vector<Rgba>(static_cast<std::size_t>(size * size))};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // Premultiplied sums over the samples, so transparent samples add no colour.
            double red = 0, green = 0, blue = 0, alpha = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Point p{x + (sx + 0.5) / kSamples - centre,
                                  y + (sy + 0.5) / kSamples - centre};
                    const Rgba c = colourAt(p, geometry);
                    const double a = c.alpha / 255.0;
                    red += c.red * a;
                    green += c.green * a;
                    blue += c.blue * a;
                    alpha += a;
                }
            }
            const auto channel = [](double value) {
                return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
            };
            const std::uint8_t coverage = channel(255.0 * alpha / (kSamples * kSamples));
            if (coverage == 0) continue;  // stays the transparent pixel, colour 0
            picture.pixels[static_cast<std::size_t>(y * size + x)] =
                Rgba{channel(red / alpha), channel(green / alpha), channel(blue / alpha), coverage};
        }
    }
    return picture;
}

}  // namespace talvessa::icongen
