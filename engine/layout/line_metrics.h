#pragma once
// How tall the things in a line are around its baseline: text with its half-leading, and inline-blocks and
// images by their vertical-align.

#include "engine/layout/box.h"

namespace engine {

struct Extent {
    float above = 0; // the baseline's distance below the top
    float below = 0; // the bottom's distance below the baseline
};

// The line height that a style asks for, given its font's metrics.
float LineHeightOf(const ComputedStyle& style, const FontMetrics& metrics);
// Text of a style in a font of these metrics: its line height split around the baseline, half the leading
// on either side.
Extent TextExtent(const ComputedStyle& style, const FontMetrics& metrics);

// Where an inline-block or image sits: around the baseline, or against the line box's top or bottom.
struct AtomicPlacement {
    enum class Anchor { Baseline, LineTop, LineBottom };
    Anchor anchor = Anchor::Baseline;
    Extent extent; // for the line anchors, above holds the whole height
};

// parent: the style of the inline element or block the box sits in, with its font's metrics.
AtomicPlacement PlaceAtomic(const Box& atomic, const ComputedStyle& parent, const FontMetrics& parentMetrics,
                            Measurer& measurer);

} // namespace engine
