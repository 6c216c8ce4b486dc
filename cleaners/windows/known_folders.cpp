#include "cleaners/windows/known_folders.h"

#include <memory>

// The known-folder call, unlike SHGetSpecialFolderPathW, returns paths of any length.
std::wstring KnownFolderPath(REFKNOWNFOLDERID id) {
    PWSTR raw = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &raw);
    std::unique_ptr<wchar_t, decltype(&CoTaskMemFree)> owned(raw, CoTaskMemFree);
    return SUCCEEDED(hr) && raw ? std::wstring(raw) : std::wstring();
}

std::wstring TempFolderPath() {
    std::wstring path(MAX_PATH + 1, L'\0');
    for (;;) {
        const DWORD length = GetTempPathW(static_cast<DWORD>(path.size()), path.data());
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length + 1);
    }
}

// Windows 10 and 11 report major version 10 to a program that declares them, and keep the folder where
// Vista put it; only the older systems keep it beside the local application data, in Local Settings.
std::wstring LocalTempFolderPath() {
    std::wstring local = KnownFolderPath(FOLDERID_LocalAppData);
    if (local.empty()) return {};
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExW(&version);
    if (version.dwMajorVersion < 6) {
        const size_t cut = local.rfind(L'\\');
        if (cut != std::wstring::npos) local.resize(cut);
    }
    return local + L"\\Temp";
}
