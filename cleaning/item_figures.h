#pragma once
// What a clean item's targets hold, as counted before a run and again after its step, and the words a
// progress line shows for it.
#include "cleaners/browsers/browser_figures.h"
#include "cleaners/windows/removed_tally.h"

#include <cstdint>
#include <string>

enum class ClipboardContent { Unknown, Empty, Text, Other };

struct ItemFigures {
    bool measured = false; // false: the item's targets are not counted (its line shows nothing)
    uint64_t files = 0, bytes = 0; // files of folders, with the bytes of files and of recycled items
    uint64_t recycled = 0;         // items in the Recycle Bin
    uint64_t entries = 0;          // registry values and keys
    uint64_t records = 0;          // rows of browser databases, of the kind below
    RecordKind recordKind = RecordKind::None;
    uint64_t formEntries = 0;      // typed form entries of a browser item whose records are another kind
    bool inUse = false;            // a database was held locked, so its rows are not counted
    ClipboardContent clipboard = ClipboardContent::Unknown;

    // Measured, and nothing there.
    bool Nothing() const;
    bool operator==(const ItemFigures&) const = default;
};

// A browser item's count as a line's figures.
ItemFigures FromBrowser(const BrowserFigures& figures);
// "visits", "cookie"...: the noun of `count` rows of `kind`.
const wchar_t* RecordNoun(RecordKind kind, uint64_t count);

// What the clipboard held, as a line's figure: "empty" for nothing.
ClipboardContent ClipboardContentOf(ClipboardData data);
// A step's own count of what it removed, in the figures of its item as the re-check after it reads them
// (`after`): measured only when that was, with its kind of rows; a clipboard emptied of nothing removed
// "empty".
ItemFigures FromRemoved(const RemovedCounts& removed, const ItemFigures& after);

// "1,204 files, 48.2 MB", "12 entries", "3 items, 1.2 MB", "3,114 visits", "in use", "text", "empty",
// "nothing found"; empty when not measured.
std::wstring FoundText(const ItemFigures& figures);
// 23114 -> "23,114".
std::wstring GroupedNumber(uint64_t number);
// 1288490189 -> "1.2 GB"; bytes below 1 KB as "512 bytes".
std::wstring SizeText(uint64_t bytes);
