#pragma once
// Reading computed lengths for layout: percentages against a base, "auto" and "none" told apart.

#include "engine/css/computed_style.h"

#include <optional>

namespace engine {

// The length in pixels; nothing for a keyword, or for a percentage of an unknown (negative) base.
inline std::optional<float> LengthOf(const CssValue& v, float base) {
    if (v.type != CssValue::Type::Length) return std::nullopt;
    if (v.unit == Unit::Percent) {
        if (base < 0) return std::nullopt;
        return base * v.number / 100;
    }
    return v.number;
}

inline float LengthOr(const CssValue& v, float base, float fallback) { return LengthOf(v, base).value_or(fallback); }

} // namespace engine
