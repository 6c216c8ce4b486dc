#pragma once
// Reading computed lengths for layout: percentages against a base, "auto" and "none" told apart.

#include "engine/css/computed_style.h"
#include "engine/layout/box.h"

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

struct BoxEdges {
    Edges margin, border, padding;
};

// Margins, border widths and paddings; percentages against the containing block's width, auto as 0.
inline BoxEdges EdgesOf(const ComputedStyle& s, float base) {
    auto side = [&](PropertyId top, PropertyId right, PropertyId bottom, PropertyId left) {
        return Edges{LengthOr(s.Get(top), base, 0), LengthOr(s.Get(right), base, 0), LengthOr(s.Get(bottom), base, 0),
                     LengthOr(s.Get(left), base, 0)};
    };
    using P = PropertyId;
    return {side(P::MarginTop, P::MarginRight, P::MarginBottom, P::MarginLeft),
            side(P::BorderTopWidth, P::BorderRightWidth, P::BorderBottomWidth, P::BorderLeftWidth),
            side(P::PaddingTop, P::PaddingRight, P::PaddingBottom, P::PaddingLeft)};
}

} // namespace engine
