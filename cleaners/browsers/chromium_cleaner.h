#pragma once
// The history of one Chromium-family browser (a row of chromium_browsers.h): files, folders and rows of
// every profile, where old and current versions keep them. Lives for one job's group of that browser.
#include "cleaners/browsers/chromium_browsers.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

enum class ChromeFileKind : int32_t { Cookies = 2, History = 3, DownloadHistory = 5, WebData = 6 };

class ChromiumCleaner {
  public:
    // Finds the browser's profiles now, once for every item of the group.
    explicit ChromiumCleaner(const ChromiumBrowser& browser);

    // `ownerWindow` is the progress dialog; nothing is shown on it.
    void CleanCache(HWND ownerWindow);
    void CleanProfileFile(ChromeFileKind kind);
    // The last session and its tabs, which the browser restores on its next start.
    void CleanLastSession();

    // Each with its trailing backslash; none when there is no local application-data folder.
    const std::vector<std::wstring>& ProfileFolders() const { return profileFolders_; }

  private:
    const std::vector<std::wstring> profileFolders_;
};
