// Runs one browser-database step of the real cleaners, for the tests that end it part-way: it signals the
// event named on its command line just before the step begins.
// Usage: browser_step ff_urls|gc_downloads <event name>
#include "cleaners/browsers/chromium_cleaner.h"
#include "cleaners/browsers/firefox_cleaner.h"

#include <windows.h>

#include <string>

constexpr int32_t kGoogleChrome = 6; // its clean group, which names it among the Chromium-family browsers

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::wstring step = argv[1];
    HANDLE begins = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    if (!begins) return 1;
    SetEvent(begins);
    CloseHandle(begins);
    if (step == L"ff_urls")
        FirefoxCleaner().CleanUrls();
    else if (step == L"gc_downloads")
        ChromiumCleaner(*FindChromiumBrowser(kGoogleChrome))
            .CleanProfileFile(ChromeFileKind::DownloadHistory);
    else
        return 2;
    return 0;
}
