#pragma once
// A font as GDI rasterizes it: antialiased glyph coverage taken once per character and kept for the life of
// the process, so that measuring and drawing text is table lookups and blending. Drawing a string through
// GDI+ cost a fifth to a half of a millisecond per call under Wine; a page has hundreds of them.

#include "engine/layout/measurer.h"
#include "engine/win32/pixel_target.h"

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace engine::win32 {

class RasterFont {
public:
    RasterFont(const FontSpec& spec, HDC dc);
    ~RasterFont();
    RasterFont(const RasterFont&) = delete;
    RasterFont& operator=(const RasterFont&) = delete;

    const FontMetrics& Metrics() const { return metrics_; }
    float Width(std::u16string_view text);
    // The text's top left at (x, y), in a straight ARGB colour; returns the width drawn.
    float Draw(const PixelTarget& target, std::u16string_view text, float x, float y, std::uint32_t argb);

private:
    struct Glyph {
        int advance = 0;
        int left = 0, top = 0; // of the coverage, from the pen on the baseline (top: upwards)
        int width = 0, height = 0;
        std::vector<std::uint8_t> coverage; // 0..255, rows of `width`
    };
    const Glyph& GlyphOf(char32_t c);

    HDC dc_;
    HFONT font_ = nullptr;
    FontMetrics metrics_;
    std::unordered_map<char32_t, Glyph> glyphs_; // node-based: references stay valid as it grows
    std::size_t glyphBytes_ = 0;
};

// The font for a CSS font, made on first use and shared by every page of the process. Callers hold the
// engine's lock, which is also what makes the shared table and its DC safe; the reference is good until the
// next call.
RasterFont& RasterFontFor(const FontSpec& spec);

} // namespace engine::win32
