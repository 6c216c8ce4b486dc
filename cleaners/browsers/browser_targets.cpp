#include "cleaners/browsers/browser_targets.h"

#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/removed_tally.h"
#include "cleaners/windows/shell_delete.h"

#include <cwchar>

BrowserFigures MeasureTargets(const std::wstring& profile, const BrowserTargets& targets) {
    BrowserFigures figures{.kind = targets.kind};
    for (const CountedRows& rows : targets.rows) figures += CountRows(profile + rows.database, rows.statement);
    if (!targets.rows.empty()) return figures;
    figures.files += MeasureFiles(profile, targets.files);
    figures.files += MeasureFolders(profile, targets.folders);
    return figures;
}

namespace {

// The rows the item counts in the database `name`; none when it counts none there.
uint64_t RowsIn(const std::wstring& profile, const wchar_t* name, std::span<const CountedRows> rows) {
    uint64_t count = 0;
    for (const CountedRows& counted : rows)
        if (std::wcscmp(counted.database, name) == 0) count += CountRows(profile + name, counted.statement).rows;
    return count;
}

} // namespace

// An item counted in rows removes rows, not files: a database file that goes counts the rows it held just
// before, and no file counts at all.
void RemoveTargets(const std::wstring& profile, const BrowserTargets& targets) {
    for (const wchar_t* name : targets.files) {
        if (targets.rows.empty()) {
            TruncateAndDelete(profile + name);
            continue;
        }
        const uint64_t rows = RowsIn(profile, name, targets.rows);
        bool gone = false;
        {
            const RemovedTally filesUncounted;
            gone = TruncateAndDelete(profile + name);
        }
        if (gone) TallyRemovedRows(rows);
    }
    for (const wchar_t* folder : targets.folders) ShellDelete(profile + folder + L"\\*");
}
