// The tabs behavior. One object serves every tabs element: all it knows of a selection it reads from the
// page (the "selected" attributes and the current and expanded states).
#include "ui/tabs.h"

#include "ui/element_ops.h"
#include "ui/value.h"

namespace htmlayout {

tabs tabs_behavior;

namespace {

scoped_element Parent(HELEMENT he) {
    HELEMENT parent = nullptr;
    if (he) HTMLayoutGetParentElement(he, &parent);
    return scoped_element(parent);
}

scoped_element Sibling(HELEMENT he, bool forward) {
    HELEMENT sibling = nullptr;
    if (he) forward ? HTMLayoutGetNextSibling(he, &sibling) : HTMLayoutGetPreviousSibling(he, &sibling);
    return scoped_element(sibling);
}

scoped_element EndChild(HELEMENT he, bool first) {
    unsigned count = 0;
    HELEMENT child = nullptr;
    if (he && HTMLayoutGetChildrenCount(he, &count) == HL_OK && count)
        HTMLayoutGetNthChild(he, first ? 0 : count - 1, &child);
    return scoped_element(child);
}

scoped_element PanelNamed(HELEMENT root, const std::wstring& name) {
    return FindFirst(root, L":root>[name=\"" + name + L"\"]");
}

// The tab that holds `he`: the nearest element with a "panel" attribute, below the tabs element.
scoped_element TabOf(HELEMENT root, HELEMENT he) {
    for (scoped_element e(he); e && e.get() != root; e = Parent(e))
        if (HasAttribute(e, "panel")) return e;
    return {};
}

bool Matches(HELEMENT he, const char* selector) {
    int matches = 0;
    return he && HTMLayoutElementMatches(he, selector, &matches) == HL_OK && matches;
}

// From `start` on in one direction, past disabled elements; the element reached must be a tab.
scoped_element EnabledTabFrom(scoped_element start, bool forward) {
    while (start && (GetStates(start) & STATE_DISABLED)) start = Sibling(start, forward);
    return start && HasAttribute(start, "panel") ? start : scoped_element();
}

// A tab of this tabs element's own strips, not of a tabs element nested in one of its panels.
bool IsOwnTab(HELEMENT root, HELEMENT tab) { return tab && Parent(Parent(tab)).get() == root; }

// A strip is one Tab stop: `stop` takes Tab's focus, its sibling tabs only the arrows'.
void MakeStop(HELEMENT stop) {
    for (scoped_element tab = EndChild(Parent(stop), true); tab; tab = Sibling(tab, true))
        if (HasAttribute(tab, "panel")) HTMLayoutSetAttributeByName(tab, "tabindex", tab.get() == stop ? L"0" : L"-1");
}

// Where an arrow, Home or End goes from `tab`; none for another key.
scoped_element TabForKey(HELEMENT tab, unsigned code) {
    switch (code) {
    case VK_HOME:
    case VK_END: return EnabledTabFrom(EndChild(Parent(tab), code == VK_HOME), code == VK_HOME);
    case VK_LEFT:
    case VK_UP: return EnabledTabFrom(Sibling(tab, false), false);
    case VK_RIGHT:
    case VK_DOWN: return EnabledTabFrom(Sibling(tab, true), true);
    default: return {};
    }
}

} // namespace

tabs::tabs() : behavior(HANDLE_MOUSE | HANDLE_KEY | HANDLE_FOCUS | HANDLE_BEHAVIOR_EVENT | HANDLE_METHOD_CALL, "tabs") {}

BOOL tabs::select_tab(HELEMENT root, HELEMENT tab) {
    if (!tab || (GetStates(tab) & STATE_CURRENT)) return TRUE;
    scoped_element panel = PanelNamed(root, GetAttribute(tab, "panel"));
    if (!panel) return TRUE;
    scoped_element shown = FindFirst(root, L":root>[name]:expanded");
    // NOTE: the tab current so far is looked for in the clicked tab's own strip, whatever its class; a strip
    // of another class would otherwise keep two current tabs, and its first one could never be chosen again.
    scoped_element current = FindFirst(Parent(tab), L":root>[panel]:current");
    if (shown) {
        HTMLayoutSetAttributeByName(shown, "selected", nullptr);
        SetStates(shown, STATE_COLLAPSED, 0);
    }
    if (current) {
        HTMLayoutSetAttributeByName(current, "selected", nullptr);
        SetStates(current, 0, STATE_CURRENT);
    }
    HTMLayoutSetAttributeByName(panel, "selected", L"");
    SetStates(panel, STATE_EXPANDED, 0);
    HTMLayoutSetAttributeByName(tab, "selected", L"");
    SetStates(tab, STATE_CURRENT, 0);
    MakeStop(tab);
    if (current) HTMLayoutPostEvent(current, ELEMENT_COLLAPSED, current, 0);
    HTMLayoutPostEvent(tab, ELEMENT_EXPANDED, tab, 0);
    return TRUE;
}

void tabs::attached(HELEMENT he) {
    for (scoped_element strip = EndChild(he, true); strip; strip = Sibling(strip, true)) {
        scoped_element first = FindFirst(strip, L":root>[panel]");
        scoped_element selected = FindFirst(strip, L":root>[panel][selected]");
        if (first) MakeStop(selected ? selected : EnabledTabFrom(first, true));
    }
    scoped_element tab = FindFirst(he, L":root>.strip>[panel][selected]");
    if (!tab) return;
    scoped_element panel = PanelNamed(he, GetAttribute(tab, "panel"));
    if (!panel) return;
    SetStates(Parent(tab), STATE_CURRENT, 0);
    SetStates(tab, STATE_CURRENT, 0);
    SetStates(panel, STATE_EXPANDED, 0);
}

BOOL tabs::on_mouse(HELEMENT he, HELEMENT target, unsigned event_type, POINT, unsigned, unsigned) {
    if (event_type != MOUSE_DOWN && event_type != MOUSE_DCLICK) return FALSE;
    scoped_element tab = TabOf(he, target);
    return tab ? select_tab(he, tab) : FALSE;
}

// Arrows, Home and End move the focus along the focused tab's strip; the main strip (".strip") shows the
// tab they reach at once, a list of sub-tabs waits for Space or Enter. Ctrl+Tab walks the main strip from
// anywhere inside.
BOOL tabs::on_key(HELEMENT he, HELEMENT target, unsigned event_type, unsigned code, unsigned keyboardStates) {
    if (event_type != KEY_DOWN) return FALSE;
    scoped_element tab = TabOf(he, target);
    if (tab && !IsOwnTab(he, tab)) tab.reset();
    if (tab && !(GetStates(tab) & STATE_DISABLED) && (code == VK_SPACE || code == VK_RETURN))
        return select_tab(he, tab);
    bool arrow = code == VK_HOME || code == VK_END || (code >= VK_LEFT && code <= VK_DOWN);
    if (tab && arrow && !(keyboardStates & (CONTROL_KEY_PRESSED | ALT_KEY_PRESSED))) {
        if (scoped_element next = TabForKey(tab, code)) { // none at the strip's end: the focus stays
            MakeStop(next);
            SetStates(next, STATE_FOCUS, 0);
            if (Matches(Parent(next), ".strip")) select_tab(he, next);
        }
        return TRUE;
    }
    scoped_element current = FindFirst(he, L":root>.strip>[panel]:current");
    if (!current || code != VK_TAB || !(keyboardStates & CONTROL_KEY_PRESSED)) return FALSE;
    bool forward = !(keyboardStates & SHIFT_KEY_PRESSED);
    scoped_element next = EnabledTabFrom(Sibling(current, forward), forward);
    return next ? select_tab(he, next) : FALSE;
}

BOOL tabs::on_script_call(HELEMENT he, const char* name, unsigned argc, const HL_VALUE* argv, HL_VALUE&) {
    if (!name || std::string_view(name) != "select" || argc != 1 || !argv) return FALSE;
    value panel;
    ValueCopy(&panel.raw(), &argv[0]);
    select_tab(he, FindFirst(he, L":root>.strip>[panel=\"" + panel.to_string() + L"\"]"));
    return TRUE;
}

BOOL tabs::on_event(HELEMENT he, HELEMENT target, unsigned type, unsigned) {
    if (type != ACTIVATE_CHILD) return FALSE;
    select_tab(he, TabOf(he, target));
    return TRUE;
}

} // namespace htmlayout
