#pragma once
// The command line the entry point was given (without the program name), kept for the whole process.
#include <string>
#include <vector>

void StoreCommandLine(const wchar_t* commandLine);
const std::wstring& StoredCommandLine();
// Exactly "-startup", whole and case-sensitive: the log-on start that goes straight to the tray.
bool IsStartupCommandLine();
// The arguments after the program's name, split as the C runtime splits them.
std::vector<std::wstring> ProgramArguments();
