#pragma once
// Scoped owners for what WinHTTP hands out: its handles, and the strings the caller frees with GlobalFree.
// NOTE: <winhttp.h> cannot share a translation unit with <wininet.h>; include this only where WinHTTP is
// used.
#include "common/scoped_handles.h"

#include <winhttp.h>

namespace scoped {

struct WinHttpTraits {
    using Raw = HINTERNET;
    static Raw None() { return nullptr; }
    static BOOL Close(Raw h) { return WinHttpCloseHandle(h); }
};
using WinHttpHandle = Handle<WinHttpTraits>;

// The user's Internet Explorer proxy settings; the strings are released with the record.
struct UserProxyConfig : WINHTTP_CURRENT_USER_IE_PROXY_CONFIG {
    UserProxyConfig() : WINHTTP_CURRENT_USER_IE_PROXY_CONFIG{} {}
    ~UserProxyConfig() {
        GlobalFree(lpszAutoConfigUrl);
        GlobalFree(lpszProxy);
        GlobalFree(lpszProxyBypass);
    }
    UserProxyConfig(const UserProxyConfig&) = delete;
    UserProxyConfig& operator=(const UserProxyConfig&) = delete;
};

// The answer of an automatic configuration script; the strings are released with the record.
struct ProxyInfo : WINHTTP_PROXY_INFO {
    ProxyInfo() : WINHTTP_PROXY_INFO{} {}
    ~ProxyInfo() {
        GlobalFree(lpszProxy);
        GlobalFree(lpszProxyBypass);
    }
    ProxyInfo(const ProxyInfo&) = delete;
    ProxyInfo& operator=(const ProxyInfo&) = delete;
};

} // namespace scoped
