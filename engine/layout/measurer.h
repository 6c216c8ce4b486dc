#pragma once
// What layout asks of the platform: font metrics, text widths and image sizes. The window layer measures
// with GDI+; tests use fixed-width glyphs so that positions are exact.

#include <string>
#include <string_view>

namespace engine {

class ComputedStyle;

struct FontSpec {
    std::string families; // the CSS list, "Tahoma, sans-serif"
    float size = 12;
    int weight = 400;
    bool italic = false;

    bool operator<(const FontSpec& o) const;
};

struct FontMetrics {
    float ascent = 0;
    float descent = 0;
};

FontSpec FontOf(const ComputedStyle& style);

class Measurer {
public:
    virtual ~Measurer() = default;
    virtual FontMetrics Metrics(const FontSpec& font) = 0;
    virtual float TextWidth(const FontSpec& font, std::u16string_view text) = 0;
    // False when the image is not (yet) there or cannot be decoded.
    virtual bool ImageSize(const std::u16string& url, int& width, int& height) = 0;
};

} // namespace engine
