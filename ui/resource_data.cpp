// Pages and images come from the program's own module. The URL is read as a whole string, so a name of
// any length is looked up as it is rather than cut at a buffer's end.
#include "ui/resource_data.h"

#include <algorithm>
#include <cwctype>
#include <string>

namespace htmlayout {

namespace {

bool AllDigits(std::wstring_view text) {
    return !text.empty() && text.size() <= 5 && std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return std::towupper(x) == std::towupper(y); });
}

// An all-digit name is an integer id; a string name is found whatever its case.
std::optional<resource_bytes> LoadNamed(std::wstring_view name, const wchar_t* type) {
    if (name.empty()) return std::nullopt;
    if (AllDigits(name)) {
        unsigned long id = std::stoul(std::wstring(name));
        if (id == 0 || id > 0xFFFF) return std::nullopt;
        return LoadOwnResource(MAKEINTRESOURCEW(id), type);
    }
    return LoadOwnResource(std::wstring(name).c_str(), type);
}

} // namespace

std::optional<resource_bytes> LoadOwnResource(const wchar_t* name, const wchar_t* type) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, name, type);
    if (!info) return std::nullopt;
    HGLOBAL loaded = LoadResource(module, info);
    DWORD size = SizeofResource(module, info);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0) return std::nullopt;
    return resource_bytes(static_cast<const unsigned char*>(bytes), size);
}

std::optional<resource_bytes> LoadPage(unsigned id) {
    if (id == 0 || id > 0xFFFF) return std::nullopt;
    return LoadOwnResource(MAKEINTRESOURCEW(id), RT_HTML);
}

std::optional<resource_bytes> LoadPage(std::wstring_view name) { return LoadNamed(name, RT_HTML); }

std::optional<resource_bytes> ResourceForUrl(std::wstring_view url) {
    size_t dot = url.rfind(L'.');
    if (dot == std::wstring_view::npos) return LoadPage(url);
    std::wstring_view name = url.substr(0, dot), extension = url.substr(dot + 1);
    if (EqualsNoCase(extension, L"html")) return LoadPage(name);
    if (extension.empty()) return std::nullopt;
    return LoadNamed(name, std::wstring(extension).c_str());
}

} // namespace htmlayout
