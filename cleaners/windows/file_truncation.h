#pragma once
#include <windows.h>

#include <string>

// Empties an existing file (`path` extended, `attributes` as listed); never creates one, and never
// empties through a link, whose target is not ours.
void TruncateFile(const std::wstring& path, DWORD attributes);
