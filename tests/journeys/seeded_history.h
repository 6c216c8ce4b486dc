#pragma once
// History for every clean item in the journey's own prefix, where the installed program will look for it
// (the user's real shell folders, registry and clipboard), with a link to an outside folder in every folder
// a cleaner empties, and keepers beside the traces that no cleaner may touch.
#include "support/browser_databases.h"
#include "support/outside_sentinel.h"

#include <set>
#include <string>
#include <vector>

namespace journey {

class SeededHistory {
public:
    SeededHistory();

    // More files in Chrome's cache, each a trace of "gc_cache": a run that takes a while near its end.
    void AddCacheFiles(int count);

    // The clean items (catalogue ids) with a trace left, and those with a trace gone. Items without one
    // seeded: "recycle_bin" (Wine's bin is the unix user's trash, outside the prefix) and the Internet
    // Explorer items held by WinINet ("ie_cache", "ie_cookies", "ie_index", "ie_downloadlocation").
    std::set<std::wstring> ItemsLeft() const { return ItemsWith(true); }
    std::set<std::wstring> ItemsCleaned() const { return ItemsWith(false); }
    // Every item seeded.
    std::set<std::wstring> Items() const;
    // The keepers that are gone, and whether the outside folder is untouched.
    std::vector<std::wstring> MissingKeepers() const;
    bool SentinelsIntact() const { return outside_.Intact(); }

private:
    // Key: a key with a subkey; FlatKey: a key with values only (as Windows keeps the forms stores);
    // Visits: the visits in Firefox's places database, whose bookmarks are keepers.
    enum class Kind { File, Key, FlatKey, Value, Clipboard, Visits };
    struct Trace {
        const wchar_t* item;
        Kind kind;
        std::wstring where; // file path, or HKCU key
        std::wstring name;  // value name
    };
    void Seed(const Trace& trace);
    std::set<std::wstring> ItemsWith(bool tracePresent) const;
    static bool Present(const Trace& trace);

    testing_support::OutsideSentinel outside_;
    std::vector<Trace> traces_;
    std::vector<std::wstring> keepers_; // files and HKCU values ("key|name")
    std::wstring placesPath_;
    testing_support::PlacesBookmarks bookmarks_; // as seeded; every clean keeps them
};

} // namespace journey
