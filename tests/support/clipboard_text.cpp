#include "support/clipboard_text.h"

#include <cstring>
#include <cwchar>

namespace testing_support {
namespace {

// Wine's clipboard manager holds the clipboard open for a moment after every change.
bool OpenBusyClipboard() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(20);
    }
    return false;
}

} // namespace

bool PutTextOnClipboard(const wchar_t* text) {
    if (!OpenBusyClipboard()) return false;
    EmptyClipboard();
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(memory), text, bytes);
    GlobalUnlock(memory);
    const bool set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    return set;
}

bool ClipboardHasText() {
    if (!OpenBusyClipboard()) return false;
    const bool has = IsClipboardFormatAvailable(CF_UNICODETEXT);
    CloseClipboard();
    return has;
}

} // namespace testing_support
