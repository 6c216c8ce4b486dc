#pragma once
// Ends a browser's running processes so that it no longer holds open what its cleaners delete.
#include <cstdint>
#include <span>
#include <string_view>

struct ChromiumBrowser;

enum class BrowserKind : int32_t { InternetExplorer = 1, Firefox = 2, Chrome = 3, Opera = 4, Safari = 5 };

// Ends every process whose image name is the browser's, exactly and case-sensitively, then waits 500 ms
// for their files to be released. After a Firefox was seen, its last session goes too. Always 1.
int32_t TerminateBrowser(BrowserKind kind);
// Ends every process of each of the browser's image names (exact case), then waits 500 ms. Always 1.
int32_t TerminateBrowser(const ChromiumBrowser& browser);

// The image names of the browser whose items make up a clean group (4 Internet Explorer, 5 Firefox, and the
// Chromium-family rows); none for a group that is no browser's.
std::span<const std::wstring_view> BrowserImageNames(int32_t groupCode);
// The first of those names that a running process has (matched as TerminateBrowser matches it), or empty.
std::wstring_view RunningImageName(std::span<const std::wstring_view> imageNames);
