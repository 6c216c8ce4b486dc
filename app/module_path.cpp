#include "app/module_path.h"

#include <windows.h>

namespace {

std::wstring modulePath;

constexpr wchar_t kLauncherFileName[] = L"Tracewipe HotKey.exe";

} // namespace

void CaptureModulePath() {
    // GetModuleFileNameW fills the buffer to the brim and truncates silently when the path is longer, so
    // the buffer grows until the answer leaves room to spare.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            modulePath.clear();
            return;
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            modulePath = std::move(buffer);
            return;
        }
        buffer.resize(buffer.size() * 2);
    }
}

const std::wstring& ModulePath() { return modulePath; }

std::wstring LauncherPath() {
    size_t slash = modulePath.rfind(L'\\');
    std::wstring folder = slash == std::wstring::npos ? std::wstring() : modulePath.substr(0, slash);
    return folder + L"\\" + kLauncherFileName;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }
