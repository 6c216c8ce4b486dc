#include "box_look.h"

#include "dialog_stage.h"
#include "support/real_input.h"

#include "ui/msg_box_dlg.h"
#include "ui/resource_data.h"
#include "ui/resource_ids.h"

#include <map>

namespace app_test {
namespace {

LRESULT CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    BOOL handled = FALSE;
    LRESULT result = HTMLayoutProcND(hwnd, message, wParam, lParam, &handled);
    return handled ? result : DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

// Where an element of a dialog page lies in the dialog's window: the page laid out at its minimal size in a
// hidden window of this process, as a dialog sizes itself; once per element.
RECT OffsetIn(unsigned pageId, const wchar_t* id) {
    static std::map<std::pair<unsigned, std::wstring>, RECT> known;
    auto found = known.find({pageId, id});
    if (found != known.end()) return found->second;
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PageProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TracewipeCleaningTestPage";
        return RegisterClassW(&wc);
    }();
    HWND window = CreateWindowExW(0, MAKEINTATOM(atom), L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    auto page = htmlayout::LoadPage(pageId);
    RECT rc{};
    if (page) {
        HTMLayoutLoadHtml(window, page->data(), static_cast<UINT>(page->size()));
        const UINT width = HTMLayoutGetMinWidth(window);
        SetWindowPos(window, nullptr, 0, 0, static_cast<int>(width),
                     static_cast<int>(HTMLayoutGetMinHeight(window, width)), SWP_NOZORDER | SWP_NOMOVE);
        rc = cleaning_test::LocationOf(window, id);
    }
    DestroyWindow(window);
    if (!IsRectEmpty(&rc)) known[{pageId, id}] = rc;
    return rc;
}

RECT On(HWND dialog, RECT offset) {
    RECT window{};
    GetWindowRect(dialog, &window);
    OffsetRect(&offset, window.left, window.top);
    return offset;
}

POINT Middle(const RECT& rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

BoxLook Look(HWND box) {
    constexpr int kEdge = 6, kCaption = 40;
    testing_support::MovePointerTo(POINT{1, 1});
    Sleep(200);
    RECT window{};
    GetWindowRect(box, &window);
    const RECT inside{window.left + kEdge, window.top + kEdge, window.right - kEdge, window.bottom - kEdge};
    return BoxLook{Capture(RECT{inside.left, inside.top, inside.right, window.top + kCaption}), Capture(inside)};
}

BoxLook ExpectedBox(const std::wstring& title, const std::wstring& text) {
    cleaning_test::OwnerWindow owner;
    BoxLook look;
    const DWORD self = GetCurrentThreadId();
    cleaning_test::User user([&] {
        HWND box = cleaning_test::WaitForDialog(self);
        if (!box) return;
        Sleep(200);
        look = Look(box);
        PostMessageW(box, WM_CLOSE, 0, 0);
    });
    htmlayout::MsgBoxDlg::Show(owner.hwnd(), title, text);
    user.Join();
    return look;
}

} // namespace app_test
