#pragma once
// Builds the box tree of a styled document.

#include "engine/layout/box.h"

#include <memory>
#include <unordered_map>

namespace engine {

struct BoxTree {
    std::unique_ptr<Box> root;
    std::unordered_map<const Element*, Box*> boxes;       // elements that have a box
    std::unordered_map<const Element*, Box*> inlineHosts; // inline elements: the block holding their text
};

// Null root when the document's root is not styled or not displayed.
BoxTree BuildBoxTree(Element& root);

} // namespace engine
