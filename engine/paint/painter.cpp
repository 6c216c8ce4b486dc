// Painting order within a box: background, border, foreground image; in a stacking context, the layers of
// negative z-index; the line pieces of inline elements (background, then borders) in tree order, the text,
// and the in-flow children; in a stacking context, the layers of z-index auto or 0 in tree order and then
// the positive ones (engine/layout/stacking.h); the scrollbar. A translucent box paints all of that into a
// layer laid over what lies below at its opacity. Hit testing follows the same order backwards.

#include "engine/css/computed_style.h"
#include "engine/dom/element.h"
#include "engine/dom/utf.h"
#include "engine/layout/layout_lengths.h"
#include "engine/layout/stacking.h"
#include "engine/paint/canvas.h"

#include <algorithm>

namespace engine {
namespace {

constexpr std::uint32_t kTrackColor = 0x40808080;
constexpr std::uint32_t kThumbColor = 0xA0606060;
constexpr float kMinThumb = 16; // CSS pixels, as kScrollbarWidth

RectF Moved(RectF r, float dy) {
    r.y -= dy;
    return r;
}

Radii RadiiOf(const ComputedStyle& s, const RectF& border) {
    float limit = std::min(border.w, border.h) / 2;
    auto r = [&](PropertyId id) { return std::min(limit, LengthOr(s.Get(id), border.w, 0)); };
    return {r(PropertyId::BorderTopLeftRadius), r(PropertyId::BorderTopRightRadius),
            r(PropertyId::BorderBottomRightRadius), r(PropertyId::BorderBottomLeftRadius)};
}

bool Visible(std::uint32_t argb) { return (argb >> 24) != 0; }

void PaintImage(Canvas& canvas, const ComputedStyle& s, PropertyId image, PropertyId repeat, PropertyId px,
                PropertyId py, const RectF& area) {
    const CssValue& url = s.Get(image);
    if (url.type != CssValue::Type::Url) return;
    std::u16string name = Utf8ToUtf16(url.text);
    int w = 0, h = 0;
    if (!canvas.ImageSize(name, w, h) || w <= 0 || h <= 0) return;
    const CssValue& r = s.Get(repeat);
    ImageTiling t;
    t.area = area;
    t.w = float(w);
    t.h = float(h);
    t.x = area.x + LengthOr(s.Get(px), area.w - t.w, 0);
    t.y = area.y + LengthOr(s.Get(py), area.h - t.h, 0);
    t.repeatX = r.IsKeyword("repeat") || r.IsKeyword("repeat-x");
    t.repeatY = r.IsKeyword("repeat") || r.IsKeyword("repeat-y");
    canvas.DrawImage(name, t);
}

void PaintBorder(Canvas& canvas, const ComputedStyle& s, const Edges& w, const RectF& border, const Radii& radii) {
    std::uint32_t top = s.Get(PropertyId::BorderTopColor).color;
    bool uniform = w.top == w.right && w.top == w.bottom && w.top == w.left &&
                   top == s.Get(PropertyId::BorderRightColor).color && top == s.Get(PropertyId::BorderBottomColor).color &&
                   top == s.Get(PropertyId::BorderLeftColor).color;
    if (uniform) {
        if (w.top > 0 && Visible(top)) canvas.StrokeRect(border, w.top, top, radii);
        return;
    }
    const Radii square{};
    auto side = [&](const RectF& r, PropertyId color) {
        if (r.w > 0 && r.h > 0) canvas.FillRect(r, s.Get(color).color, square);
    };
    side({border.x, border.y, border.w, w.top}, PropertyId::BorderTopColor);
    side({border.x, border.Bottom() - w.bottom, border.w, w.bottom}, PropertyId::BorderBottomColor);
    side({border.x, border.y + w.top, w.left, border.h - w.Vertical()}, PropertyId::BorderLeftColor);
    side({border.Right() - w.right, border.y + w.top, w.right, border.h - w.Vertical()}, PropertyId::BorderRightColor);
}

// NOTE: unlike a browser's, the outline lies inside the border box: a repaint of the box then covers it, and
// a parent that clips its overflow (a card, the window's edge) never cuts it off.
void PaintOutline(Canvas& canvas, const ComputedStyle& s, const RectF& border, const Radii& radii) {
    if (!s.Get(PropertyId::OutlineStyle).IsKeyword("solid")) return;
    float width = LengthOr(s.Get(PropertyId::OutlineWidth), 0, 0);
    std::uint32_t color = s.Get(PropertyId::OutlineColor).color;
    if (width > 0 && Visible(color)) canvas.StrokeRect(border, width, color, radii);
}

bool Meets(const RectF& a, const RectF& b) {
    return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

bool Hidden(const ComputedStyle* s) { return !s || s->Get(PropertyId::Visibility).IsKeyword("hidden"); }

struct Painting {
    Canvas& canvas;
    const Box* canvasSource; // its background is already under the whole viewport
    RectF clip;
};

void PaintBox(const Box& b, const Painting& p, float dy);

void PaintLayer(const Layer& layer, const Painting& p, float dy) {
    for (const RectF& clip : layer.clips) p.canvas.PushClip(Moved(clip, dy));
    PaintBox(*layer.box, p, dy + layer.dy);
    for (std::size_t i = 0; i < layer.clips.size(); ++i) p.canvas.PopClip();
}

// Corners are rounded only where the element starts and ends.
void PaintPiece(const InlinePiece& piece, const Painting& p, float dy) {
    RectF border = Moved(piece.border, dy);
    if (Hidden(piece.style) || !Meets(border, p.clip)) return;
    const ComputedStyle& s = *piece.style;
    Radii radii = RadiiOf(s, border);
    if (!piece.starts) radii[0] = radii[3] = 0;
    if (!piece.ends) radii[1] = radii[2] = 0;
    std::uint32_t bg = s.Get(PropertyId::BackgroundColor).color;
    if (Visible(bg)) p.canvas.FillRect(border, bg, radii);
    PaintImage(p.canvas, s, PropertyId::BackgroundImage, PropertyId::BackgroundRepeat, PropertyId::BackgroundPositionX,
               PropertyId::BackgroundPositionY, Inset(border, piece.borderWidth));
    PaintBorder(p.canvas, s, piece.borderWidth, border, radii);
    PaintOutline(p.canvas, s, border, radii);
}

void PaintOwn(const Box& b, const Painting& p, float dy) {
    const ComputedStyle& s = *b.style;
    RectF border = Moved(b.border, dy);
    Radii radii = RadiiOf(s, border);
    std::uint32_t bg = s.Get(PropertyId::BackgroundColor).color;
    if (&b != p.canvasSource) {
        if (Visible(bg)) p.canvas.FillRect(border, bg, radii);
        PaintImage(p.canvas, s, PropertyId::BackgroundImage, PropertyId::BackgroundRepeat,
                   PropertyId::BackgroundPositionX, PropertyId::BackgroundPositionY, Moved(b.PaddingBox(), dy));
    }
    PaintBorder(p.canvas, s, b.borderWidth, border, radii);
    PaintImage(p.canvas, s, PropertyId::ForegroundImage, PropertyId::ForegroundRepeat, PropertyId::ForegroundPositionX,
               PropertyId::ForegroundPositionY, Moved(b.ContentBox(), dy));
    if (b.replaced) {
        RectF content = Moved(b.ContentBox(), dy);
        p.canvas.DrawImage(b.imageUrl, {content, content.x, content.y, content.w, content.h, false, false});
    }
    PaintOutline(p.canvas, s, border, radii);
}

void PaintContent(const Box& b, const Painting& p, float dy);

// Children may overflow a box that does not clip, so only the box's own drawing is skipped outside the clip.
void PaintBox(const Box& b, const Painting& p, float dy) {
    float opacity = OpacityOf(b);
    if (opacity <= 0) return;
    if (opacity < 1) p.canvas.BeginLayer(opacity);
    PaintContent(b, p, dy);
    if (opacity < 1) p.canvas.EndLayer();
}

void PaintContent(const Box& b, const Painting& p, float dy) {
    RectF border = Moved(b.border, dy);
    bool shown = !Hidden(b.style) && Meets(border, p.clip);
    if (shown && b.kind != BoxKind::Anonymous) PaintOwn(b, p, dy);
    if (b.clips) p.canvas.PushClip(Moved(b.PaddingBox(), dy));
    std::vector<Layer> layers;
    if (FormsStackingContext(b)) layers = LayersOf(b);
    auto above = std::find_if(layers.begin(), layers.end(), [](const Layer& l) { return l.z >= 0; });
    for (auto it = layers.begin(); it != above; ++it) PaintLayer(*it, p, dy);
    float inner = dy + b.scrollY;
    for (const InlinePiece& piece : b.pieces) PaintPiece(piece, p, inner);
    for (const TextFragment& f : b.fragments) {
        if (!Meets(Moved(f.rect, inner), p.clip) || Hidden(f.style)) continue;
        p.canvas.PaintText(f.text, f.font, f.rect.x, f.rect.y - inner, f.style->Get(PropertyId::Color).color,
                           f.style->Get(PropertyId::TextDecoration).IsKeyword("underline"));
    }
    for (const auto& child : b.children)
        if (!child->positioned) PaintBox(*child, p, inner);
    for (auto it = above; it != layers.end(); ++it) PaintLayer(*it, p, dy);
    if (b.clips) p.canvas.PopClip();
    if (b.scrollable && shown) {
        const Radii square{};
        p.canvas.FillRect(Moved(ScrollbarTrack(b), dy), kTrackColor, square);
        p.canvas.FillRect(Moved(ScrollbarThumb(b), dy), kThumbColor, square);
    }
}

} // namespace

RectF ScrollbarTrack(const Box& b) {
    RectF padding = b.PaddingBox();
    return {padding.Right() - b.scrollbarWidth, padding.y, b.scrollbarWidth, padding.h};
}

RectF ScrollbarThumb(const Box& b) {
    RectF track = ScrollbarTrack(b);
    if (b.contentHeight <= 0 || b.MaxScroll() <= 0) return track;
    float minThumb = kMinThumb * track.w / kScrollbarWidth; // the bar's own scale
    float length = std::max(std::min(minThumb, track.h), track.h * track.h / b.contentHeight);
    float top = track.y + (track.h - length) * b.scrollY / b.MaxScroll();
    return {track.x, top, track.w, length};
}

bool HasBackground(const Box& b) {
    return b.style && (Visible(b.style->Get(PropertyId::BackgroundColor).color) ||
                       b.style->Get(PropertyId::BackgroundImage).type == CssValue::Type::Url);
}

// The root's background, or else the body's, covers the whole window, as in browsers: a page whose body is
// shorter than its window shows no bare strip below it.
const Box* CanvasBackground(const Box& root) {
    if (HasBackground(root)) return &root;
    for (const auto& child : root.children)
        if (child->element && child->element->Tag() == "body") return HasBackground(*child) ? child.get() : nullptr;
    return nullptr;
}

void PaintBoxes(const Box& root, Canvas& canvas, const RectF& viewport, const RectF& clip) {
    const Box* source = CanvasBackground(root);
    if (source) {
        const ComputedStyle& s = *source->style;
        std::uint32_t bg = s.Get(PropertyId::BackgroundColor).color;
        if (Visible(bg)) canvas.FillRect(viewport, bg, Radii{});
        PaintImage(canvas, s, PropertyId::BackgroundImage, PropertyId::BackgroundRepeat,
                   PropertyId::BackgroundPositionX, PropertyId::BackgroundPositionY, viewport);
    }
    PaintBox(root, {canvas, source, clip}, 0);
}

} // namespace engine
