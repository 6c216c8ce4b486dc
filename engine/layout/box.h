#pragma once
// A box of the layout tree: the geometry of one element (or of an anonymous block holding inline content),
// in document coordinates before any scrolling. Text, and the line pieces of inline elements, sit in the
// block that lays them out.

#include "engine/layout/measurer.h"

#include <memory>
#include <string>
#include <vector>

namespace engine {

class ComputedStyle;
class Element;

struct RectF {
    float x = 0, y = 0, w = 0, h = 0;

    bool Contains(float px, float py) const { return px >= x && py >= y && px < x + w && py < y + h; }
    float Right() const { return x + w; }
    float Bottom() const { return y + h; }
};

struct Edges {
    float top = 0, right = 0, bottom = 0, left = 0;
    float Horizontal() const { return left + right; }
    float Vertical() const { return top + bottom; }
};

// The rectangle less the edges; never narrower or shorter than nothing.
RectF Inset(const RectF& r, const Edges& e);

enum class BoxKind { Block, InlineBlock, Anonymous };

struct TextFragment {
    std::u16string text;
    RectF rect;
    float baseline = 0; // from rect.y
    Element* element = nullptr; // the innermost element the text belongs to
    const ComputedStyle* style = nullptr;
    FontSpec font;
};

// One line's share of an inline element: what its background and borders cover. A side's border and
// padding belong only to the piece where the element starts or ends.
struct InlinePiece {
    Element* element = nullptr;
    const ComputedStyle* style = nullptr;
    RectF border;
    Edges borderWidth, padding;
    bool starts = false, ends = false; // the element starts or ends in this piece
};

struct Box;

enum class InlineEdge : unsigned char { None, Start, End };

// A piece of inline content: a run of text, a forced line break, an inline-block, or where an inline
// element starts or ends.
struct InlineItem {
    std::u16string text;
    Element* element = nullptr;
    const ComputedStyle* style = nullptr;
    Box* atomic = nullptr;
    bool lineBreak = false;
    InlineEdge edge = InlineEdge::None;
    // The element goes on beyond a block that splits it: this edge takes no room and has no border.
    bool split = false;
};

struct Box {
    BoxKind kind = BoxKind::Block;
    Element* element = nullptr; // null for an anonymous block
    const ComputedStyle* style = nullptr;
    Box* parent = nullptr;
    std::vector<std::unique_ptr<Box>> children;
    std::vector<InlineItem> inlineItems; // when the box lays out inline content
    std::vector<TextFragment> fragments;
    std::vector<InlinePiece> pieces; // in tree order, so that an outer element paints under an inner one

    RectF border; // the border box
    // The border box and all that the box holds, positioned or not; only the border box when it clips.
    RectF overflow;
    Edges margin, borderWidth, padding;
    bool positioned = false;   // relative, absolute or fixed
    bool outOfFlow = false;    // absolute or fixed
    bool holdsPositioned = false; // a positioned box lies somewhere below this one
    bool clips = false;        // overflow other than visible
    bool scrollable = false;   // overflow auto or scroll, and the content is taller than the box
    float scrollbarWidth = 0;  // in device pixels, while scrollable
    float contentHeight = 0;   // of the scrolled content, from the padding box top
    float scrollY = 0;
    bool replaced = false;     // an image
    std::u16string imageUrl;   // of a replaced box

    RectF PaddingBox() const;
    RectF ContentBox() const;
    // The padding box less the scrollbar, when there is one.
    RectF ClientBox() const;
    float MaxScroll() const;
};

// Moves a laid-out box and everything in it.
void ShiftBox(Box& box, float dx, float dy);
float MarginBoxWidth(const Box& box);
float MarginBoxHeight(const Box& box);

constexpr float kScrollbarWidth = 12; // CSS pixels

} // namespace engine
