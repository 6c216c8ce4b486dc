#include "engine/layout/line_metrics.h"

#include "engine/css/computed_style.h"
#include "engine/layout/layout_lengths.h"

namespace engine {
namespace {

// Fractions of the parent's font size by which sub and super move a box.
constexpr float kSubShift = 0.2f;
constexpr float kSuperShift = 1.0f / 3;

} // namespace

float LineHeightOf(const ComputedStyle& s, const FontMetrics& m) {
    const CssValue& v = s.Get(PropertyId::LineHeight);
    if (v.type == CssValue::Type::Number) return v.number * s.FontSize();
    if (v.type == CssValue::Type::Length) return v.number;
    return m.ascent + m.descent;
}

Extent TextExtent(const ComputedStyle& s, const FontMetrics& m) {
    float lh = LineHeightOf(s, m);
    float above = m.ascent + (lh - (m.ascent + m.descent)) / 2;
    return {above, lh - above};
}

AtomicPlacement PlaceAtomic(const Box& atomic, const ComputedStyle& parent, const FontMetrics& m, Measurer& measurer) {
    using Anchor = AtomicPlacement::Anchor;
    float height = MarginBoxHeight(atomic);
    const CssValue& align = atomic.style->Get(PropertyId::VerticalAlign);
    if (align.IsKeyword("top")) return {Anchor::LineTop, {height, 0}};
    if (align.IsKeyword("bottom")) return {Anchor::LineBottom, {height, 0}};
    float size = parent.FontSize();
    // Its bottom margin edge stands on the baseline raised by this much.
    float raise = 0;
    if (align.IsKeyword("text-top")) return {Anchor::Baseline, {m.ascent, height - m.ascent}};
    if (align.IsKeyword("text-bottom")) return {Anchor::Baseline, {height - m.descent, m.descent}};
    // The middle of the box at half the parent's x-height (half its font size) above the baseline.
    if (align.IsKeyword("middle")) raise = size / 4 - height / 2;
    else if (align.IsKeyword("sub")) raise = -size * kSubShift;
    else if (align.IsKeyword("super")) raise = size * kSuperShift;
    else if (align.IsPercent()) raise = align.number / 100 * LineHeightOf(*atomic.style, measurer.Metrics(FontOf(*atomic.style)));
    else raise = LengthOr(align, -1, 0);
    return {Anchor::Baseline, {height + raise, -raise}};
}

} // namespace engine
