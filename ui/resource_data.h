#pragma once
// The program's own resources as the pages need them: RT_HTML pages and "PNG" images.
#include <windows.h>

#include <optional>
#include <span>
#include <string_view>

namespace htmlayout {

using resource_bytes = std::span<const unsigned char>;

// The bytes of a resource of this program's module; none when it is missing or empty.
std::optional<resource_bytes> LoadOwnResource(const wchar_t* name, const wchar_t* type);
// The RT_HTML page with an integer id (117, 191, 192) or a name ("MAIN_SKIN").
std::optional<resource_bytes> LoadPage(unsigned id);
std::optional<resource_bytes> LoadPage(std::wstring_view name);
// What a page's URL names: the text before the last '.' is the resource name, the text after it the
// resource type ("logo.png" is PNG "LOGO"); no extension, or "html" in any case, is RT_HTML. An all-digit
// name is an integer id. Any length is answered; nothing is cut.
std::optional<resource_bytes> ResourceForUrl(std::wstring_view url);

} // namespace htmlayout
