#pragma once
// Firefox's history: files and history rows of the profile Firefox uses, and the local data of every
// profile. Holds no state; lives for one job's Firefox group.
#include <windows.h>

class FirefoxCleaner {
  public:
    void CleanCookies();
    void CleanUrls();
    void CleanAutoForms();
    void CleanDownloadHistory();
    void CleanLastSession();
    void CleanPasswords();
    // `ownerWindow` is the progress dialog; nothing is shown on it.
    void CleanCache(HWND ownerWindow);
};
