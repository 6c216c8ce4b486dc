#pragma once
// Where the folder items keep their traces and what removes them: one description that the cleaners, the
// measurement before a run and the re-check after each step all read.
#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/folder_measure.h"

#include <string>
#include <vector>

enum class FolderRule {
    Contents,               // everything inside, desktop.ini included; the folder stays
    ContentsKeepDesktopIni, // the same, keeping every desktop.ini
    PurgeTop,               // the second temporary-files pass: every file emptied before it goes
};

struct FolderTarget {
    std::wstring folder; // as the system names it; empty when the system has no such folder
    FolderRule rule;
};

enum class FolderTargetItem { TempFiles, RecentDocuments, NetworkHistory };

// Looked up now, in the order the cleaner works through them.
std::vector<FolderTarget> FolderTargets(FolderTargetItem item);
void RemoveFolderTargets(const WindowsCleanContext& context, FolderTargetItem item);
// Each folder counted once, even when two targets name it (the two temporary folders usually are one).
FolderFigures MeasureFolderTargets(FolderTargetItem item);
