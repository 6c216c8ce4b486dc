#pragma once
// Chrome's history: files and folders of the Default profile, where old and current versions keep it.
// Lives for one job's Chrome group.
#include <windows.h>

#include <cstdint>
#include <string>

enum class ChromeFileKind : int32_t { Cookies = 2, History = 3, DownloadHistory = 5, WebData = 6 };

class ChromeCleaner {
  public:
    ChromeCleaner();

    // `ownerWindow` is the progress dialog; nothing is shown on it.
    void CleanCache(HWND ownerWindow);
    void CleanProfileFile(ChromeFileKind kind);
    // The last session and its tabs, which Chrome restores on its next start.
    void CleanLastSession();

  private:
    // With the trailing backslash; empty when there is no local application-data folder.
    const std::wstring profileFolder_;
};
