#pragma once
// From specified to computed values.

#include "engine/css/computed_style.h"

namespace engine {

// The initial value of a property, as computed for an element without a parent.
const CssValue& InitialValue(PropertyId id);

// Resolves inherit and initial, units, keywords and colours. `self` holds the element's font size and
// colour already (they are computed first: the other properties depend on them). Lengths come out in device
// pixels: CSS pixels times `scale` (the display's DPI / 96).
CssValue ComputeValue(PropertyId id, const CssValue* specified, const ComputedStyle* parent, const ComputedStyle& self,
                      float scale = 1);

// Borders whose style draws nothing have no width.
void ZeroHiddenBorders(ComputedStyle& style);

} // namespace engine
