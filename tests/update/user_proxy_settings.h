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
    std::optional<std::vector<BYTE>> saved_; // none: there were no settings
    DWORD savedType_ = REG_NONE;
};

} // namespace testing_support
