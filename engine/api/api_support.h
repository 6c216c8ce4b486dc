#pragma once
// Small helpers shared by the functions of the C interface.

#include "engine/dom/element.h"

#include <string>

namespace engine {

inline std::u16string Text16(const wchar_t* text) {
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}
inline std::u16string Text16(const wchar_t* text, unsigned length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}
inline const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// Brings the styles of the element's page up to date after a change through the interface.
void Refresh(Element& element);

} // namespace engine
