#pragma once
#include <windows.h>

#include <string>

// Empties an existing file (`path` extended, `attributes` as listed). Never creates a file, and never
// empties a read-only file or data that a link or a second hard link shares with a name elsewhere.
void TruncateFile(const std::wstring& path, DWORD attributes);
