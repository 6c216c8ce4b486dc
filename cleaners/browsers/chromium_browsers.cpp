#include "cleaners/browsers/chromium_browsers.h"

namespace {

constexpr std::wstring_view kChrome[] = {L"chrome.exe"};
// Edge's start-up boost keeps msedge.exe processes alive after its last window has closed.
constexpr std::wstring_view kEdge[] = {L"msedge.exe"};
constexpr std::wstring_view kBrave[] = {L"brave.exe"};

constexpr ChromiumBrowser kBrowsers[] = {
    {6, L"Google\\Chrome\\User Data", kChrome},
    {7, L"Microsoft\\Edge\\User Data", kEdge},
    {8, L"BraveSoftware\\Brave-Browser\\User Data", kBrave},
};

} // namespace

std::span<const ChromiumBrowser> ChromiumBrowsers() {
    return kBrowsers;
}

const ChromiumBrowser* FindChromiumBrowser(int32_t groupCode) {
    for (const ChromiumBrowser& browser : kBrowsers)
        if (browser.groupCode == groupCode) return &browser;
    return nullptr;
}
