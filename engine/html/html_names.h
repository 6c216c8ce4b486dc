#pragma once
// What the parser and the writer need to know about tag names.

#include <string_view>

namespace engine {

bool IsVoidElement(std::string_view tag);
// Elements whose content is text up to their own end tag.
bool IsRawTextElement(std::string_view tag);
bool ClosesParagraph(std::string_view tag);

} // namespace engine
