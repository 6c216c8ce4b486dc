#pragma once
// Which elements take the focus, and the order in which Tab walks them.

namespace engine {

class Document;
class Element;

// An element a click or the program may focus: a control, a link, or anything with a tabindex.
bool IsFocusable(const Element& element);
// Not drawn: display:none on itself or an ancestor, or visibility hidden or collapsed.
bool IsHidden(const Element& element);
// The element Tab (or Shift+Tab, backward) moves the focus to from `from` (null: from outside the page),
// wrapping around; null when nothing in the document takes the focus by keyboard.
Element* NextInTabOrder(Document& document, const Element* from, bool backward);

} // namespace engine
