#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/folder_targets.h"

void CleanTempFiles(const WindowsCleanContext& context) { RemoveFolderTargets(context, FolderTargetItem::TempFiles); }
