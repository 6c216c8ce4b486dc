#include "cleaners/browsers/special_folders.h"

#include <windows.h>
#include <shlobj.h>

std::wstring SpecialFolder(int csidl) {
    wchar_t buffer[MAX_PATH] = L"";
    // NOTE: on failure the buffer may still hold the configured path of a folder that does not exist.
    if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return {};
    return buffer;
}

std::wstring UserProfileFolder() {
    constexpr wchar_t kVariable[] = L"%userprofile%";
    std::wstring expanded(MAX_PATH, L'\0');
    for (;;) {
        const DWORD needed =
            ExpandEnvironmentStringsW(kVariable, expanded.data(), static_cast<DWORD>(expanded.size()));
        if (needed == 0) return {};
        if (needed <= expanded.size()) {
            expanded.resize(needed - 1);
            break;
        }
        expanded.resize(needed);
    }
    // An unset variable is left as written.
    return expanded == kVariable ? std::wstring() : expanded;
}
