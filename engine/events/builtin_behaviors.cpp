#include "engine/events/builtin_behaviors.h"

#include "engine/dom/document.h"
#include "engine/dom/handle_table.h"
#include "engine/dom/tree_walk.h"
#include "engine/events/dispatcher.h"
#include "engine/events/key_codes.h"

namespace engine {
namespace {

enum class Kind { Button, Check, Radio, Hyperlink, Typed };

struct Builtin {
    std::string_view name;
    Kind kind;
    unsigned controlType;
};

constexpr Builtin kBuiltins[] = {
    {"button", Kind::Button, CTL_BUTTON},       {"check", Kind::Check, CTL_CHECKBOX},
    {"checkbox", Kind::Check, CTL_CHECKBOX},
    {"radio", Kind::Radio, CTL_RADIO},          {"hyperlink", Kind::Hyperlink, CTL_HYPERLINK},
    {"edit", Kind::Typed, CTL_EDIT},            {"password", Kind::Typed, CTL_PASSWORD},
    {"textarea", Kind::Typed, CTL_TEXTAREA},    {"progress", Kind::Typed, CTL_PROGRESS},
    {"richtext", Kind::Typed, CTL_RICHTEXT},
};

void Activate(const Builtin& b, Element& e, unsigned reason) {
    Ref<Element> keep(&e);
    switch (b.kind) {
    case Kind::Button: SendBehaviorEvent(e, BUTTON_CLICK, &e, reason); break;
    case Kind::Check:
        // The state changes first, so that handlers of both events read the new one.
        e.ChangeStates((e.OwnStates() & STATE_CHECKED) ? 0 : STATE_CHECKED, STATE_CHECKED & e.OwnStates());
        SendBehaviorEvent(e, BUTTON_CLICK, &e, reason);
        SendBehaviorEvent(e, BUTTON_STATE_CHANGED, &e, reason);
        break;
    case Kind::Radio: {
        bool wasChecked = (e.OwnStates() & STATE_CHECKED) != 0;
        if (!wasChecked) CheckRadio(e);
        SendBehaviorEvent(e, BUTTON_CLICK, &e, reason);
        if (!wasChecked) SendBehaviorEvent(e, BUTTON_STATE_CHANGED, &e, reason);
        break;
    }
    case Kind::Hyperlink:
        e.ChangeStates(STATE_VISITED, 0);
        SendBehaviorEvent(e, HYPERLINK_CLICK, &e, reason);
        break;
    case Kind::Typed: break;
    }
}

// Bubbling mouse input: a press inside the control that is released inside it activates it.
int OnMouse(const Builtin& b, Element& e, const HL_MOUSE_PARAMS& p) {
    if ((p.cmd & SINKING) || b.kind == Kind::Typed || IsDisabled(e)) return 0;
    if (!(p.buttons & MAIN_MOUSE_BUTTON) && p.cmd != MOUSE_UP) return 0;
    switch (p.cmd) {
    case MOUSE_DOWN:
    case MOUSE_DCLICK: return 1;
    case MOUSE_UP: {
        Document* doc = e.OwnerDocument();
        Element* target = ElementFromHandle(p.target);
        bool pressedHere = doc && doc->Active() && e.Contains(doc->Active());
        if (!pressedHere || !target || !e.Contains(target)) return 0;
        Activate(b, e, BY_MOUSE_CLICK);
        return 1;
    }
    default: return 0;
    }
}

int OnKey(const Builtin& b, Element& e, const HL_KEY_PARAMS& p) {
    if (p.cmd != KEY_DOWN || b.kind == Kind::Typed || IsDisabled(e)) return 0;
    Document* doc = e.OwnerDocument();
    if (!doc || doc->Focus() != &e) return 0;
    if (p.keyCode != kVkSpace && p.keyCode != kVkReturn) return 0;
    Activate(b, e, BY_KEY_CLICK);
    return 1;
}

int HLCALL BuiltinProc(void* tag, HELEMENT he, unsigned group, void* params) {
    const auto& b = *static_cast<const Builtin*>(tag);
    Element* e = ElementFromHandle(he);
    if (!e || !params) return 0;
    if (group == HANDLE_MOUSE) return OnMouse(b, *e, *static_cast<HL_MOUSE_PARAMS*>(params));
    if (group == HANDLE_KEY) return OnKey(b, *e, *static_cast<HL_KEY_PARAMS*>(params));
    return 0;
}

const Builtin* BuiltinOf(const Element& element) {
    for (const StyleBehavior& sb : element.StyleBehaviors())
        for (const Builtin& b : kBuiltins)
            if (sb.handler.tag == &b) return &b;
    return nullptr;
}

} // namespace

bool FindBuiltinBehavior(std::string_view name, HandlerEntry& handler) {
    for (const Builtin& b : kBuiltins) {
        if (b.name != name) continue;
        handler = {BuiltinProc, const_cast<Builtin*>(&b), HANDLE_MOUSE | HANDLE_KEY};
        return true;
    }
    return false;
}

bool ClickControl(Element& element, unsigned reason) {
    const Builtin* b = BuiltinOf(element);
    if (!b || b->kind == Kind::Typed || IsDisabled(element)) return false;
    Activate(*b, element, reason);
    return true;
}

unsigned ControlTypeOf(const Element& element) {
    if (const Builtin* b = BuiltinOf(element)) return b->controlType;
    return element.StyleBehaviors().empty() ? CTL_NO : CTL_UNKNOWN;
}

bool IsDisabled(const Element& element) {
    for (const Element* e = &element; e; e = e->Parent())
        if (e->OwnStates() & STATE_DISABLED) return true;
    return false;
}

void CheckRadio(Element& radio) {
    Element* top = &radio;
    while (top->Parent()) top = top->Parent();
    const std::u16string* name = radio.GetAttribute("name");
    std::u16string group = name ? *name : std::u16string();
    ForEachElement(*top, [&](Element& e) {
        if (&e == &radio || ControlTypeOf(e) != CTL_RADIO) return;
        const std::u16string* other = e.GetAttribute("name");
        if ((other ? *other : std::u16string()) == group) e.ChangeStates(0, STATE_CHECKED);
    });
    radio.ChangeStates(STATE_CHECKED, 0);
}

} // namespace engine
