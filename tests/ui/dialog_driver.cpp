#include "dialog_driver.h"

#include "ui/element_ops.h"

namespace ui_test {

namespace {

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM param) {
    wchar_t name[16] = L"";
    GetClassNameW(hwnd, name, 16);
    if (std::wstring(name) == L"#32770" && IsWindowVisible(hwnd))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

void HLCALL NoteText(const wchar_t* text, unsigned length, void* param) {
    static_cast<std::wstring*>(param)->assign(text, length);
}

} // namespace

std::vector<HWND> DialogsOf(DWORD threadId) {
    std::vector<HWND> found;
    EnumThreadWindows(threadId, CollectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool WaitFor(const std::function<bool()>& condition, unsigned ms) {
    for (DWORD start = GetTickCount();; Sleep(10)) {
        if (condition()) return true;
        if (GetTickCount() - start >= ms) return false;
    }
}

DialogDriver::DialogDriver(std::function<void(HWND dialog)> steps) {
    DWORD runner = GetCurrentThreadId();
    thread_ = std::thread([this, steps, runner] {
        HWND dialog = nullptr;
        sawDialog_ = WaitFor([&] {
            for (HWND d : DialogsOf(runner)) {
                RECT rc{};
                GetWindowRect(d, &rc);
                if (rc.right > rc.left) dialog = d;
            }
            return dialog != nullptr;
        }, 10000);
        if (!sawDialog_) return;
        Sleep(150); // the page is drawn and the default button focused
        steps(dialog);
        if (!WaitFor([&] { return !IsWindow(dialog); }, 10000)) {
            leftOpen_ = true;
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        }
    });
}

DialogDriver::~DialogDriver() { Join(); }

void DialogDriver::Join() {
    if (thread_.joinable()) thread_.join();
}

std::wstring TextOf(HWND dialog, const wchar_t* id) {
    std::wstring text;
    htmlayout::scoped_element element = htmlayout::FindById(htmlayout::RootOf(dialog), id);
    if (element) HTMLayoutGetElementInnerText16(element, NoteText, &text);
    return text;
}

POINT ScreenPointOf(HWND dialog, const wchar_t* id, int dx, int dy) {
    RECT rc{};
    HTMLayoutGetElementLocation(htmlayout::FindById(htmlayout::RootOf(dialog), id), &rc, ROOT_RELATIVE | BORDER_BOX);
    POINT p{dx < 0 ? (rc.left + rc.right) / 2 : rc.left + dx, dy < 0 ? (rc.top + rc.bottom) / 2 : rc.top + dy};
    ClientToScreen(dialog, &p);
    return p;
}

} // namespace ui_test
