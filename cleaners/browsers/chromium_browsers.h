#pragma once
// The one table of Chromium-family browsers: where each keeps its profiles and which processes are it.
// Adding a browser is one row here, plus its clean group, sub-tab and page lines.
#include <cstdint>
#include <span>
#include <string_view>

struct ChromiumBrowser {
    int32_t groupCode;          // the clean group of its items (6 Google Chrome, 7 Microsoft Edge, 8 Brave)
    std::wstring_view userData; // the user-data folder, below the local application-data folder
    std::span<const std::wstring_view> executables; // image names ended before its items are cleaned
};

std::span<const ChromiumBrowser> ChromiumBrowsers();
// nullptr for a group that is no Chromium-family browser.
const ChromiumBrowser* FindChromiumBrowser(int32_t groupCode);
