#pragma once
// Stacking contexts: the root, every positioned box whose z-index is not auto, and every translucent box. Within one, positioned
// boxes paint as layers in z-index order (negative ones under the in-flow content, auto and 0 in tree order
// above it, positive ones on top); painting and hit testing both take their order from here.

#include "engine/layout/box.h"

#include <vector>

namespace engine {

struct Layer {
    const Box* box = nullptr;
    int z = 0; // auto counts as 0
    // Scrolling between the context and the box: the context's own, and that of the boxes in between.
    float dy = 0;
    // The padding boxes of clipping boxes in between, scrolled as the context's content is.
    std::vector<RectF> clips;
};

bool FormsStackingContext(const Box& box);
// The box's opacity, 0 to 1: a translucent box paints as one layer over what lies below.
float OpacityOf(const Box& box);

// The layers of a stacking context in painting order: by z-index, tree order among equals. A positioned box
// with z-index auto is a layer whose positioned descendants are layers of the same context.
std::vector<Layer> LayersOf(const Box& context);

} // namespace engine
