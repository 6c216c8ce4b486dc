#pragma once
// What assistive technology reads of a window's page: an IAccessible object per element that means something
// to a reader (controls, tabs, headings, texts), answering for WM_GETOBJECT's OBJID_CLIENT.

#include "engine/view/host.h"

#include <windows.h>

namespace engine {
class Element;
} // namespace engine

namespace engine::win32 {

// The answer to WM_GETOBJECT: an LRESULT for OBJID_CLIENT, 0 for any other object (the system's then).
LRESULT AnswerGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam);

// Tells WinEvent listeners that the element changed (focus, state, name or value).
void AnnounceChange(HWND hwnd, Element& element, Announcement what);

} // namespace engine::win32
