#pragma once
// Ends a browser's running processes so that it no longer holds open what its cleaners delete.
#include <cstdint>

enum class BrowserKind : int32_t { InternetExplorer = 1, Firefox = 2, Chrome = 3, Opera = 4, Safari = 5 };

// Ends every process whose image name is the browser's, exactly and case-sensitively, then waits 500 ms
// for their files to be released. After a Firefox was seen, its last session goes too. Always 1.
int32_t TerminateBrowser(BrowserKind kind);

// Whether a process of the browser's image name (matched as TerminateBrowser matches it) runs now.
bool BrowserRunning(BrowserKind kind);
// "firefox.exe" ...; null for a kind without one.
const wchar_t* BrowserImageName(BrowserKind kind);
