#pragma once
// The only errors the browser cleaners ever show: an Internet Explorer index file that exists but
// cannot be opened for its wipe.
#include <windows.h>

enum class IndexFileMessage { Cache, Cookies, IndexAll, Index, BrowserHistory };

// Shows the message in a modal box captioned with the program's path; returns when it is dismissed.
void ShowIndexFileMessage(IndexFileMessage message);

// The box itself; tests replace it so that nothing waits for a person. Returns the one replaced.
using MessageBoxFunction = int(WINAPI*)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
MessageBoxFunction ReplaceIndexFileMessageBox(MessageBoxFunction replacement);
