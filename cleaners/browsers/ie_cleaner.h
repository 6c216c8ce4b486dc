#pragma once
// Internet Explorer's history: typed addresses and form data in the registry, the WinINet cache and
// cookies, the index files, and the history folder and store. Holds no state; lives for one job's
// Internet Explorer group.
#include "cleaners/browsers/browser_figures.h"
#include "cleaners/browsers/url_cache_search.h"

#include <windows.h>

#include <cstdint>

class IECleaner {
  public:
    void CleanTypedUrls();
    void CleanAutoFormsAndPasswords();
    // `withIndexFile` adds the index-file steps. 1 when the cache walk reached its normal end, else 0.
    int32_t CleanCache(int32_t withIndexFile);
    int32_t CleanCookies(int32_t withIndexFile);
    void CleanIndexFiles();
    // `ownerWindow` is the progress dialog; nothing is shown on it. The history store's status, or 0 when
    // an index file could not be opened.
    HRESULT CleanBrowserHistory(HWND ownerWindow);

    // What CleanCache and CleanCookies walk, counted without changing anything.
    static UrlCacheFigures CountCache();
    static UrlCacheFigures CountCookies();
    // What CleanBrowserHistory removes: the visits of the history store, and the files of the history
    // folder but its index files, which are the URL cache's own.
    static BrowserFigures CountBrowserHistory();
};
