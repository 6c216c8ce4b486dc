#pragma once
// The per-user folders the file cleaners clean, looked up at run time and never created.
#include <windows.h>
#include <shlobj.h>

#include <string>

// Empty when the system has no such folder.
std::wstring KnownFolderPath(REFKNOWNFOLDERID id);
// The temporary folder of this process (TMP, TEMP ...), ending with a backslash.
std::wstring TempFolderPath();
// The Temp folder of the local application data; empty when there is none.
std::wstring LocalTempFolderPath();
