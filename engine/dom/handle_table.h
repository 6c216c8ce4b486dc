#pragma once
// Maps element handles to elements. A handle carries a generation, so a handle kept after its element is
// gone is refused instead of followed.

#include "engine/include/htmlayout_dom.h"

namespace engine {

class Element;

HELEMENT RegisterHandle(Element* element);
void UnregisterHandle(HELEMENT handle);
// The element, or null for a null, stale or made-up handle.
Element* ElementFromHandle(HELEMENT handle);

} // namespace engine
