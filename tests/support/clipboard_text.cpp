#include "support/clipboard_text.h"

#include <cstring>
#include <cwchar>

namespace testing_support {

bool PutTextOnClipboard(const wchar_t* text) {
    if (!OpenClipboard(nullptr)) return false;
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
    if (!OpenClipboard(nullptr)) return false;
    const bool has = IsClipboardFormatAvailable(CF_UNICODETEXT);
    CloseClipboard();
    return has;
}

} // namespace testing_support
