#pragma once
// Lines of a block with inline content: words wrapped at the width, the first line indented, aligned or
// justified; inline elements' edges taking room at their start and end; inline-blocks and images placed by
// their vertical-align.

#include "engine/layout/box.h"

#include <functional>

namespace engine {

struct IntrinsicWidths {
    float min = 0; // the widest word or inline-block
    float max = 0; // everything on one line
};

// Lays out an inline-block at the origin with its shrink-to-fit width.
using AtomicLayout = std::function<void(Box& atomic, float available)>;

// Fills box.fragments and box.pieces and places the inline-blocks; returns the height of the lines.
float LayoutLines(Box& box, float x, float y, float width, Measurer& measurer, const AtomicLayout& layoutAtomic);

IntrinsicWidths InlineIntrinsicWidths(const Box& box, Measurer& measurer,
                                      const std::function<IntrinsicWidths(const Box&)>& atomicWidths);

} // namespace engine
