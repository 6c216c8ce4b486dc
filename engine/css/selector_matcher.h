#pragma once
// Whether an element matches a selector. Every pseudo-class is decided in one place here.

#include "engine/css/selector.h"

#include <functional>

namespace engine {

class Document;
class Element;

struct MatchContext {
    const Document* document = nullptr; // for hover, active and focus; null for a detached tree
    const Element* scope = nullptr;     // what :root means in a query; null: the document's root
};

bool Matches(const Selector& selector, const Element& element, const MatchContext& context);
bool Matches(const SelectorList& list, const Element& element, const MatchContext& context);

// Visits, in document order, every element under root (root excluded) that matches; the visitor returns
// true to stop. Returns true when stopped.
bool SelectElements(const Element& root, const SelectorList& list, const std::function<bool(Element&)>& visit);

} // namespace engine
