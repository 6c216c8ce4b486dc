#include "cleaners/browsers/browser_targets.h"

#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/shell_delete.h"

#include <utility>

BrowserFigures MeasureTargets(const std::wstring& profile, const BrowserTargets& targets) {
    BrowserFigures figures{.kind = targets.kind};
    for (const CountedRows& rows : targets.rows) {
        BrowserFigures counted = CountRows(profile + rows.database, rows.statement);
        if (rows.kind == RecordKind::FormEntries && targets.kind != RecordKind::FormEntries)
            std::swap(counted.formEntries, counted.rows);
        figures += counted;
    }
    if (!targets.rows.empty()) return figures;
    figures.files += MeasureFiles(profile, targets.files);
    figures.files += MeasureFolders(profile, targets.folders);
    return figures;
}

void RemoveTargets(const std::wstring& profile, const BrowserTargets& targets) {
    for (const wchar_t* name : targets.files) TruncateAndDelete(profile + name);
    for (const wchar_t* folder : targets.folders) ShellDelete(profile + folder + L"\\*");
}
