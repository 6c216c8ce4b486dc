#pragma once
// The boxes of one page: rebuilt and laid out again when styles say so, asked where elements are, which
// element lies under a point, and how far scroll containers are scrolled.

#include "engine/layout/box_builder.h"

#include <map>
#include <string>

namespace engine {

class Document;

class PageLayout {
public:
    explicit PageLayout(Measurer& measurer) : measurer_(measurer) {}

    // The boxes no longer match the document.
    void Invalidate() { dirty_ = true; }
    bool Dirty() const { return dirty_; }
    // Device pixels per CSS pixel, the view's; a change lays the page out again.
    void SetScale(float scale);
    // Lays the document out for a viewport when anything changed; true when it did.
    bool Update(Document* document, float width, float height);

    const Box* Root() const { return tree_.root.get(); }
    const Box* BoxOf(const Element& element) const;
    // Border and content box of an element relative to the root, scrolling applied; false when it has none.
    bool Locate(const Element& element, RectF& border, RectF& content) const;
    // The element under a point of the viewport, or null.
    Element* HitTest(float x, float y) const;
    // The innermost box under the point that scrolls, or null.
    Box* ScrollerAt(float x, float y) const;
    // Scrolls to an offset, clamped; true when it moved.
    bool ScrollTo(Box& box, float offset);
    // The scrolling of every ancestor of the box.
    static float ScrollAbove(const Box& box);

    float MinWidth(Document* document);
    float MinHeight(Document* document, float width);

    // The box tree as text: one line per box and per text fragment, for tests.
    std::string Dump() const;

private:
    void Rebuild(Document& document);

    Measurer& measurer_;
    BoxTree tree_;
    std::map<const Element*, float> scrolls_; // kept across rebuilds
    bool dirty_ = true;
    float scale_ = 1;
    float width_ = -1, height_ = -1;
};

} // namespace engine
