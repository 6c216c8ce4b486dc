#pragma once
// Text measured with fixed-width glyphs (half the font size wide), so layout results are exact numbers.

#include "engine/layout/measurer.h"

#include <map>
#include <utility>

namespace engine_test {

class FixedMetrics : public engine::Measurer {
public:
    engine::FontMetrics Metrics(const engine::FontSpec& font) override { return {font.size * 0.75f, font.size * 0.25f}; }
    float TextWidth(const engine::FontSpec& font, std::u16string_view text) override { return font.size / 2 * text.size(); }
    bool ImageSize(const std::u16string& url, int& width, int& height) override {
        auto it = images.find(url);
        if (it == images.end()) return false;
        std::tie(width, height) = it->second;
        return true;
    }

    std::map<std::u16string, std::pair<int, int>> images;
};

} // namespace engine_test
