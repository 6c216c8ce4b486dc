#include "cleaners/windows/file_cleaners.h"
#include "cleaners/windows/known_folders.h"

// Two passes, two methods: the second catches, with truncation, what the first left in the local temporary
// folder, which on most systems is the same folder.
void CleanTempFiles(const WindowsCleanContext& context) {
    const std::wstring temp = TempFolderPath();
    if (!temp.empty()) DeleteFolderContents(temp, true);
    const std::wstring localTemp = LocalTempFolderPath();
    if (!localTemp.empty()) PurgeTempFolder(context, localTemp);
}
