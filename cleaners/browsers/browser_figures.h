#pragma once
// What a browser item would remove, counted without changing anything: the rows of its databases, or the
// files of its folders and loose files.
#include "cleaners/windows/folder_measure.h"

#include <cstdint>
#include <span>
#include <string>

// What a browser item's rows are, as its line names them.
enum class RecordKind { None, Visits, Cookies, Downloads, Logins, FormEntries, CacheEntries };

struct BrowserFigures {
    FolderFigures files;     // files and bytes of the item's folders and loose files
    uint64_t rows = 0;       // rows of its databases that it removes
    RecordKind kind = RecordKind::None;
    uint64_t formEntries = 0; // typed form entries it removes beside rows of another kind
    bool inUse = false;      // a database was held locked: its rows are not counted

    BrowserFigures& operator+=(const BrowserFigures& other);
};

// Rows that a statement of the form "SELECT count(*) ..." counts in one database file.
struct CountedRows {
    const wchar_t* database; // below the profile folder
    const char* statement;
    RecordKind kind = RecordKind::None; // None: the item's own kind; FormEntries: form entries beside them
};

// The database at `path`, opened read-only: never created, no journal written, a lock waited for not at all.
// A missing file, a foreign one or a schema without the statement's table counts no rows; a database held
// locked reads as in use.
BrowserFigures CountRows(const std::wstring& path, const char* statement);
// Each of `names` below `folder`, counted as a file with its size when it is one; a link counts as a file
// of no bytes and is never followed.
FolderFigures MeasureFiles(const std::wstring& folder, std::span<const wchar_t* const> names);
// The contents of each of `names` below `folder`.
FolderFigures MeasureFolders(const std::wstring& folder, std::span<const wchar_t* const> names);
