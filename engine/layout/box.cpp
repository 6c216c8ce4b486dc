#include "engine/layout/box.h"

#include "engine/css/computed_style.h"

#include <algorithm>
#include <tuple>

namespace engine {

bool FontSpec::operator<(const FontSpec& o) const {
    return std::tie(families, size, weight, italic) < std::tie(o.families, o.size, o.weight, o.italic);
}

FontSpec FontOf(const ComputedStyle& style) {
    FontSpec font;
    font.families = style.Get(PropertyId::FontFamily).text;
    font.size = std::max(1.0f, style.FontSize());
    font.weight = static_cast<int>(style.Get(PropertyId::FontWeight).number);
    font.italic = !style.Get(PropertyId::FontStyle).IsKeyword("normal");
    return font;
}

RectF Inset(const RectF& r, const Edges& e) {
    return {r.x + e.left, r.y + e.top, std::max(0.0f, r.w - e.Horizontal()), std::max(0.0f, r.h - e.Vertical())};
}

RectF Box::PaddingBox() const { return Inset(border, borderWidth); }

RectF Box::ContentBox() const { return Inset(PaddingBox(), padding); }

RectF Box::ClientBox() const {
    RectF p = PaddingBox();
    if (scrollable) p.w = std::max(0.0f, p.w - scrollbarWidth);
    return p;
}

float Box::MaxScroll() const { return scrollable ? std::max(0.0f, contentHeight - PaddingBox().h) : 0.0f; }

void ShiftBox(Box& box, float dx, float dy) {
    box.border.x += dx;
    box.border.y += dy;
    for (TextFragment& f : box.fragments) {
        f.rect.x += dx;
        f.rect.y += dy;
    }
    for (InlinePiece& p : box.pieces) {
        p.border.x += dx;
        p.border.y += dy;
    }
    for (auto& child : box.children) ShiftBox(*child, dx, dy);
}

float MarginBoxWidth(const Box& box) { return box.border.w + box.margin.Horizontal(); }
float MarginBoxHeight(const Box& box) { return box.border.h + box.margin.Vertical(); }

} // namespace engine
