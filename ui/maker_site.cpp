#include "ui/maker_site.h"

#include "update/version_check.h"

#include <windows.h>

#include <shellapi.h>

namespace htmlayout {

std::wstring MakerSiteAddress(std::wstring_view page) {
    return std::wstring(L"http://") + kMakerSiteHost + L"/buylinks/tracewipe.php?url=" + std::wstring(page);
}

void OpenAddress(const std::wstring& address) {
    ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace htmlayout
