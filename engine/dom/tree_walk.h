#pragma once
// Visits an element and its descendant elements in document order.

#include "engine/dom/element.h"

namespace engine {

template <typename Visit>
void ForEachElement(Element& element, const Visit& visit) {
    visit(element);
    // By index: a visit may change the children.
    for (std::size_t i = 0; i < element.Children().size(); ++i)
        if (Element* child = AsElement(element.Children()[i].Get())) ForEachElement(*child, visit);
}

} // namespace engine
