#pragma once
// The small element operations every page uses. Each does nothing on a missing element (nullptr).
#include "engine/include/htmlayout.h"
#include "ui/scoped_element.h"
#include "ui/value.h"

#include <string>
#include <string_view>

namespace htmlayout {

// The first element under `root` (root excluded) that matches the CSS selector; none when nothing does.
scoped_element FindFirst(HELEMENT root, std::wstring_view selector);
// The first element under `root` whose "id" equals `id` exactly.
scoped_element FindById(HELEMENT root, std::wstring_view id);
// The page's root element of a window.
scoped_element RootOf(HWND hwnd);

// The attribute's text; empty when the element or the attribute is missing.
std::wstring GetAttribute(HELEMENT he, const char* name);
bool HasAttribute(HELEMENT he, const char* name);
// The element's "id" attribute.
std::wstring IdOf(HELEMENT he);

void SetText(HELEMENT he, std::wstring_view text);
// The element's text, its descendants' included; empty for a missing element.
std::wstring GetText(HELEMENT he);
unsigned GetStates(HELEMENT he);
void SetStates(HELEMENT he, unsigned bitsToSet, unsigned bitsToClear);
// Shows ("display: block") or hides ("display: none") the element.
void Show(HELEMENT he, bool shown);

// A control's value as text; empty for a missing element.
std::wstring GetValueText(HELEMENT he);
// Sets a form value by the control's type: a check-box group takes a bit per box, a radio group the index of
// the button to check, a rich-text area the value as HTML; other controls take the value as it is.
void SetControlValue(HELEMENT he, const value& v);

} // namespace htmlayout
