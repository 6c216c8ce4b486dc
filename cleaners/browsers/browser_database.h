#pragma once
// A browser's SQLite database, opened to remove history rows from it. It is never created, never deleted,
// and never left half-changed: every change is one transaction that is committed only when it succeeded
// whole and the database passes SQLite's integrity check.
#include "cleaners/windows/removed_tally.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

struct sqlite3;

class BrowserDatabase {
  public:
    // The existing file at `path`, when it starts with SQLite's header. A missing, empty or foreign file
    // yields nothing, so that SQLite never writes a database into it.
    static std::optional<BrowserDatabase> Open(const std::wstring& path);

    bool HasTable(const std::string& table) const;
    bool HasColumn(const std::string& table, const std::string& column) const;
    // Runs `sql` (one or more statements); false at the first failure.
    bool Execute(const std::string& sql);
    // Runs the one statement `sql`, whose changed rows are what the item removes: they are counted as
    // removed (removed_tally.h) once the transaction they are part of is committed.
    bool ExecuteCounted(const std::string& sql, RemovedRows kind = RemovedRows::Records);

    // Runs `change` inside one write transaction. A database that another process holds locked longer
    // than a second, a `change` that returns false or fails, or a failed integrity check leave the database
    // as it was. True when the change was committed; the database is then rebuilt when the change removed
    // anything or the file holds free pages.
    bool ChangeInOneTransaction(const std::function<bool(BrowserDatabase&)>& change);

  private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    explicit BrowserDatabase(sqlite3* db) : db_(db) {}

    bool IntegrityOk();

    std::unique_ptr<sqlite3, Closer> db_;
    uint64_t uncommittedRows_ = 0, uncommittedFormEntries_ = 0;
};
