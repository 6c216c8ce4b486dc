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

  private:
    // A database of each profile with the "-wal" and "-shm" files SQLite keeps beside it in write-ahead mode,
    // then the file older versions of Firefox kept the same data in.
    void TruncateAndDeleteDatabase(const wchar_t* database, const wchar_t* older);

    const std::vector<FirefoxProfile> profiles_;
};
