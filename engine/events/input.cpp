#include "engine/events/input.h"

#include "engine/events/builtin_behaviors.h"
#include "engine/events/dispatcher.h"
#include "engine/view/view.h"

namespace engine {
namespace {

bool IsFocusable(const Element& e) {
    if (IsDisabled(e)) return false;
    const std::string& tag = e.Tag();
    return e.HasAttribute("tabindex") || !e.StyleBehaviors().empty() || tag == "button" ||
           tag == "input" || tag == "select" || tag == "textarea" || (tag == "a" && e.HasAttribute("href"));
}

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
    Ref<Element> target = doc->Focus() && InDocument(view, doc->Focus()) ? doc->Focus() : &doc->Root();
    std::weak_ptr<void> alive = view.Liveness();
    HL_KEY_PARAMS p{kind, target->Handle(), keyCode, keys};
    bool handled = DispatchEvent(*target, HANDLE_KEY, p.cmd, &p);
    if (!alive.expired()) view.UpdateStyle();
    return handled;
}

} // namespace engine
