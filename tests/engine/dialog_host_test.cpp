// What a dialog of the program asks of the engine: a layered popup made from an in-memory template, its
// dialog procedure calling HTMLayoutProcND first, the page loaded while the dialog initialises and the
// window sized to the page; hit testing of the frame stays the dialog's own.

#include "engine/include/htmlayout.h"
#include "tests/support/message_pump.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

using testing_support::PumpMessages;

constexpr char kDialogPage[] = R"html(<html><style>
  body { margin: 0; width: 120px; height: 60px; background: #204060 }
  #main_heading { height: 16px; background: #102030 }
  button { display: block; width: 50px; height: 20px; margin: 4px }
</style><body><div id=main_heading>Title</div><button id=close_btn role=default-button>Close</button>
<button id=other>Other</button></body></html>)html";

struct Dialog {
    std::vector<std::string> clicks;
    HWND hwnd = nullptr;
};

std::string IdOf(HELEMENT he) {
    const wchar_t* id = nullptr;
    HTMLayoutGetAttributeByName(he, "id", &id);
    return id ? std::string(id, id + wcslen(id)) : "";
}

int HLCALL KeepFirst(HELEMENT he, void* param) {
    *static_cast<HELEMENT*>(param) = he;
    return 1;
}

HELEMENT Find(HWND hwnd, const char* selector) {
    HELEMENT root = nullptr, found = nullptr;
    HTMLayoutGetRootElement(hwnd, &root);
    HTMLayoutSelectElements(root, selector, KeepFirst, &found);
    return found;
}

// The dialogs' handler: button clicks are noted, Tab is swallowed.
int HLCALL DialogEvents(void* tag, HELEMENT, unsigned group, void* params) {
    if (group == HANDLE_KEY) return static_cast<HL_KEY_PARAMS*>(params)->keyCode == VK_TAB;
    if (group == HANDLE_BEHAVIOR_EVENT) {
        auto* p = static_cast<HL_BEHAVIOR_EVENT_PARAMS*>(params);
        if (p->cmd == BUTTON_CLICK) static_cast<Dialog*>(tag)->clicks.push_back(IdOf(p->target));
    }
    return FALSE;
}

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    BOOL handled = FALSE;
    LRESULT result = HTMLayoutProcND(hwnd, message, wParam, lParam, &handled);
    if (handled) return result;
    switch (message) {
    case WM_INITDIALOG: {
        auto* dialog = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        HTMLayoutWindowAttachEventHandler(hwnd, DialogEvents, dialog, HANDLE_ALL);
        HTMLayoutLoadHtmlEx(hwnd, reinterpret_cast<const unsigned char*>(kDialogPage), sizeof kDialogPage - 1, L"");
        int w = static_cast<int>(HTMLayoutGetMinWidth(hwnd));
        int h = static_cast<int>(HTMLayoutGetMinHeight(hwnd, static_cast<UINT>(w)));
        SetWindowPos(hwnd, nullptr, 40, 40, w, h, SWP_NOZORDER);
        PostMessageW(hwnd, WM_USER, 0, 0);
        return 0;
    }
    case WM_USER:
        HTMLayoutSetElementState(Find(hwnd, "[role='default-button']"), STATE_FOCUS, 0, TRUE);
        return 0;
    case WM_NCHITTEST: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(hwnd, &p);
        RECT caption{};
        HTMLayoutGetElementLocation(Find(hwnd, "#main_heading"), &caption, ROOT_RELATIVE | BORDER_BOX);
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, PtInRect(&caption, p) ? HTCAPTION : HTCLIENT);
        return TRUE;
    }
    default:
        return 0;
    }
}

// A template with no controls, menu, class or title: WS_POPUP | WS_VISIBLE, WS_EX_LAYERED, at 0,0 and size 0.
HWND CreateLayeredDialog(Dialog& dialog) {
    alignas(DWORD) WORD buffer[16]{};
    auto* t = reinterpret_cast<DLGTEMPLATE*>(buffer);
    t->style = WS_POPUP | WS_VISIBLE;
    t->dwExtendedStyle = WS_EX_LAYERED;
    dialog.hwnd = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t, nullptr, DialogProc,
                                             reinterpret_cast<LPARAM>(&dialog));
    PumpMessages();
    return dialog.hwnd;
}

COLORREF ScreenPixel(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

RECT Location(HWND hwnd, const char* selector) {
    RECT rc{};
    HTMLayoutGetElementLocation(Find(hwnd, selector), &rc, ROOT_RELATIVE | BORDER_BOX);
    return rc;
}

TEST(DialogHost, ALayeredDialogShowsItsPageAtThePagesMinimalSize) {
    Dialog dialog;
    ASSERT_NE(CreateLayeredDialog(dialog), nullptr);
    RECT window{};
    GetWindowRect(dialog.hwnd, &window);
    EXPECT_EQ(window.right - window.left, 120);
    EXPECT_EQ(window.bottom - window.top, 60);
    UpdateWindow(dialog.hwnd);
    PumpMessages();
    EXPECT_EQ(ScreenPixel(dialog.hwnd, 100, 50), RGB(0x20, 0x40, 0x60));
    EXPECT_EQ(ScreenPixel(dialog.hwnd, 100, 5), RGB(0x10, 0x20, 0x30));

    // The frame's hit test is the dialog's: the engine leaves WM_NCHITTEST alone.
    POINT inCaption{60, 5}, below{100, 50};
    ClientToScreen(dialog.hwnd, &inCaption);
    ClientToScreen(dialog.hwnd, &below);
    EXPECT_EQ(SendMessageW(dialog.hwnd, WM_NCHITTEST, 0, MAKELPARAM(inCaption.x, inCaption.y)), HTCAPTION);
    EXPECT_EQ(SendMessageW(dialog.hwnd, WM_NCHITTEST, 0, MAKELPARAM(below.x, below.y)), HTCLIENT);
    DestroyWindow(dialog.hwnd);
    PumpMessages();
}

TEST(DialogHost, ClicksReachTheDialogAndTabLeavesTheDefaultButtonFocused) {
    Dialog dialog;
    ASSERT_NE(CreateLayeredDialog(dialog), nullptr);
    HELEMENT button = Find(dialog.hwnd, "#close_btn");
    unsigned state = 0;
    HTMLayoutGetElementState(button, &state);
    EXPECT_TRUE(state & STATE_FOCUS) << "the posted WM_USER focuses the default button";

    SendMessageW(dialog.hwnd, WM_KEYDOWN, VK_TAB, 1);
    SendMessageW(dialog.hwnd, WM_KEYUP, VK_TAB, 0xC0000001);
    PumpMessages();
    HTMLayoutGetElementState(button, &state);
    EXPECT_TRUE(state & STATE_FOCUS);

    RECT other = Location(dialog.hwnd, "#other");
    LPARAM at = MAKELPARAM(other.left + 5, other.top + 5);
    SendMessageW(dialog.hwnd, WM_MOUSEMOVE, 0, at);
    SendMessageW(dialog.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(dialog.hwnd, WM_LBUTTONUP, 0, at);
    PumpMessages();
    ASSERT_EQ(dialog.clicks.size(), 1u);
    EXPECT_EQ(dialog.clicks[0], "other");
    DestroyWindow(dialog.hwnd);
    PumpMessages();
}

} // namespace
