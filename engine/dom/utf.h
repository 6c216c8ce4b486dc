#pragma once
// UTF-8 and UTF-16 conversion; malformed input becomes U+FFFD, never an error.

#include <string>
#include <string_view>

namespace engine {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
void AppendCodePoint(std::u16string& out, char32_t c);
void AppendUtf8(std::string& out, char32_t c);

} // namespace engine
