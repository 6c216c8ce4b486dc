#include "dialog_stage.h"

#include "support/real_input.h"
#include "ui/element_ops.h"

namespace cleaning_test {
namespace {

constexpr UINT kRunWork = WM_APP + 7;

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM param) {
    wchar_t name[16] = L"";
    GetClassNameW(hwnd, name, 16);
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    if (std::wstring(name) == L"#32770" && IsWindowVisible(hwnd) && rc.right > rc.left)
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

void HLCALL NoteText(const wchar_t* text, unsigned length, void* param) {
    static_cast<std::wstring*>(param)->assign(text, length);
}

htmlayout::scoped_element Element(HWND dialog, const wchar_t* id) {
    return htmlayout::FindById(htmlayout::RootOf(dialog), id);
}

} // namespace

OwnerWindow::OwnerWindow(RECT area) {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = L"TracewipeCleaningTestOwner";
        return RegisterClassW(&wc);
    }();
    hwnd_ = CreateWindowExW(0, MAKEINTATOM(atom), L"Owner", WS_POPUP | WS_VISIBLE, area.left, area.top,
                            area.right - area.left, area.bottom - area.top, nullptr, nullptr, nullptr, nullptr);
    UpdateWindow(hwnd_);
}

OwnerWindow::~OwnerWindow() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void OwnerWindow::OnUiThread(const std::function<void()>& work) const {
    SendMessageW(hwnd_, kRunWork, 0, reinterpret_cast<LPARAM>(&work));
}

LRESULT CALLBACK OwnerWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunWork) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

User::User(std::function<void()> steps) : runner_(GetCurrentThreadId()) {
    thread_ = std::thread([steps = std::move(steps), runner = runner_] {
        steps();
        if (!WaitFor([&] { return VisibleDialogsOf(runner).empty(); }, 15000))
            for (HWND dialog : VisibleDialogsOf(runner)) PostMessageW(dialog, WM_CLOSE, 0, 0);
    });
}

User::~User() { Join(); }

void User::Join() {
    if (thread_.joinable()) thread_.join();
}

void Press(POINT screen) {
    SetCursorPos(screen.x + 40, screen.y + 40);
    testing_support::ClickAt(screen);
}

bool WaitFor(const std::function<bool()>& condition, unsigned ms) {
    for (DWORD start = GetTickCount();; Sleep(5)) {
        if (condition()) return true;
        if (GetTickCount() - start >= ms) return false;
    }
}

std::vector<HWND> VisibleDialogsOf(DWORD thread) {
    std::vector<HWND> found;
    EnumThreadWindows(thread, CollectDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND WaitForDialog(DWORD thread, HWND other, unsigned ms) {
    HWND dialog = nullptr;
    WaitFor([&] {
        for (HWND d : VisibleDialogsOf(thread))
            if (d != other) dialog = d;
        return dialog != nullptr;
    }, ms);
    return dialog;
}

std::wstring TextOf(HWND dialog, const wchar_t* id) {
    std::wstring text;
    if (auto element = Element(dialog, id)) HTMLayoutGetElementInnerText16(element, NoteText, &text);
    return text;
}

bool Displayed(HWND dialog, const wchar_t* id) {
    RECT rc{};
    auto element = Element(dialog, id);
    return element && HTMLayoutGetElementLocation(element, &rc, ROOT_RELATIVE | BORDER_BOX) == HL_OK &&
           rc.bottom > rc.top;
}

unsigned StatesOf(HWND dialog, const wchar_t* id) { return htmlayout::GetStates(Element(dialog, id)); }

RECT LocationOf(HWND dialog, const wchar_t* id) {
    RECT rc{};
    HTMLayoutGetElementLocation(Element(dialog, id), &rc, ROOT_RELATIVE | BORDER_BOX);
    return rc;
}

POINT CentreOf(HWND dialog, const wchar_t* id) {
    RECT rc = LocationOf(dialog, id);
    POINT p{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(dialog, &p);
    return p;
}

std::wstring AttributeOf(HWND dialog, const wchar_t* id, const char* name) {
    return htmlayout::GetAttribute(Element(dialog, id), name);
}

} // namespace cleaning_test
