#pragma once
// Block flow: sizes from width, height, min and max, margins, borders and padding; children stacked with
// their margins collapsed between siblings; absolutely positioned boxes placed against the nearest
// positioned ancestor once its size is known; overflow that scrolls.

#include "engine/layout/box.h"
#include "engine/layout/inline_layout.h"

namespace engine {

class BlockLayout {
public:
    // scale: device pixels per CSS pixel, for what the layout adds of its own (the scrollbar)
    BlockLayout(Measurer& measurer, float scale) : measurer_(measurer), scale_(scale) {}

    // Lays the root out in a viewport; its percentages resolve against the viewport.
    void LayoutRoot(Box& root, float width, float height);
    IntrinsicWidths Intrinsic(const Box& box);

private:
    struct Containing {
        float width;
        float height; // negative when not known
    };

    void ResolveEdges(Box& box, float cbWidth);
    // shrink: an inline-block or absolute box takes its shrink-to-fit width
    void Layout(Box& box, float x, float y, Containing cb, bool shrink, std::vector<Box*>& absolutes);
    float LayoutContent(Box& box, float width, float height, std::vector<Box*>& absolutes);
    void ApplyRelative(Box& box, Containing cb);
    void LayoutAbsolute(Box& box, const Box& container);
    float ContentWidth(const Box& box, Containing cb, bool shrink);
    float ScrollbarWidth() const;

    Measurer& measurer_;
    float scale_;
};

} // namespace engine
