#pragma once
// The user's Internet Explorer proxy settings in the test prefix's registry, put back as they were when
// the object goes.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct ProxySettings {
    std::string proxy;         // "host:port"; empty for none
    std::string bypass;        // ";"-separated host list
    std::string autoConfigUrl; // automatic configuration script; empty for none
};

class ScopedUserProxySettings {
  public:
    explicit ScopedUserProxySettings(const ProxySettings& settings);
    ~ScopedUserProxySettings();
    ScopedUserProxySettings(const ScopedUserProxySettings&) = delete;
    ScopedUserProxySettings& operator=(const ScopedUserProxySettings&) = delete;

  private:
    struct SavedValue {
        std::wstring key;
        std::wstring name;
        std::optional<std::vector<BYTE>> data; // none: the value did not exist
        DWORD type = REG_NONE;
    };
    std::vector<SavedValue> saved_;
};

} // namespace testing_support
