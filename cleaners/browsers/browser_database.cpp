#include "cleaners/browsers/browser_database.h"

#include "cleaners/windows/long_path.h"
#include "cleaners/windows/removed_tally.h"
#include "common/scoped_handles.h"
#include "common/utf8.h"

#include <windows.h>

#include <sqlite3.h>

#include <cstring>

namespace {

// A browser that still runs after the job tried to end it holds its database for good: waiting longer
// would only stall the job.
constexpr int kBusyTimeoutMs = 1000;

enum class FileKind { NotSqlite, RollbackJournal, WriteAheadLog };

// What the first bytes of the file say: SQLite's magic text, then at offset 18 the write version, 2 for a
// database in write-ahead mode. Read without SQLite, so that a locked database is not waited for twice.
FileKind KindOfFile(const std::wstring& path) {
    scoped::FileHandle file(CreateFileW(ExtendedLengthPath(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    static constexpr char kMagic[] = "SQLite format 3"; // with its terminating NUL: 16 bytes
    unsigned char header[20] = {};
    DWORD got = 0;
    if (!file || !ReadFile(file.Get(), header, sizeof header, &got, nullptr) || got != sizeof header ||
        std::memcmp(header, kMagic, sizeof kMagic) != 0)
        return FileKind::NotSqlite;
    return header[18] == 2 ? FileKind::WriteAheadLog : FileKind::RollbackJournal;
}

// Whether `sql`, with `first` and `second` bound to its parameters, yields a row.
bool YieldsRow(sqlite3* db, const char* sql, const std::string& first, const std::string& second = {}) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) return false;
    sqlite3_bind_text(statement, 1, first.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_bind_parameter_count(statement) > 1)
        sqlite3_bind_text(statement, 2, second.c_str(), -1, SQLITE_TRANSIENT);
    const bool row = sqlite3_step(statement) == SQLITE_ROW;
    sqlite3_finalize(statement);
    return row;
}

// Whether the file holds free pages: what was removed stays readable there until the database is rebuilt.
bool HoldsFreePages(sqlite3* db) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA freelist_count", -1, &statement, nullptr) != SQLITE_OK) return false;
    const bool free = sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_int64(statement, 0) > 0;
    sqlite3_finalize(statement);
    return free;
}

} // namespace

void BrowserDatabase::Closer::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

std::optional<BrowserDatabase> BrowserDatabase::Open(const std::wstring& path) {
    const FileKind kind = KindOfFile(path);
    if (kind == FileKind::NotSqlite) return std::nullopt;
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(Utf8(ExtendedLengthPath(path)).c_str(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    BrowserDatabase database(raw);
    if (rc != SQLITE_OK) return std::nullopt;
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    // What a change sets aside stays in memory rather than in a temporary file; a history of tens of
    // megabytes is read once through a mapping of the file, not again for the integrity check and the
    // rebuild.
    if (!database.Execute(
            "PRAGMA temp_store = MEMORY; PRAGMA cache_size = -65536; PRAGMA mmap_size = 67108864"))
        return std::nullopt;
    // In write-ahead mode the database stays consistent without a flush at every commit (a power loss may
    // only undo the last change), as the browsers themselves keep it; a rollback journal keeps full flushes.
    if (kind == FileKind::WriteAheadLog && !database.Execute("PRAGMA synchronous = NORMAL"))
        return std::nullopt;
    return database;
}

bool BrowserDatabase::HasTable(const std::string& table) const {
    return YieldsRow(db_.get(), "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?1", table);
}

bool BrowserDatabase::HasColumn(const std::string& table, const std::string& column) const {
    return YieldsRow(db_.get(), "SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2", table, column);
}

bool BrowserDatabase::Execute(const std::string& sql) {
    return sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool BrowserDatabase::ExecuteCounted(const std::string& sql, RemovedRows kind) {
    if (!Execute(sql)) return false;
    const sqlite3_int64 changed = sqlite3_changes64(db_.get());
    (kind == RemovedRows::FormEntries ? uncommittedFormEntries_ : uncommittedRows_) +=
        changed > 0 ? static_cast<uint64_t>(changed) : 0;
    return true;
}

bool BrowserDatabase::IntegrityOk() {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_.get(), "PRAGMA integrity_check", -1, &statement, nullptr) != SQLITE_OK)
        return false;
    // One row "ok", or one row per fault found.
    const bool row = sqlite3_step(statement) == SQLITE_ROW;
    const auto* verdict = row ? reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)) : nullptr;
    bool ok = verdict && std::strcmp(verdict, "ok") == 0;
    ok = ok && sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_finalize(statement);
    return ok;
}

// IMMEDIATE takes the write lock before anything is read, so the schema that `change` checks is the one
// it changes.
bool BrowserDatabase::ChangeInOneTransaction(const std::function<bool(BrowserDatabase&)>& change) {
    if (!Execute("BEGIN IMMEDIATE")) return false;
    const auto changesBefore = sqlite3_total_changes64(db_.get());
    uncommittedRows_ = uncommittedFormEntries_ = 0;
    if (!change(*this) || !IntegrityOk() || !Execute("COMMIT")) {
        Execute("ROLLBACK");
        return false;
    }
    TallyRemovedRows(uncommittedRows_);
    TallyRemovedRows(uncommittedFormEntries_, RemovedRows::FormEntries);
    // Removed rows must not stay readable in the pages they leave free: rebuilding the database keeps only
    // the rows that remain, and costs about one copy of them. Should it fail, the change still stands.
    // NOTE: free pages without a change of ours are rebuilt too: a run ended between its commit and the end
    // of its rebuild leaves the rows it removed there, and the next run has nothing left to remove.
    if (sqlite3_total_changes64(db_.get()) != changesBefore || HoldsFreePages(db_.get())) Execute("VACUUM");
    return true;
}
