#include "engine/events/control_value.h"

#include "engine/dom/element.h"
#include "engine/dom/utf.h"
#include "engine/events/builtin_behaviors.h"

#include <cstdlib>
#include <string>

namespace engine {
namespace {

std::u16string ValueText(const HL_VALUE& value) {
    HL_VALUE copy;
    ValueInit(&copy);
    ValueCopy(&copy, &value);
    ValueToString(&copy, 0);
    const wchar_t* chars = nullptr;
    unsigned length = 0;
    ValueStringData(&copy, &chars, &length);
    std::u16string text(reinterpret_cast<const char16_t*>(chars ? chars : L""), length);
    ValueClear(&copy);
    return text;
}

void SetText(HL_VALUE& value, const std::u16string& text) {
    ValueStringDataSet(&value, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<unsigned>(text.size()), 0);
}

bool Truthy(const HL_VALUE& value) {
    int n = 0;
    if (ValueIntData(&value, &n) == HV_OK) return n != 0;
    return value.type != T_UNDEFINED && value.type != T_NULL && !ValueText(value).empty();
}

} // namespace

void GetControlValue(Element& element, HL_VALUE& value) {
    ValueClear(&value);
    switch (ControlTypeOf(element)) {
    case CTL_CHECKBOX:
    case CTL_RADIO: ValueIntDataSet(&value, (element.OwnStates() & STATE_CHECKED) ? 1 : 0, T_BOOL, 0); return;
    case CTL_PROGRESS: {
        const std::u16string* text = element.GetAttribute("value");
        ValueIntDataSet(&value, text ? std::atoi(Utf16ToUtf8(*text).c_str()) : 0, T_INT, 0);
        return;
    }
    case CTL_EDIT:
    case CTL_PASSWORD: {
        const std::u16string* text = element.GetAttribute("value");
        SetText(value, text ? *text : std::u16string());
        return;
    }
    default: SetText(value, element.TextContent());
    }
}

void SetControlValue(Element& element, const HL_VALUE& value) {
    switch (ControlTypeOf(element)) {
    case CTL_CHECKBOX: element.ChangeStates(Truthy(value) ? STATE_CHECKED : 0, Truthy(value) ? 0 : STATE_CHECKED); return;
    case CTL_RADIO:
        if (Truthy(value))
            CheckRadio(element);
        else
            element.ChangeStates(0, STATE_CHECKED);
        return;
    case CTL_PROGRESS:
    case CTL_EDIT:
    case CTL_PASSWORD: element.SetAttribute("value", ValueText(value)); return;
    default: element.SetTextContent(ValueText(value));
    }
}

} // namespace engine
