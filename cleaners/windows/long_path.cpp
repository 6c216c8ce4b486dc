#include "cleaners/windows/long_path.h"

#include <windows.h>

// The "\\?\" form skips all normalisation, so relative parts, "/" and doubled separators (a folder given with
// a trailing backslash) are resolved first by GetFullPathNameW, which has no length limit of its own.
std::wstring ExtendedLengthPath(const std::wstring& path) {
    if (path.empty() || path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\")) return path;
    std::wstring full(path.size() + 16, L'\0');
    for (;;) {
        const DWORD needed = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (needed == 0) return path;
        if (needed < full.size()) {
            full.resize(needed);
            break;
        }
        full.resize(needed);
    }
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}
