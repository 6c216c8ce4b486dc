#include "cleaners/windows/long_path.h"

#include <windows.h>

namespace {

// Except on a drive root, where "C:" alone would name the current folder of the drive.
std::wstring WithoutTrailingSeparator(std::wstring path) {
    if (path.size() > 1 && path.back() == L'\\' && path[path.size() - 2] != L':') path.pop_back();
    return path;
}

} // namespace

// The "\\?\" form skips all normalisation, so relative parts, "/" and doubled separators are resolved first
// by GetFullPathNameW, which has no length limit of its own.
std::wstring ExtendedLengthPath(const std::wstring& path) {
    if (path.empty() || path.starts_with(L"\\\\.\\")) return path;
    if (path.starts_with(L"\\\\?\\")) return WithoutTrailingSeparator(path);
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
    if (full.starts_with(L"\\\\")) return WithoutTrailingSeparator(L"\\\\?\\UNC\\" + full.substr(2));
    return WithoutTrailingSeparator(L"\\\\?\\" + full);
}
