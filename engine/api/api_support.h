#pragma once
// Small helpers shared by the functions of the C interface.

#include "engine/api/api_lock.h"
#include "engine/dom/element.h"
#include "engine/dom/handle_table.h"

#include <string>

namespace engine {

inline std::u16string Text16(const wchar_t* text) {
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}
inline std::u16string Text16(const wchar_t* text, unsigned length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}
inline const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// Runs `body` with the element of a handle under the interface's lock; a stale or null handle is refused.
template <typename Body>
int WithElement(HELEMENT he, Body&& body) {
    ApiLock lock(ApiMutex());
    Element* e = ElementFromHandle(he);
    if (!e) return HL_INVALID_HANDLE;
    Ref<Element> keep(e); // the program's callbacks may drop it meanwhile
    return body(*e);
}

// Brings the styles of the element's page up to date after a change through the interface.
void Refresh(Element& element);

} // namespace engine
