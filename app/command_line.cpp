#include "app/command_line.h"

#include <windows.h>
#include <shellapi.h>

namespace {
std::wstring storedCommandLine;
}

void StoreCommandLine(const wchar_t* commandLine) { storedCommandLine = commandLine ? commandLine : L""; }

const std::wstring& StoredCommandLine() { return storedCommandLine; }

bool IsStartupCommandLine() { return storedCommandLine == L"-startup"; }

std::vector<std::wstring> ProgramArguments() {
    // The whole command line: the entry point's part lacks the program name, which CommandLineToArgvW
    // would otherwise take its first argument for.
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return {};
    std::vector<std::wstring> result(arguments + (count > 0 ? 1 : 0), arguments + count);
    LocalFree(arguments);
    return result;
}
