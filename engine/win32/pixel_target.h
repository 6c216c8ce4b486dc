#pragma once
// The premultiplied pixels a page is painted into, and the rectangle that may be written: the fast paths
// (opaque fills, text, unscaled images) write them directly instead of going through GDI+.

#include <algorithm>
#include <cstdint>

namespace engine::win32 {

struct PixelClip {
    int left = 0, top = 0, right = 0, bottom = 0;

    bool Empty() const { return right <= left || bottom <= top; }
    PixelClip Intersect(const PixelClip& o) const {
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    }
};

struct PixelTarget {
    std::uint32_t* pixels = nullptr; // top-down rows of `width`
    int width = 0, height = 0;
    PixelClip clip;

    std::uint32_t* Row(int y) const { return pixels + static_cast<std::size_t>(y) * width; }
};

// Source-over of a premultiplied colour, scaled by a coverage of 0..255.
inline std::uint32_t BlendOver(std::uint32_t dst, std::uint32_t src, unsigned coverage) {
    auto scale = [](std::uint32_t v, unsigned by) { return (v * by + 127) / 255; };
    if (coverage != 255)
        src = scale(src >> 24, coverage) << 24 | scale((src >> 16) & 0xFF, coverage) << 16 |
              scale((src >> 8) & 0xFF, coverage) << 8 | scale(src & 0xFF, coverage);
    unsigned keep = 255 - (src >> 24);
    if (keep == 0) return src;
    return (scale(dst >> 24, keep) + (src >> 24)) << 24 | (scale((dst >> 16) & 0xFF, keep) + ((src >> 16) & 0xFF)) << 16 |
           (scale((dst >> 8) & 0xFF, keep) + ((src >> 8) & 0xFF)) << 8 | (scale(dst & 0xFF, keep) + (src & 0xFF));
}

// A straight (non-premultiplied) ARGB colour made premultiplied.
inline std::uint32_t Premultiplied(std::uint32_t argb) {
    unsigned a = argb >> 24;
    if (a == 255) return argb;
    auto scale = [a](std::uint32_t v) { return (v * a + 127) / 255; };
    return a << 24 | scale((argb >> 16) & 0xFF) << 16 | scale((argb >> 8) & 0xFF) << 8 | scale(argb & 0xFF);
}

} // namespace engine::win32
