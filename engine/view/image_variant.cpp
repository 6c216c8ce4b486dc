#include "engine/view/image_variant.h"

#include <cmath>
#include <iterator>
#include <string>

namespace engine {

namespace {

constexpr float kFactors[] = {1, 1.25f, 1.5f, 2, 3};

} // namespace

float ImageVariantFactor(float scale) {
    for (float factor : kFactors)
        if (factor >= scale - 0.001f) return factor; // 1.25 computed from 120 / 96 is exact; be lenient anyway
    return kFactors[std::size(kFactors) - 1];
}

std::u16string ImageVariantUrl(std::u16string_view url, float factor) {
    if (factor <= 1) return std::u16string(url);
    std::size_t dot = url.find_last_of(u'.');
    std::size_t slash = url.find_last_of(u"/\\");
    if (dot == std::u16string_view::npos || (slash != std::u16string_view::npos && dot < slash)) dot = url.size();
    std::u16string suffix = u"_x";
    for (char c : std::to_string(std::lround(factor * 100))) suffix += char16_t(c);
    return std::u16string(url.substr(0, dot)) + suffix + std::u16string(url.substr(dot));
}

} // namespace engine
