// A real popup window on the display, its procedure calling HTMLayoutProcND first, driven by mouse
// messages at coordinates that go through the real hit test.

#include "engine/include/htmlayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr char kPage[] = R"html(<html><style>
  html { font-size: 10px } body { margin: 0; background: #336699 }
  #hot { height: 20px; background: red } #hot:hover { background: lime }
  #ok { display: block; width: 60px; height: 20px; margin-left: 10px; border: 2px solid black; padding: 3px }
  #link { cursor: pointer }
  #list { height: 40px; overflow: auto } #list div { height: 20px }
</style><body><div id=hot></div><button id=ok>OK</button><a id=link href="x">link</a>
<div id=list><div id=i1></div><div id=i2></div><div id=i3></div><div id=i4></div></div></body></html>)html";

struct Seen {
    std::vector<std::string> events;
    int lastX = -1, lastY = -1;
};

int HLCALL Record(void* tag, HELEMENT, unsigned group, void* params) {
    auto& seen = *static_cast<Seen*>(tag);
    if (group == HANDLE_BEHAVIOR_EVENT) {
        auto* p = static_cast<HL_BEHAVIOR_EVENT_PARAMS*>(params);
        if (!(p->cmd & SINKING)) {
            const wchar_t* id = nullptr;
            HTMLayoutGetAttributeByName(p->target, "id", &id);
            seen.events.push_back("behavior " + std::to_string(p->cmd) + " " + (id ? std::string(id, id + wcslen(id)) : ""));
        }
    } else if (group == HANDLE_MOUSE) {
        auto* p = static_cast<HL_MOUSE_PARAMS*>(params);
        if (p->cmd == (static_cast<unsigned>(MOUSE_DOWN) | SINKING)) { // the window sees it first, before any behavior takes it
            seen.lastX = p->documentX;
            seen.lastY = p->documentY;
            seen.events.push_back("down");
        }
    }
    return 0;
}

