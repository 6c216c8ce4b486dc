#include "app/command_line.h"

namespace {
std::wstring storedCommandLine;
}

void StoreCommandLine(const wchar_t* commandLine) { storedCommandLine = commandLine ? commandLine : L""; }

const std::wstring& StoredCommandLine() { return storedCommandLine; }

bool IsStartupCommandLine() { return storedCommandLine == L"-startup"; }
