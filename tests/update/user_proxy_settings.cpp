#include "user_proxy_settings.h"

#include "support/registry_fixture.h"

namespace testing_support {

namespace {

constexpr wchar_t kConnections[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
constexpr wchar_t kDefaultConnection[] = L"DefaultConnectionSettings";

// The connection record in which Internet Explorer keeps the settings that WinHTTP reads: version,
// counter, flags, then each string as a length and ANSI characters, then fields left zero.
std::vector<BYTE> ConnectionRecord(const ProxySettings& settings) {
    constexpr DWORD kVersion = 0x46, kDirect = 1, kProxy = 2, kAutoConfig = 4;
    const DWORD flags =
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

} // namespace

ScopedUserProxySettings::ScopedUserProxySettings(const ProxySettings& settings) {
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kConnections, kDefaultConnection, RRF_RT_ANY, &savedType_, nullptr,
                     &size) == ERROR_SUCCESS) {
        saved_.emplace(size);
        RegGetValueW(HKEY_CURRENT_USER, kConnections, kDefaultConnection, RRF_RT_ANY, &savedType_,
                     saved_->data(), &size);
        saved_->resize(size);
    }
    const std::vector<BYTE> record = ConnectionRecord(settings);
    SetRaw(HKEY_CURRENT_USER, kConnections, kDefaultConnection, REG_BINARY, record.data(),
           static_cast<DWORD>(record.size()));
}

ScopedUserProxySettings::~ScopedUserProxySettings() {
    if (saved_)
        SetRaw(HKEY_CURRENT_USER, kConnections, kDefaultConnection, savedType_, saved_->data(),
               static_cast<DWORD>(saved_->size()));
    else
        DeleteValue(HKEY_CURRENT_USER, kConnections, kDefaultConnection);
}

} // namespace testing_support
