#include "cleaners/browsers/browser_figures.h"

#include "cleaners/windows/long_path.h"
#include "common/utf8.h"

#include <windows.h>

#include <sqlite3.h>

BrowserFigures& BrowserFigures::operator+=(const BrowserFigures& other) {
    files += other.files;
    rows += other.rows;
    formEntries += other.formEntries;
    if (kind == RecordKind::None) kind = other.kind;
    inUse = inUse || other.inUse;
    return *this;
}

namespace {

bool Busy(int rc) {
    const int primary = rc & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

} // namespace

BrowserFigures CountRows(const std::wstring& path, const char* statement) {
    BrowserFigures figures;
    const std::wstring file = ExtendedLengthPath(path);
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return figures;
    sqlite3* db = nullptr;
    // Read-only: SQLite creates no file and writes no journal; a hot journal left by a crash is not rolled
    // back by us either (the count then fails and reads as nothing).
    const int opened = sqlite3_open_v2(Utf8(file).c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    if (opened != SQLITE_OK) {
        sqlite3_close_v2(db);
        return figures;
    }
    sqlite3_stmt* query = nullptr;
    int rc = sqlite3_prepare_v2(db, statement, -1, &query, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(query);
    if (rc == SQLITE_ROW) {
        const sqlite3_int64 rows = sqlite3_column_int64(query, 0);
        figures.rows = rows > 0 ? static_cast<uint64_t>(rows) : 0;
    }
    figures.inUse = Busy(rc) || Busy(sqlite3_extended_errcode(db));
    sqlite3_finalize(query);
    sqlite3_close_v2(db);
    return figures;
}

FolderFigures MeasureFiles(const std::wstring& folder, std::span<const wchar_t* const> names) {
    FolderFigures figures;
    for (const wchar_t* name : names) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(ExtendedLengthPath(folder + name).c_str(), GetFileExInfoStandard, &data)) continue;
        const bool link = data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !link) continue;
        ++figures.files;
        if (!link) figures.bytes += (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return figures;
}

FolderFigures MeasureFolders(const std::wstring& folder, std::span<const wchar_t* const> names) {
    FolderFigures figures;
    for (const wchar_t* name : names) figures += MeasureFolder(ExtendedLengthPath(folder + name), true);
    return figures;
}
