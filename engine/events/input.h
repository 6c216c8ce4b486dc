#pragma once
// Mouse, key and focus input as the window layer hands it over after its hit test. Keeps the document's
// hover, active and focus states, dispatches the events, and brings styles up to date afterwards.

#include "engine/include/htmlayout_dom.h"

namespace engine {

class Element;
class View;

struct MouseInput {
    unsigned kind = MOUSE_MOVE; // MOUSE_*
    int x = 0, y = 0;           // document coordinates
    unsigned buttons = 0;
    unsigned keys = 0;
    int wheelDelta = 0;
};

// target: the element under the pointer, or null when it is over no element (or has left the window).
bool HandleMouse(View& view, Element* target, const MouseInput& input);
// A key-down that no handler took still acts: Tab and Shift+Tab move the focus, Enter presses the page's
// default button. True when anything took the key.
bool HandleKey(View& view, unsigned kind, unsigned keyCode, unsigned keys);
// Moves the focus, telling the element that loses it and the one that gets it.
void MoveFocus(View& view, Element* element, bool byMouse);
// The element a press on the target focuses: the nearest focusable one around it, or null.
Element* FocusableAround(Element* target);

} // namespace engine
