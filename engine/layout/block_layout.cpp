#include "engine/layout/block_layout.h"

#include "engine/layout/layout_lengths.h"

#include <algorithm>
#include <cmath>

namespace engine {
namespace {

const CssValue& Prop(const Box& b, PropertyId id) { return b.style->Get(id); }

bool BorderBoxSizing(const Box& b) { return Prop(b, PropertyId::BoxSizing).IsKeyword("border-box"); }

float Clamp(float value, const Box& b, PropertyId minId, PropertyId maxId, float base, float edges) {
    bool borderBox = BorderBoxSizing(b);
    if (auto max = LengthOf(Prop(b, maxId), base)) value = std::min(value, borderBox ? *max - edges : *max);
    if (auto min = LengthOf(Prop(b, minId), base)) value = std::max(value, borderBox ? *min - edges : *min);
    return std::max(0.0f, value);
}

bool Scrolls(const Box& b) {
    const CssValue& o = Prop(b, PropertyId::OverflowY);
    return o.IsKeyword("auto") || o.IsKeyword("scroll");
}

} // namespace

// Whole device pixels, so that the bar's edges stay sharp.
float BlockLayout::ScrollbarWidth() const { return std::max(1.0f, std::round(kScrollbarWidth * scale_)); }

void BlockLayout::ResolveEdges(Box& b, float cbWidth) {
    if (b.kind == BoxKind::Anonymous) {
        // It shares its parent's style for text, not the parent's margins, borders and padding.
        b.margin = b.borderWidth = b.padding = {};
        return;
    }
    BoxEdges edges = EdgesOf(*b.style, std::max(0.0f, cbWidth));
    b.margin = edges.margin;
    b.borderWidth = edges.border;
    b.padding = edges.padding;
}

IntrinsicWidths BlockLayout::Intrinsic(const Box& b) {
    float edges = b.borderWidth.Horizontal() + b.padding.Horizontal();
    float outer = edges + b.margin.Horizontal();
    if (b.kind != BoxKind::Anonymous) {
        if (auto w = LengthOf(Prop(b, PropertyId::Width), -1)) {
            float content = BorderBoxSizing(b) ? std::max(0.0f, *w - edges) : *w;
            return {content + outer, content + outer};
        }
    }
    IntrinsicWidths result;
    if (b.replaced) {
        int w = 0, h = 0;
        if (measurer_.ImageSize(b.imageUrl, w, h)) result = {float(w), float(w)};
    } else if (!b.inlineItems.empty()) {
        result = InlineIntrinsicWidths(b, measurer_, [this](const Box& atomic) {
            const_cast<BlockLayout*>(this)->ResolveEdges(const_cast<Box&>(atomic), 0);
            return Intrinsic(atomic);
        });
    } else {
        for (const auto& child : b.children) {
            if (child->outOfFlow) continue;
            ResolveEdges(*child, 0);
            IntrinsicWidths w = Intrinsic(*child);
            result.min = std::max(result.min, w.min);
            result.max = std::max(result.max, w.max);
        }
    }
    if (b.scrollable || (b.kind != BoxKind::Anonymous && Scrolls(b))) {
        result.min += ScrollbarWidth();
        result.max += ScrollbarWidth();
    }
    return {result.min + outer, result.max + outer};
}

float BlockLayout::ContentWidth(const Box& b, Containing cb, bool shrink) {
    float edges = b.borderWidth.Horizontal() + b.padding.Horizontal();
    float available = std::max(0.0f, cb.width - b.margin.Horizontal() - edges);
    float width = available;
    std::optional<float> specified;
    if (b.kind != BoxKind::Anonymous) specified = LengthOf(Prop(b, PropertyId::Width), cb.width);
    if (specified) {
        width = BorderBoxSizing(b) ? *specified - edges : *specified;
    } else if (shrink) {
        IntrinsicWidths w = Intrinsic(b);
        float outer = edges + b.margin.Horizontal();
        width = std::min(std::max(w.min - outer, available), w.max - outer);
    }
    if (b.kind == BoxKind::Anonymous) return std::max(0.0f, width);
    return Clamp(width, b, PropertyId::MinWidth, PropertyId::MaxWidth, cb.width, edges);
}

void BlockLayout::LayoutRoot(Box& root, float width, float height) {
    std::vector<Box*> absolutes;
    ResolveEdges(root, width);
    Layout(root, 0, 0, {width, height}, false, absolutes);
    for (Box* abs : absolutes) LayoutAbsolute(*abs, root);
    ApplyRelative(root, {width, height});
}

void BlockLayout::Layout(Box& b, float x, float y, Containing cb, bool shrink, std::vector<Box*>& absolutes) {
    float edgesW = b.borderWidth.Horizontal() + b.padding.Horizontal();
    float edgesH = b.borderWidth.Vertical() + b.padding.Vertical();
    float width = ContentWidth(b, cb, shrink);
    if (!shrink && b.kind == BoxKind::Block && LengthOf(Prop(b, PropertyId::Width), cb.width)) {
        // Auto side margins share what is left, which centres the box.
        bool autoLeft = Prop(b, PropertyId::MarginLeft).IsKeyword("auto");
        bool autoRight = Prop(b, PropertyId::MarginRight).IsKeyword("auto");
        float rest = std::max(0.0f, cb.width - width - edgesW - b.margin.Horizontal());
        if (autoLeft && autoRight) b.margin.left = b.margin.right = rest / 2;
        else if (autoLeft) b.margin.left = rest;
    }
    std::optional<float> height;
    if (b.kind != BoxKind::Anonymous) {
        if ((height = LengthOf(Prop(b, PropertyId::Height), cb.height)) && BorderBoxSizing(b))
            height = std::max(0.0f, *height - edgesH);
    }
    b.border = {x + b.margin.left, y + b.margin.top, width + edgesW, 0};
    b.scrollable = false;
    b.scrollbarWidth = 0;

    std::vector<Box*> ownAbsolutes;
    std::vector<Box*>& absList = b.positioned ? ownAbsolutes : absolutes;
    float contentHeight = LayoutContent(b, width, height.value_or(-1), absList);
    float finalHeight = height.value_or(contentHeight);
    if (b.kind != BoxKind::Anonymous)
        finalHeight = Clamp(finalHeight, b, PropertyId::MinHeight, PropertyId::MaxHeight, cb.height, edgesH);
    const float bar = ScrollbarWidth();
    if (b.kind != BoxKind::Anonymous && Scrolls(b) && contentHeight > finalHeight && width > bar) {
        b.scrollable = true;
        b.scrollbarWidth = bar;
        absList.clear();
        contentHeight = LayoutContent(b, width - bar, finalHeight, absList);
        b.scrollable = true;
    }
    b.border.h = finalHeight + edgesH;
    b.contentHeight = contentHeight + b.padding.Vertical();
    b.scrollY = std::min(b.scrollY, b.MaxScroll());

    for (Box* abs : ownAbsolutes) LayoutAbsolute(*abs, b);
}

// After the flow has used the box's own place: the shift is visual only.
void BlockLayout::ApplyRelative(Box& b, Containing cb) {
    if (b.outOfFlow || !Prop(b, PropertyId::Position).IsKeyword("relative")) return;
    float dx = LengthOf(Prop(b, PropertyId::Left), cb.width).value_or(-LengthOr(Prop(b, PropertyId::Right), cb.width, 0));
    float dy = LengthOf(Prop(b, PropertyId::Top), cb.height).value_or(-LengthOr(Prop(b, PropertyId::Bottom), cb.height, 0));
    ShiftBox(b, dx, dy);
}

float BlockLayout::LayoutContent(Box& b, float width, float height, std::vector<Box*>& absolutes) {
    RectF content = b.ContentBox();
    float cx = content.x, cy = content.y;
    if (b.replaced) {
        int w = 0, h = 0;
        if (!measurer_.ImageSize(b.imageUrl, w, h)) return 0;
        bool autoWidth = !LengthOf(Prop(b, PropertyId::Width), -1);
        return autoWidth || w == 0 ? float(h) : width * h / w;
    }
    if (!b.inlineItems.empty()) {
        for (auto& child : b.children)
            if (child->outOfFlow) absolutes.push_back(child.get());
        float lines = LayoutLines(b, cx, cy, width, measurer_, [&](Box& atomic, float available) {
            ResolveEdges(atomic, width);
            Layout(atomic, 0, 0, {available, -1}, true, absolutes);
        });
        for (auto& child : b.children)
            if (!child->outOfFlow) ApplyRelative(*child, {width, height});
        return lines;
    }
    float cursor = cy;
    float previousMargin = 0;
    for (auto& childPtr : b.children) {
        Box& child = *childPtr;
        if (child.outOfFlow) {
            // Its static position, in case no offset places it.
            child.border.x = cx;
            child.border.y = cursor;
            absolutes.push_back(&child);
            continue;
        }
        ResolveEdges(child, width);
        // Adjoining margins collapse: the largest positive one plus the most negative one.
        float top = child.margin.top;
        float collapsed = std::max({previousMargin, top, 0.0f}) + std::min({previousMargin, top, 0.0f});
        Layout(child, cx, cursor - previousMargin + collapsed - top, {width, height}, false, absolutes);
        cursor = child.border.Bottom() + child.margin.bottom;
        previousMargin = child.margin.bottom;
        ApplyRelative(child, {width, height});
    }
    return cursor - cy;
}

void BlockLayout::LayoutAbsolute(Box& b, const Box& container) {
    RectF cb = container.PaddingBox();
    ResolveEdges(b, cb.w);
    auto left = LengthOf(Prop(b, PropertyId::Left), cb.w);
    auto right = LengthOf(Prop(b, PropertyId::Right), cb.w);
    auto top = LengthOf(Prop(b, PropertyId::Top), cb.h);
    auto bottom = LengthOf(Prop(b, PropertyId::Bottom), cb.h);
    float staticX = b.border.x, staticY = b.border.y;
    float available = cb.w - left.value_or(0) - right.value_or(0);
    bool stretch = left && right && !LengthOf(Prop(b, PropertyId::Width), cb.w);
    std::vector<Box*> nested;
    Layout(b, 0, 0, {std::max(0.0f, available), cb.h}, !stretch, nested);
    if (top && bottom && !LengthOf(Prop(b, PropertyId::Height), cb.h)) {
        float edges = b.borderWidth.Vertical() + b.padding.Vertical();
        b.border.h = std::max(edges, cb.h - *top - *bottom - b.margin.Vertical());
    }
    float x = left ? cb.x + *left : right ? cb.Right() - *right - MarginBoxWidth(b) : staticX;
    float y = top ? cb.y + *top : bottom ? cb.Bottom() - *bottom - MarginBoxHeight(b) : staticY;
    ShiftBox(b, x + b.margin.left - b.border.x, y + b.margin.top - b.border.y);
    for (Box* abs : nested) LayoutAbsolute(*abs, b);
}

} // namespace engine
