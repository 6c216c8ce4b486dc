#pragma once
// Text on the prefix's clipboard, as a user's copy leaves it.
#include <windows.h>

namespace testing_support {

bool PutTextOnClipboard(const wchar_t* text);
bool ClipboardHasText();

} // namespace testing_support
