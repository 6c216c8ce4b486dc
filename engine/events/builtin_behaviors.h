#pragma once
// The controls the engine provides itself: buttons, check boxes, radio buttons and hyperlinks turn mouse
// and key input into behavior events; edits, progress bars and rich text areas are typed controls.

#include "engine/dom/handler_entry.h"

#include <string_view>

namespace engine {

class Element;

// The handler for a built-in behavior name, or false.
bool FindBuiltinBehavior(std::string_view name, HandlerEntry& handler);
// Acts as a click on a built-in button, check box, radio button or hyperlink (the reason is BY_*); false
// for any other element, or a disabled one.
bool ClickControl(Element& element, unsigned reason);
// The control type (CTL_*) of the element, by the behaviors attached to it.
unsigned ControlTypeOf(const Element& element);
// Disabled itself or inside a disabled element.
bool IsDisabled(const Element& element);
// Checks a radio button and clears the others of its group (same "name" in the same tree).
void CheckRadio(Element& radio);

} // namespace engine
