#pragma once
// Firefox's history: files and history rows of every profile profiles.ini lists, and their local caches.
// Lives for one job's Firefox group.
#include "cleaners/browsers/firefox_profile.h"

#include <windows.h>

#include <string>
#include <vector>

// The session one profile would restore at Firefox's next start.
void RemoveFirefoxSession(const std::wstring& profileFolder);

class FirefoxCleaner {
  public:
    // Finds the profiles now, once for every item of the group.
    FirefoxCleaner();

    void CleanCookies();
    void CleanUrls();
    void CleanAutoForms();
    void CleanDownloadHistory();
    void CleanLastSession();
    void CleanPasswords();
    // `ownerWindow` is the progress dialog; nothing is shown on it.
    void CleanCache(HWND ownerWindow);

    const std::vector<FirefoxProfile>& Profiles() const { return profiles_; }

  private:
    const std::vector<FirefoxProfile> profiles_;
};
