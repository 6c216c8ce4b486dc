// Element operations shared by every page. Selectors are built as strings of any length.
#include "ui/element_ops.h"

#include "common/utf8.h"

#include <vector>

namespace htmlayout {

namespace {

int HLCALL KeepFirst(HELEMENT he, void* param) {
    *static_cast<scoped_element*>(param) = scoped_element(he);
    return TRUE;
}

void HLCALL AppendText(const wchar_t* text, unsigned length, void* param) {
    static_cast<std::wstring*>(param)->append(text, length);
}

int HLCALL KeepAll(HELEMENT he, void* param) {
    static_cast<std::vector<scoped_element>*>(param)->emplace_back(he);
    return FALSE;
}

// The controls of a check-box or radio group: the elements of that type under the element's parent that
// share its "name".
std::vector<scoped_element> GroupOf(HELEMENT he, const wchar_t* type) {
    std::vector<scoped_element> group;
    HELEMENT parent = nullptr;
    HTMLayoutGetParentElement(he, &parent);
    std::wstring selector = std::wstring(L"[type='") + type + L"'][name='" + GetAttribute(he, "name") + L"']";
    if (parent) HTMLayoutSelectElementsW(parent, selector.c_str(), KeepAll, &group);
    return group;
}

} // namespace

scoped_element FindFirst(HELEMENT root, std::wstring_view selector) {
    scoped_element found;
    if (root) HTMLayoutSelectElementsW(root, std::wstring(selector).c_str(), KeepFirst, &found);
    return found;
}

scoped_element FindById(HELEMENT root, std::wstring_view id) {
    scoped_element found;
    if (root) HTMLayoutVisitElements(root, nullptr, "id", std::wstring(id).c_str(), KeepFirst, &found, 0);
    return found;
}

scoped_element RootOf(HWND hwnd) {
    HELEMENT root = nullptr;
    if (hwnd) HTMLayoutGetRootElement(hwnd, &root);
    return scoped_element(root);
}

std::wstring GetAttribute(HELEMENT he, const char* name) {
    const wchar_t* text = nullptr;
    if (he) HTMLayoutGetAttributeByName(he, name, &text);
    return text ? std::wstring(text) : std::wstring();
}

bool HasAttribute(HELEMENT he, const char* name) {
    const wchar_t* text = nullptr;
    return he && HTMLayoutGetAttributeByName(he, name, &text) == HL_OK && text;
}

std::wstring IdOf(HELEMENT he) { return GetAttribute(he, "id"); }

void SetText(HELEMENT he, std::wstring_view text) {
    if (he) HTMLayoutSetElementInnerText16(he, text.data(), static_cast<unsigned>(text.size()));
}

std::wstring GetText(HELEMENT he) {
    std::wstring text;
    if (he) HTMLayoutGetElementInnerText16(he, AppendText, &text);
    return text;
}

unsigned GetStates(HELEMENT he) {
    unsigned states = 0;
    if (he) HTMLayoutGetElementState(he, &states);
    return states;
}

void SetStates(HELEMENT he, unsigned bitsToSet, unsigned bitsToClear) {
    if (he) HTMLayoutSetElementState(he, bitsToSet, bitsToClear, TRUE);
}

void Show(HELEMENT he, bool shown) {
    if (he) HTMLayoutSetStyleAttribute(he, "display", shown ? L"block" : L"none");
}

std::wstring GetValueText(HELEMENT he) {
    value v;
    if (!he || HTMLayoutControlGetValue(he, &v.raw()) != HL_OK) return {};
    return v.to_string();
}

void SetControlValue(HELEMENT he, const value& v) {
    unsigned type = CTL_NO;
    if (!he || HTMLayoutControlGetType(he, &type) != HL_OK) return;
    switch (type) {
    case CTL_NO:
    case CTL_UNKNOWN:
    case CTL_BUTTON: return;
    case CTL_CHECKBOX: {
        std::vector<scoped_element> group = GroupOf(he, L"checkbox");
        if (group.size() <= 1) {
            SetStates(he, v.to_int() ? STATE_CHECKED : 0, v.to_int() ? 0 : STATE_CHECKED);
            return;
        }
        unsigned bits = static_cast<unsigned>(v.to_int());
        for (size_t i = 0; i < group.size(); ++i) {
            bool checked = i < 32 && (bits >> i) & 1u;
            SetStates(group[i], checked ? STATE_CHECKED : 0, checked ? 0 : STATE_CHECKED);
        }
        return;
    }
    case CTL_RADIO: {
        std::vector<scoped_element> group = GroupOf(he, L"radio");
        int index = v.to_int();
        if (index >= 0 && static_cast<size_t>(index) < group.size()) {
            value on(1);
            HTMLayoutControlSetValue(group[static_cast<size_t>(index)], &on.raw());
        }
        return;
    }
    case CTL_RICHTEXT: {
        std::string html = Utf8(v.to_string());
        if (html.empty())
            SetText(he, L"");
        else
            HTMLayoutSetElementHtml(he, reinterpret_cast<const unsigned char*>(html.data()), static_cast<unsigned>(html.size()));
        return;
    }
    default: HTMLayoutControlSetValue(he, &v.raw());
    }
}

} // namespace htmlayout
