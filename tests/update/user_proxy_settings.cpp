#include "user_proxy_settings.h"

#include "support/registry_fixture.h"

namespace testing_support {

namespace {

constexpr wchar_t kInternetSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr wchar_t kConnections[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
constexpr wchar_t kDefaultConnection[] = L"DefaultConnectionSettings";

// The connection record in which Internet Explorer keeps the settings that WinHTTP reads: version,
// counter, flags, then each string as a length and ANSI characters, then fields we leave zero.
std::vector<BYTE> ConnectionRecord(const ProxySettings& settings) {
    constexpr DWORD kVersion = 0x46, kDirect = 1, kProxy = 2, kAutoConfig = 4;
    DWORD flags =
        kDirect | (settings.proxy.empty() ? 0 : kProxy) | (settings.autoConfigUrl.empty() ? 0 : kAutoConfig);
    std::vector<BYTE> record;
    auto putDword = [&](DWORD v) {
        const BYTE* p = reinterpret_cast<const BYTE*>(&v);
        record.insert(record.end(), p, p + sizeof v);
    };
    auto putString = [&](const std::string& s) {
        putDword(static_cast<DWORD>(s.size()));
        record.insert(record.end(), s.begin(), s.end());
    };
    putDword(kVersion);
    putDword(1);
    putDword(flags);
    putString(settings.proxy);
    putString(settings.bypass);
    putString(settings.autoConfigUrl);
    record.resize(record.size() + 32, 0);
    return record;
}

std::wstring Widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

} // namespace

ScopedUserProxySettings::ScopedUserProxySettings(const ProxySettings& settings) {
    const std::pair<const wchar_t*, const wchar_t*> touched[] = {{kConnections, kDefaultConnection},
                                                                 {kInternetSettings, L"ProxyEnable"},
                                                                 {kInternetSettings, L"ProxyServer"},
                                                                 {kInternetSettings, L"ProxyOverride"},
                                                                 {kInternetSettings, L"AutoConfigURL"}};
    for (auto [key, name] : touched) {
        SavedValue saved{key, name, std::nullopt, REG_NONE};
        DWORD size = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &saved.type, nullptr,
                         &size) == ERROR_SUCCESS) {
            saved.data.emplace(size);
            RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &saved.type,
                         saved.data->data(), &size);
            saved.data->resize(size);
        }
        saved_.push_back(std::move(saved));
    }

    const std::vector<BYTE> record = ConnectionRecord(settings);
    SetRaw(HKEY_CURRENT_USER, kConnections, kDefaultConnection, REG_BINARY, record.data(),
           static_cast<DWORD>(record.size()));
    SetDword(HKEY_CURRENT_USER, kInternetSettings, L"ProxyEnable", settings.proxy.empty() ? 0 : 1);
    SetString(HKEY_CURRENT_USER, kInternetSettings, L"ProxyServer", Widen(settings.proxy));
    SetString(HKEY_CURRENT_USER, kInternetSettings, L"ProxyOverride", Widen(settings.bypass));
    if (settings.autoConfigUrl.empty())
        DeleteValue(HKEY_CURRENT_USER, kInternetSettings, L"AutoConfigURL");
    else
        SetString(HKEY_CURRENT_USER, kInternetSettings, L"AutoConfigURL", Widen(settings.autoConfigUrl));
}

ScopedUserProxySettings::~ScopedUserProxySettings() {
    for (const SavedValue& saved : saved_) {
        if (saved.data)
            SetRaw(HKEY_CURRENT_USER, saved.key, saved.name, saved.type, saved.data->data(),
                   static_cast<DWORD>(saved.data->size()));
        else
            DeleteValue(HKEY_CURRENT_USER, saved.key, saved.name);
    }
}

} // namespace testing_support
