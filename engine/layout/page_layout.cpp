#include "engine/layout/page_layout.h"

#include "engine/dom/document.h"
#include "engine/dom/frame_phases.h"
#include "engine/dom/utf.h"
#include "engine/layout/block_layout.h"
#include "engine/layout/stacking.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <sstream>
#include <utility>

namespace engine {
namespace {

RectF Scrolled(RectF r, float dy) {
    r.y -= dy;
    return r;
}

void Unite(RectF& area, const RectF& r) {
    if (r.w <= 0 || r.h <= 0) return;
    if (area.w <= 0 || area.h <= 0) {
        area = r;
        return;
    }
    float right = std::max(area.Right(), r.Right()), bottom = std::max(area.Bottom(), r.Bottom());
    area.x = std::min(area.x, r.x);
    area.y = std::min(area.y, r.y);
    area.w = right - area.x;
    area.h = bottom - area.y;
}

// What a box and everything below it may cover, so that a hit test passes by a box the point misses.
void ComputeOverflow(Box& b) {
    b.overflow = b.border;
    for (auto& child : b.children) ComputeOverflow(*child);
    if (b.clips) return;
    for (const TextFragment& f : b.fragments) Unite(b.overflow, f.rect);
    for (const InlinePiece& p : b.pieces) Unite(b.overflow, p.border);
    for (const auto& child : b.children) Unite(b.overflow, child->overflow);
}

Element* HitBox(const Box& b, float x, float y);

Element* HitLayer(const Layer& layer, float x, float y) {
    for (const RectF& clip : layer.clips)
        if (!clip.Contains(x, y)) return nullptr;
    return HitBox(*layer.box, x, y + layer.dy);
}

// The painting order backwards: layers above the flow, the flow's boxes, the box's own line content, layers
// below the flow, the box itself.
Element* HitBox(const Box& b, float x, float y) {
    if (!b.overflow.Contains(x, y)) return nullptr;
    bool inside = b.border.Contains(x, y);
    float cy = y + b.scrollY;
    bool overScrollbar = b.scrollable && x >= b.ClientBox().Right() && inside;
    if (!overScrollbar) {
        std::vector<Layer> layers;
        if (FormsStackingContext(b)) layers = LayersOf(b);
        auto below = std::find_if(layers.begin(), layers.end(), [](const Layer& l) { return l.z >= 0; });
        for (auto it = layers.rbegin(); it != std::make_reverse_iterator(below); ++it)
            if (Element* e = HitLayer(*it, x, y)) return e;
        for (auto it = b.children.rbegin(); it != b.children.rend(); ++it)
            if (!(*it)->positioned)
                if (Element* e = HitBox(**it, x, cy)) return e;
        for (const TextFragment& f : b.fragments)
            if (f.rect.Contains(x, cy)) return f.element;
        for (auto it = b.pieces.rbegin(); it != b.pieces.rend(); ++it)
            if (it->border.Contains(x, cy)) return it->element;
        for (auto it = std::make_reverse_iterator(below); it != layers.rend(); ++it)
            if (Element* e = HitLayer(*it, x, y)) return e;
    }
    return inside ? b.element : nullptr;
}

Box* ScrollerIn(Box& b, float x, float y) {
    bool inside = b.border.Contains(x, y);
    if (b.clips && !inside) return nullptr;
    for (auto it = b.children.rbegin(); it != b.children.rend(); ++it)
        if (Box* s = ScrollerIn(**it, x, y + b.scrollY)) return s;
    return inside && b.scrollable ? &b : nullptr;
}

// A restyle that asks only for a repaint replaces styles without rebuilding the boxes.
void RefreshStyles(Box& b) {
    if (b.element) b.style = b.element->Style();
    else if (b.parent) b.style = b.parent->style;
    for (TextFragment& f : b.fragments)
        if (f.element) f.style = f.element->Style();
    for (InlinePiece& p : b.pieces) p.style = p.element->Style();
    for (auto& child : b.children) RefreshStyles(*child);
}

void DumpBox(const Box& b, int depth, std::ostringstream& out) {
    auto num = [](float v) { return static_cast<long>(std::lround(v)); };
    out << std::string(depth * 2, ' ') << (b.element ? b.element->Tag() : std::string("anonymous")) << ' '
        << num(b.border.x) << ',' << num(b.border.y) << ' ' << num(b.border.w) << 'x' << num(b.border.h);
    if (b.scrollable) out << " scroll " << num(b.contentHeight);
    out << '\n';
    for (const TextFragment& f : b.fragments)
        out << std::string(depth * 2 + 2, ' ') << '"' << Utf16ToUtf8(f.text) << "\" " << num(f.rect.x) << ','
            << num(f.rect.y) << ' ' << num(f.rect.w) << 'x' << num(f.rect.h) << '\n';
    for (const InlinePiece& p : b.pieces)
        out << std::string(depth * 2 + 2, ' ') << '<' << p.element->Tag() << "> " << num(p.border.x) << ','
            << num(p.border.y) << ' ' << num(p.border.w) << 'x' << num(p.border.h) << '\n';
    for (const auto& child : b.children) DumpBox(*child, depth + 1, out);
}

} // namespace

void PageLayout::Rebuild(Document& document) {
    for (const auto& [element, box] : tree_.boxes)
        if (box->scrollY > 0) scrolls_[element] = box->scrollY;
    tree_ = BuildBoxTree(document.Root());
    std::map<const Element*, float> kept;
    for (const auto& [element, offset] : scrolls_) {
        auto it = tree_.boxes.find(element);
        if (it == tree_.boxes.end()) continue;
        it->second->scrollY = offset;
        kept.emplace(element, offset);
    }
    scrolls_ = std::move(kept);
}

void PageLayout::SetScale(float scale) {
    if (scale == scale_) return;
    scale_ = scale;
    dirty_ = true;
}

bool PageLayout::Update(Document* document, float width, float height) {
    if (!dirty_ && width == width_ && height == height_) {
        PhaseScope phase(FramePhase::BoxTree);
        if (tree_.root) RefreshStyles(*tree_.root);
        return false;
    }
    width_ = width;
    height_ = height;
    dirty_ = false;
    if (!document) {
        tree_ = {};
        return true;
    }
    {
        PhaseScope phase(FramePhase::BoxTree);
        Rebuild(*document);
    }
    if (tree_.root) {
        PhaseScope phase(FramePhase::Layout);
        BlockLayout(measurer_, scale_).LayoutRoot(*tree_.root, std::max(0.0f, width), std::max(0.0f, height));
        ComputeOverflow(*tree_.root);
    }
    return true;
}

const Box* PageLayout::BoxOf(const Element& element) const {
    auto it = tree_.boxes.find(&element);
    return it == tree_.boxes.end() ? nullptr : it->second;
}

float PageLayout::ScrollAbove(const Box& box) {
    float total = 0;
    for (const Box* b = box.parent; b; b = b->parent) total += b->scrollY;
    return total;
}

bool PageLayout::Locate(const Element& element, RectF& border, RectF& content) const {
    if (const Box* box = BoxOf(element)) {
        float dy = ScrollAbove(*box);
        border = Scrolled(box->border, dy);
        content = Scrolled(box->ContentBox(), dy);
        return true;
    }
    // An inline element: the union of its line pieces, and of the text of what it holds.
    auto it = tree_.inlineHosts.find(&element);
    if (it == tree_.inlineHosts.end()) return false;
    RectF outer, inner;
    for (const InlinePiece& p : it->second->pieces) {
        if (p.element != &element) continue;
        Unite(outer, p.border);
        Unite(inner, Inset(Inset(p.border, p.borderWidth), p.padding));
    }
    for (const TextFragment& f : it->second->fragments) {
        if (!f.element || !element.Contains(f.element)) continue;
        Unite(outer, f.rect);
        Unite(inner, f.rect);
    }
    float dy = ScrollAbove(*it->second) + it->second->scrollY;
    border = Scrolled(outer, dy);
    content = Scrolled(inner, dy);
    return true;
}

Element* PageLayout::HitTest(float x, float y) const { return tree_.root ? HitBox(*tree_.root, x, y) : nullptr; }

Box* PageLayout::ScrollerAt(float x, float y) const { return tree_.root ? ScrollerIn(*tree_.root, x, y) : nullptr; }

bool PageLayout::ScrollTo(Box& box, float offset) {
    float clamped = std::clamp(offset, 0.0f, box.MaxScroll());
    if (clamped == box.scrollY) return false;
    box.scrollY = clamped;
    if (box.element) scrolls_[box.element] = clamped;
    return true;
}

float PageLayout::MinWidth(Document* document) {
    if (!document) return 0;
    dirty_ = true;
    Update(document, 0, 0);
    dirty_ = true;
    return tree_.root ? BlockLayout(measurer_, scale_).Intrinsic(*tree_.root).min : 0;
}

float PageLayout::MinHeight(Document* document, float width) {
    dirty_ = true;
    Update(document, width, 0);
    dirty_ = true;
    return tree_.root ? MarginBoxHeight(*tree_.root) : 0;
}

std::string PageLayout::Dump() const {
    std::ostringstream out;
    if (tree_.root) DumpBox(*tree_.root, 0, out);
    return out.str();
}

} // namespace engine
