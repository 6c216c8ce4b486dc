#pragma once
// Firefox's places.sqlite holds the bookmarks as well as the history (since Firefox 3): history is removed
// row by row, and the bookmarks, their folders, titles, tags and keywords stay. A database that is locked,
// damaged or of a schema we do not know is left exactly as it was. True when the change was committed.
#include <string>

// Every visit, every page that no bookmark or keyword refers to, the input history, page metadata, and the
// origins and annotations left without a page.
bool RemoveFirefoxHistory(const std::wstring& placesPath);
// The download visits and the download annotations, and the pages only a download knew.
bool RemoveFirefoxDownloads(const std::wstring& placesPath);
