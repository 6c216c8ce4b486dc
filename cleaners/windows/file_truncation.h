#pragma once
#include <windows.h>

#include <string>

// Empties an existing file (`path` extended, `attributes` as listed). Never creates a file, and never
// empties a read-only file or data that a link or a second hard link shares with a name elsewhere.
void TruncateFile(const std::wstring& path, DWORD attributes);

// Empties `path` as TruncateFile does and deletes it through the same handle; what may not be emptied is
// only deleted (read-only first made writable). True when the file is gone, or goes when the last handle
// another program holds to it closes.
bool EmptyAndDeleteFile(const std::wstring& path, DWORD attributes);
