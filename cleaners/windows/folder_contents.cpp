#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/link_safe_removal.h"
#include "cleaners/windows/long_path.h"

bool DeleteFolderContents(const std::wstring& folder, bool deleteDesktopIni) {
    const std::wstring full = ExtendedLengthPath(folder);
    if (!IsWalkableFolder(full)) return false;
    return RemoveContents(full, {.keepDesktopIni = !deleteDesktopIni}).listed;
}
