#pragma once
// Character references in text and attribute values.

#include <string>
#include <string_view>

namespace engine {

// Decodes UTF-8 text with its character references into UTF-16.
std::u16string DecodeText(std::string_view utf8);

} // namespace engine
