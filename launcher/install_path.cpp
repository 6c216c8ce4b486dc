#include "launcher/install_path.h"

#include <memory>
#include <type_traits>

namespace {

struct RegKeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using UniqueRegKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegKeyCloser>;

constexpr wchar_t kNativeKey[] = L"SOFTWARE\\Quellbyte\\Freeweare\\Tracewipe";
constexpr wchar_t kWow64Key[] = L"SOFTWARE\\Wow6432Node\\Quellbyte\\Freeweare\\Tracewipe";

} // namespace

const wchar_t* InstallPathKey(WORD processorArchitecture) {
    switch (processorArchitecture) {
    case PROCESSOR_ARCHITECTURE_IA64:
    case PROCESSOR_ARCHITECTURE_AMD64:
    case PROCESSOR_ARCHITECTURE_ALPHA64:
        return kWow64Key;
    default:
        return kNativeKey;
    }
}

WORD NativeProcessorArchitecture() {
    // Looked up at run time: systems older than XP lack it, and GetSystemInfo answers for WOW64.
    using NativeInfoFn = void(WINAPI*)(SYSTEM_INFO*);
    auto native = reinterpret_cast<NativeInfoFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetNativeSystemInfo")));
    SYSTEM_INFO info{};
    if (native)
        native(&info);
    else
        GetSystemInfo(&info);
    return info.wProcessorArchitecture;
}

std::wstring ReadInstallPath(const wchar_t* key) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &raw) != ERROR_SUCCESS) return {};
    UniqueRegKey opened(raw);
    // NOTE: sized from the value itself, not a MAX_PATH buffer: a longer value would otherwise come back
    // without its terminating zero or not at all. RegGetValueW also guarantees the terminator.
    std::wstring path;
    DWORD bytes = 0;
    LONG rc = ERROR_MORE_DATA;
    while (rc == ERROR_MORE_DATA) {
        if (RegGetValueW(opened.get(), nullptr, L"InstallPath", RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS)
            return {};
        path.resize(bytes / sizeof(wchar_t) + 1);
        bytes = static_cast<DWORD>(path.size() * sizeof(wchar_t));
        rc = RegGetValueW(opened.get(), nullptr, L"InstallPath", RRF_RT_REG_SZ, nullptr, path.data(), &bytes);
    }
    if (rc != ERROR_SUCCESS) return {};
    path.resize(wcsnlen(path.c_str(), path.size()));
    return path;
}