int HLCALL KeepFirst(HELEMENT he, void* param) {
    *static_cast<HELEMENT*>(param) = he;
    return 1;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    BOOL handled = FALSE;
    LRESULT result = HTMLayoutProcND(hwnd, message, wParam, lParam, &handled);
    return handled ? result : DefWindowProcW(hwnd, message, wParam, lParam);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

struct HostWindow {
    explicit HostWindow(DWORD exStyle = 0, int width = 200, int height = 150) {
        static const ATOM atom = [] {
            WNDCLASSEXW wc{sizeof(wc)};
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = HostProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"EngineWindowTest";
            return RegisterClassExW(&wc);
        }();
        hwnd = CreateWindowExW(exStyle, MAKEINTATOM(atom), L"", WS_POPUP | WS_VISIBLE, 50, 50, width, height, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(hwnd, nullptr);
        HTMLayoutWindowAttachEventHandler(hwnd, Record, &seen, HANDLE_ALL);
        EXPECT_TRUE(HTMLayoutLoadHtml(hwnd, reinterpret_cast<const unsigned char*>(kPage), sizeof kPage - 1));
        Pump();
    }
    ~HostWindow() {
        DestroyWindow(hwnd);
        Pump();
    }
    HELEMENT Find(const char* id) const {
        HELEMENT root = nullptr, found = nullptr;
        HTMLayoutGetRootElement(hwnd, &root);
        std::string selector = std::string("#") + id;
        HTMLayoutSelectElements(root, selector.c_str(), KeepFirst, &found);
        return found;
    }
    RECT Location(const char* id, unsigned areas = ROOT_RELATIVE | BORDER_BOX) const {
        RECT rc{};
        EXPECT_EQ(HTMLayoutGetElementLocation(Find(id), &rc, areas), HL_OK);
        return rc;
    }
    unsigned State(const char* id) const {
        unsigned state = 0;
        HTMLayoutGetElementState(Find(id), &state);
        return state;
    }
    void Send(UINT message, int x, int y, WPARAM wParam = 0) {
        SendMessageW(hwnd, message, wParam, MAKELPARAM(x, y));
        Pump();
    }
    void Click(int x, int y) {
        Send(WM_MOUSEMOVE, x, y);
        Send(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        Send(WM_LBUTTONUP, x, y);
    }
    COLORREF ScreenPixel(int x, int y) const {
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, 50 + x, 50 + y);
        ReleaseDC(nullptr, screen);
        return c;
    }

    Seen seen;
    HWND hwnd = nullptr;
};

std::string Str(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(Window, MouseMessagesBecomeHoverAndClicks) {
    HostWindow w;
    w.Send(WM_MOUSEMOVE, 5, 5);
    EXPECT_TRUE(w.State("hot") & STATE_HOVER);
    w.Click(20, 30);
    EXPECT_EQ(w.seen.events, (std::vector<std::string>{"down", "behavior 0 ok"}));
    EXPECT_EQ(w.seen.lastX, 20);
    EXPECT_EQ(w.seen.lastY, 30);
    EXPECT_FALSE(w.State("hot") & STATE_HOVER);
    w.Send(WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(w.State("ok") & STATE_HOVER);
    // A press outside any button clicks nothing.
    w.seen.events.clear();
    w.Click(150, 55);
    EXPECT_EQ(w.seen.events, (std::vector<std::string>{"down"}));
}

TEST(Window, CursorFollowsTheElementUnderThePointer) {
    HostWindow w;
    RECT link = w.Location("link");
    w.Send(WM_MOUSEMOVE, link.left + 2, link.top + 2);
    SendMessageW(w.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(w.hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    w.Send(WM_MOUSEMOVE, 5, 5);
    SendMessageW(w.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(w.hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST(Window, LocationsAndMinimalSize) {
    HostWindow w;
    EXPECT_EQ(Str(w.Location("ok")), "10,20,80,50");
    EXPECT_EQ(Str(w.Location("ok", ROOT_RELATIVE | CONTENT_BOX)), "15,25,75,45");
    EXPECT_EQ(HTMLayoutGetMinWidth(w.hwnd), 80u);
    RECT list = w.Location("list");
    EXPECT_EQ(HTMLayoutGetMinHeight(w.hwnd, 200), static_cast<UINT>(list.bottom));
    // Asking for minimal sizes leaves the page laid out for its window.
    EXPECT_EQ(Str(w.Location("ok")), "10,20,80,50");
}

TEST(Window, WheelAndScrollbarDragScrollTheList) {
    HostWindow w;
    RECT list = w.Location("list");
    int top = w.Location("i1").top;
    POINT screen{list.left + 5, list.top + 5};
    ClientToScreen(w.hwnd, &screen);
    SendMessageW(w.hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(w.Location("i1").top, top - 40);
    SendMessageW(w.hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA * 5), MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(w.Location("i1").top, top);
    // The thumb is half the track: dragging it by 10 pixels scrolls by 20.
    int barX = list.right - 4;
    w.Send(WM_LBUTTONDOWN, barX, list.top + 2, MK_LBUTTON);
    w.Send(WM_MOUSEMOVE, barX, list.top + 12, MK_LBUTTON);
    w.Send(WM_LBUTTONUP, barX, list.top + 12);
    EXPECT_EQ(w.Location("i1").top, top - 20);
    EXPECT_TRUE(std::find(w.seen.events.begin(), w.seen.events.end(), "down") == w.seen.events.end());
}

TEST(Window, PaintsOpaqueAndLayeredWindows) {
    for (DWORD exStyle : {0ul, static_cast<unsigned long>(WS_EX_LAYERED)}) {
        HostWindow w(exStyle);
        UpdateWindow(w.hwnd);
        Pump();
        EXPECT_EQ(w.ScreenPixel(5, 5), RGB(255, 0, 0)) << exStyle;
        EXPECT_EQ(w.ScreenPixel(150, 140), RGB(0x33, 0x66, 0x99)) << exStyle;
        w.Send(WM_MOUSEMOVE, 5, 5);
        UpdateWindow(w.hwnd);
        Pump();
        EXPECT_EQ(w.ScreenPixel(5, 5), RGB(0, 255, 0)) << exStyle;
    }
}

TEST(Window, ResizedToNothingAndBack) {
    HostWindow w;
    SetWindowPos(w.hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(w.hwnd);
    Pump();
    w.Send(WM_MOUSEMOVE, 5, 5);
    SetWindowPos(w.hwnd, nullptr, 0, 0, 120, 100, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(w.hwnd);
    Pump();
    EXPECT_EQ(Str(w.Location("hot")), "0,0,120,20");
}

} // namespace
