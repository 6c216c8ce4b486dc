#pragma once
// The window side of a page: HTMLayoutProcND's state per window (renderer, mouse tracking, scrollbar
// drag), and the hooks the window functions of the C interface call.

#include "engine/css/computed_style.h"

#include <windows.h>

namespace engine {
class Element;
class View;
} // namespace engine

namespace engine::win32 {

class PageRenderer;

// The page of a window, or null; kept by the C interface's window functions.
View* WindowView(HWND hwnd);

// The message that asks a window to deliver its posted events.
UINT DeliverPostedEventsMessage();
void PageChanged(HWND hwnd, const Invalidation& what);
// Where the element's border box starts in the window; false when it has no box.
bool ElementOrigin(HWND hwnd, const Element& element, int& x, int& y);
// The element under a point of the window's client area, or null.
Element* ElementAt(HWND hwnd, int x, int y);
// Before the page goes.
void ForgetWindow(HWND hwnd);
PageRenderer* RendererOf(HWND hwnd);
// The renderer showing the view, laid out for its window's size; null when the view has no window.
PageRenderer* RendererOf(const View& view, int& width, int& height);

} // namespace engine::win32
