#pragma once
// A page's accessible objects read as a screen reader reads them, through oleacc: the objects a window's
// client object holds, each with its name, role and state. Header-only, for the tests and the benchmarks.
#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace testing_support {

inline VARIANT ChildId(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// An accessible object as a reader walks it: the object with CHILDID_SELF.
struct AccessibleNode {
    IAccessible* object = nullptr;
    std::wstring name;
    long role = 0;
    long state = 0;
};

inline std::wstring AccessibleName(IAccessible* a, LONG id = CHILDID_SELF) {
    BSTR name = nullptr;
    std::wstring text;
    if (a->get_accName(ChildId(id), &name) == S_OK && name) text = name;
    SysFreeString(name);
    return text;
}

inline AccessibleNode ReadAccessible(IAccessible* a) {
    AccessibleNode n{a, AccessibleName(a)};
    VARIANT role, state;
    if (a->get_accRole(ChildId(CHILDID_SELF), &role) == S_OK) n.role = role.lVal;
    if (a->get_accState(ChildId(CHILDID_SELF), &state) == S_OK) n.state = state.lVal;
    return n;
}

// Every object under `a`, depth first, through accChildCount and accChild as AccessibleChildren does. Each
// object is added to `held`, for the caller to release.
inline std::vector<AccessibleNode> WalkAccessible(IAccessible* a, std::vector<IAccessible*>& held) {
    std::vector<AccessibleNode> all;
    LONG count = 0;
    if (!a || a->get_accChildCount(&count) != S_OK) return all;
    for (LONG i = 1; i <= count; ++i) {
        IDispatch* d = nullptr;
        if (a->get_accChild(ChildId(i), &d) != S_OK || !d) continue;
        IAccessible* child = nullptr;
        d->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&child));
        d->Release();
        if (!child) continue;
        held.push_back(child);
        all.push_back(ReadAccessible(child));
        std::vector<AccessibleNode> below = WalkAccessible(child, held);
        all.insert(all.end(), below.begin(), below.end());
    }
    return all;
}

// The window's client object, as WM_GETOBJECT gives it; added to `held`. Null when there is none.
inline IAccessible* ClientObject(HWND window, std::vector<IAccessible*>& held) {
    IAccessible* client = nullptr;
    if (AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                   reinterpret_cast<void**>(&client)) != S_OK)
        return nullptr;
    if (client) held.push_back(client);
    return client;
}

inline const AccessibleNode* FindAccessible(const std::vector<AccessibleNode>& nodes, const std::wstring& name,
                                            long role) {
    for (const AccessibleNode& n : nodes)
        if (n.name == name && n.role == role) return &n;
    return nullptr;
}

} // namespace testing_support
