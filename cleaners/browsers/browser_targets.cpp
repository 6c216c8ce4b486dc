#include "cleaners/browsers/browser_targets.h"

#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/removed_tally.h"
#include "cleaners/windows/shell_delete.h"

#include <cwchar>
#include <utility>

namespace {

// What one statement counts, typed form entries apart when the item's own records are another kind.
BrowserFigures Counted(const std::wstring& profile, const CountedRows& rows, const BrowserTargets& targets) {
    BrowserFigures counted = CountRows(profile + rows.database, rows.statement);
    if (rows.kind == RecordKind::FormEntries && targets.kind != RecordKind::FormEntries)
        std::swap(counted.formEntries, counted.rows);
    return counted;
}

// The rows the item counts in the database `name`; none when it counts none there.
BrowserFigures RowsIn(const std::wstring& profile, const wchar_t* name, const BrowserTargets& targets) {
    BrowserFigures figures;
    for (const CountedRows& counted : targets.rows)
        if (std::wcscmp(counted.database, name) == 0) figures += Counted(profile, counted, targets);
    return figures;
}

} // namespace

BrowserFigures MeasureTargets(const std::wstring& profile, const BrowserTargets& targets) {
    BrowserFigures figures{.kind = targets.kind};
    for (const CountedRows& rows : targets.rows) figures += Counted(profile, rows, targets);
    if (!targets.rows.empty()) return figures;
    figures.files += MeasureFiles(profile, targets.files);
    figures.files += MeasureFolders(profile, targets.folders);
    return figures;
}

// An item counted in rows removes rows, not files: a database file that goes counts the rows it held just
// before, and no file counts at all.
void RemoveTargets(const std::wstring& profile, const BrowserTargets& targets) {
    for (const wchar_t* name : targets.files) {
        if (targets.rows.empty()) {
            TruncateAndDelete(profile + name);
            continue;
        }
        const BrowserFigures rows = RowsIn(profile, name, targets);
        bool gone = false;
        {
            const RemovedTally filesUncounted;
            gone = TruncateAndDelete(profile + name);
        }
        if (gone) {
            TallyRemovedRows(rows.rows);
            TallyRemovedRows(rows.formEntries, RemovedRows::FormEntries);
        }
    }
    for (const wchar_t* folder : targets.folders) ShellDelete(profile + folder + L"\\*");
}
