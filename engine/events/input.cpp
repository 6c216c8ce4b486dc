#include "engine/events/input.h"

#include "engine/dom/tree_walk.h"
#include "engine/events/builtin_behaviors.h"
#include "engine/events/dispatcher.h"
#include "engine/events/focus_navigation.h"
#include "engine/events/key_codes.h"
#include "engine/view/view.h"

namespace engine {
namespace {

bool SendMouse(View& view, Element& target, unsigned kind, const MouseInput& input) {
    HL_MOUSE_PARAMS p{kind, target.Handle(), input.x, input.y, input.x, input.y, input.buttons, input.keys,
                      input.wheelDelta};
    return DispatchEvent(target, HANDLE_MOUSE, p.cmd, &p, [&](Element* he) {
        int ox = 0, oy = 0;
        if (he) view.GetHost().ElementOrigin(view, *he, ox, oy);
        p.x = input.x - ox;
        p.y = input.y - oy;
    });
}

bool InDocument(const View& view, const Element* e) {
    return e && view.GetDocument() && e->OwnerDocument() == view.GetDocument();
}

void MoveHover(View& view, Document& doc, Element* target, const MouseInput& input) {
    Ref<Element> before = doc.Hover();
    if (before.Get() == target) return;
    doc.SetHover(target);
    if (InDocument(view, before.Get())) SendMouse(view, *before, MOUSE_LEAVE, input);
    if (target && InDocument(view, target)) SendMouse(view, *target, MOUSE_ENTER, input);
}

// The keys that move the focus show it from then on, as Windows shows focus rectangles once the keyboard
// is used.
bool MovesFocus(unsigned keyCode) {
    return keyCode == kVkTab || (keyCode >= kVkEnd && keyCode <= kVkDown);
}

bool IsTextField(Element& e) {
    switch (ControlTypeOf(e)) {
    case CTL_EDIT:
    case CTL_NUMERIC:
    case CTL_PASSWORD:
    case CTL_TEXTAREA:
    case CTL_RICHTEXT: return true;
    default: return false;
    }
}

// Enter that nothing took presses the page's default button, as in a Windows dialog; a text field keeps
// its Enter.
bool ClickDefaultButton(Document& doc) {
    if (doc.Focus() && IsTextField(*doc.Focus())) return false;
    Ref<Element> button;
    ForEachElement(doc.Root(), [&](Element& e) {
        const std::u16string* role = e.GetAttribute("role");
        if (!button && role && *role == u"default-button") button = &e;
    });
    if (!button || IsDisabled(*button) || IsHidden(*button)) return false;
    if (!ClickControl(*button, BY_KEY_CLICK))
        SendBehaviorEvent(*button, BUTTON_CLICK, button.Get(), BY_KEY_CLICK);
    return true;
}

// What a key-down does when no handler took it.
bool DefaultKeyAction(View& view, unsigned keyCode, unsigned keys) {
    bool tab = keyCode == kVkTab && !(keys & (CONTROL_KEY_PRESSED | ALT_KEY_PRESSED));
    if (!tab && keyCode != kVkReturn) return false;
    view.UpdateStyle(); // hidden elements are told by their styles
    Document* doc = view.GetDocument();
    if (!doc) return false;
    if (!tab) return ClickDefaultButton(*doc);
    Element* next = NextInTabOrder(*doc, doc->Focus(), (keys & SHIFT_KEY_PRESSED) != 0);
    if (!next) return false;
    MoveFocus(view, next, false);
    return true;
}

} // namespace

Element* FocusableAround(Element* target) {
    for (Element* e = target; e; e = e->Parent())
        if (IsFocusable(*e)) return e;
    return nullptr;
}

void MoveFocus(View& view, Element* element, bool byMouse) {
    Document* doc = view.GetDocument();
    if (!doc || doc->Focus() == element) return;
    Ref<Element> before = doc->Focus();
    Ref<Element> after = element;
    doc->SetFocus(element);
    if (InDocument(view, before.Get())) {
        HL_FOCUS_PARAMS p{FOCUS_LOST, before->Handle(), byMouse};
        DispatchEvent(*before, HANDLE_FOCUS, p.cmd, &p);
    }
    if (InDocument(view, after.Get())) {
        HL_FOCUS_PARAMS p{FOCUS_GOT, after->Handle(), byMouse};
        DispatchEvent(*after, HANDLE_FOCUS, p.cmd, &p);
    }
}

bool HandleMouse(View& view, Element* target, const MouseInput& input) {
    Document* doc = view.GetDocument();
    if (!doc) return false;
    if (!InDocument(view, target)) target = nullptr;
    Ref<Element> keep(target);
    std::weak_ptr<void> alive = view.Liveness();
    bool handled = false;
    MoveHover(view, *doc, target, input);
    bool press = (input.kind == MOUSE_DOWN || input.kind == MOUSE_DCLICK) && (input.buttons & MAIN_MOUSE_BUTTON);
    if (press && target) {
        doc->SetActive(target);
        doc->SetFocusVisible(false);
        if (Element* focusable = FocusableAround(target)) MoveFocus(view, focusable, true);
    }
    if (alive.expired()) return true;
    if (target && input.kind != MOUSE_ENTER && input.kind != MOUSE_LEAVE)
        handled = SendMouse(view, *target, input.kind, input);
    if (alive.expired()) return handled;
    if (input.kind == MOUSE_UP && view.GetDocument()) view.GetDocument()->SetActive(nullptr);
    view.UpdateStyle();
    return handled;
}

bool HandleKey(View& view, unsigned kind, unsigned keyCode, unsigned keys) {
    Document* doc = view.GetDocument();
    if (!doc) return false;
    if (kind == KEY_DOWN && MovesFocus(keyCode)) doc->SetFocusVisible(true);
    Ref<Element> target = doc->Focus() && InDocument(view, doc->Focus()) ? doc->Focus() : &doc->Root();
    std::weak_ptr<void> alive = view.Liveness();
    HL_KEY_PARAMS p{kind, target->Handle(), keyCode, keys};
    bool handled = DispatchEvent(*target, HANDLE_KEY, p.cmd, &p);
    if (!handled && kind == KEY_DOWN && !alive.expired()) handled = DefaultKeyAction(view, keyCode, keys);
    if (!alive.expired()) view.UpdateStyle();
    return handled;
}

} // namespace engine
