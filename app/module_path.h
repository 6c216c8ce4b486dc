#pragma once
// The program's own full path, captured once at start-up, and the paths built from it.
#include <string>

// Reads the path whole, however long it is (a path beyond MAX_PATH is not cut short).
void CaptureModulePath();
const std::wstring& ModulePath();
// "Tracewipe HotKey.exe" in the program's own folder.
std::wstring LauncherPath();
// The path in double quotes, as a Run value needs it when the path holds spaces.
std::wstring Quoted(const std::wstring& path);
