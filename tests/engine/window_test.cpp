// A real popup window on the display, its procedure calling HTMLayoutProcND first, driven by mouse
// messages at coordinates that go through the real hit test.

#include "engine/include/htmlayout.h"
#include "tests/support/message_pump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using testing_support::PumpMessages;

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
    std::vector<std::string> scrolls; // "cmd position id"
    std::vector<std::string> sizes;   // "id widthxheight"
    int lastX = -1, lastY = -1;
};

std::string IdOf(HELEMENT he) {
    const wchar_t* id = nullptr;
    HTMLayoutGetAttributeByName(he, "id", &id);
    return id ? std::string(id, id + wcslen(id)) : "";
}

int HLCALL Record(void* tag, HELEMENT he, unsigned group, void* params) {
    auto& seen = *static_cast<Seen*>(tag);
    if (group == HANDLE_BEHAVIOR_EVENT) {
        auto* p = static_cast<HL_BEHAVIOR_EVENT_PARAMS*>(params);
        if (!(p->cmd & SINKING)) seen.events.push_back("behavior " + std::to_string(p->cmd) + " " + IdOf(p->target));
    } else if (group == HANDLE_MOUSE) {
        // The window sees presses first, before any behavior takes them.
        auto* p = static_cast<HL_MOUSE_PARAMS*>(params);
        if (p->cmd == (static_cast<unsigned>(MOUSE_DOWN) | SINKING)) {
            seen.lastX = p->documentX;
            seen.lastY = p->documentY;
            seen.events.push_back("down");
        } else if (p->cmd == (static_cast<unsigned>(MOUSE_DCLICK) | SINKING)) {
            seen.events.push_back("dclick");
        }
    } else if (group == HANDLE_SCROLL) {
        auto* p = static_cast<HL_SCROLL_PARAMS*>(params);
        if (!(p->cmd & SINKING))
            seen.scrolls.push_back(std::to_string(p->cmd) + " " + std::to_string(p->position) + " " + IdOf(p->target));
    } else if (group == HANDLE_SIZE) {
        auto* p = static_cast<HL_SIZE_PARAMS*>(params);
        seen.sizes.push_back(IdOf(he) + " " + std::to_string(p->width) + "x" + std::to_string(p->height));
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

// One class with CS_DBLCLKS, where Windows reports double clicks, and one without, like the program's.
ATOM HostClass(bool doubleClicks) {
    auto make = [](UINT style, const wchar_t* name) {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.style = style;
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = name;
        return RegisterClassExW(&wc);
    };
    static const ATOM withDoubleClicks = make(CS_DBLCLKS, L"EngineWindowTest");
    static const ATOM plain = make(0, L"EngineWindowTestPlain");
    return doubleClicks ? withDoubleClicks : plain;
}

struct HostWindow {
    explicit HostWindow(DWORD exStyle = 0, int width = 200, int height = 150, bool doubleClicks = true) {
        hwnd = CreateWindowExW(exStyle, MAKEINTATOM(HostClass(doubleClicks)), L"", WS_POPUP | WS_VISIBLE, 50, 50, width,
                               height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(hwnd, nullptr);
        HTMLayoutWindowAttachEventHandler(hwnd, Record, &seen, HANDLE_ALL);
        EXPECT_TRUE(HTMLayoutLoadHtml(hwnd, reinterpret_cast<const unsigned char*>(kPage), sizeof kPage - 1));
        PumpMessages();
    }
    ~HostWindow() {
        DestroyWindow(hwnd);
        PumpMessages();
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
        PumpMessages();
    }
    void Click(int x, int y) {
        Send(WM_MOUSEMOVE, x, y);
        Send(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        Send(WM_LBUTTONUP, x, y);
    }
    // Through the queue, so that each press carries the time it was posted.
    void PostClick(int x, int y) {
        PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        PumpMessages();
    }
    void Key(WPARAM vk) {
        SendMessageW(hwnd, WM_KEYDOWN, vk, 1);
        SendMessageW(hwnd, WM_KEYUP, vk, 0xC0000001);
        PumpMessages();
    }
    void Wheel(const char* id, int notches) {
        RECT r = Location(id);
        POINT screen{r.left + 5, r.top + 5};
        ClientToScreen(hwnd, &screen);
        SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(notches * WHEEL_DELTA)),
                     MAKELPARAM(screen.x, screen.y));
        PumpMessages();
    }
    void Focus(const char* id) { HTMLayoutSetElementState(Find(id), STATE_FOCUS, 0, TRUE); }
    bool Focused(const char* id) const { return (State(id) & STATE_FOCUS) != 0; }
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
    w.Wheel("list", -1);
    EXPECT_EQ(w.Location("i1").top, top - 40);
    w.Wheel("list", 5);
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
        PumpMessages();
        EXPECT_EQ(w.ScreenPixel(5, 5), RGB(255, 0, 0)) << exStyle;
        EXPECT_EQ(w.ScreenPixel(150, 140), RGB(0x33, 0x66, 0x99)) << exStyle;
        w.Send(WM_MOUSEMOVE, 5, 5);
        UpdateWindow(w.hwnd);
        PumpMessages();
        EXPECT_EQ(w.ScreenPixel(5, 5), RGB(0, 255, 0)) << exStyle;
    }
}

TEST(Window, ResizedToNothingAndBack) {
    HostWindow w;
    SetWindowPos(w.hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(w.hwnd);
    PumpMessages();
    w.Send(WM_MOUSEMOVE, 5, 5);
    SetWindowPos(w.hwnd, nullptr, 0, 0, 120, 100, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(w.hwnd);
    PumpMessages();
    EXPECT_EQ(Str(w.Location("hot")), "0,0,120,20");
}

// Takes every Tab, as each dialog of the program does.
int HLCALL SwallowTab(void*, HELEMENT, unsigned group, void* params) {
    return group == HANDLE_KEY && static_cast<HL_KEY_PARAMS*>(params)->keyCode == VK_TAB;
}

TEST(Window, TabMovesTheFocusUnlessAHandlerTakesIt) {
    HostWindow w;
    w.Key(VK_TAB);
    EXPECT_TRUE(w.Focused("ok"));
    w.Key(VK_TAB);
    EXPECT_TRUE(w.Focused("link"));
    HTMLayoutWindowAttachEventHandler(w.hwnd, SwallowTab, nullptr, HANDLE_KEY);
    w.Key(VK_TAB);
    EXPECT_TRUE(w.Focused("link"));
    EXPECT_FALSE(w.Focused("ok"));
}

TEST(Window, EveryWayOfScrollingTellsTheList) {
    HostWindow w;
    RECT list = w.Location("list");
    int barX = list.right - 4;
    w.Send(WM_LBUTTONDOWN, barX, list.top + 30, MK_LBUTTON); // the track below the thumb
    w.Send(WM_LBUTTONUP, barX, list.top + 30);
    w.Wheel("list", 1);
    w.Send(WM_LBUTTONDOWN, barX, list.top + 2, MK_LBUTTON);
    w.Send(WM_MOUSEMOVE, barX, list.top + 12, MK_LBUTTON);
    w.Send(WM_LBUTTONUP, barX, list.top + 12);
    EXPECT_EQ(w.seen.scrolls, (std::vector<std::string>{"4 40 list", "3 0 list", "6 20 list"}));

    w.seen.scrolls.clear();
    w.Focus("i2");
    for (WPARAM key : {VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN, VK_DOWN}) w.Key(key);
    EXPECT_EQ(w.seen.scrolls, (std::vector<std::string>{"0 0 list", "1 40 list", "5 0 list", "4 40 list", "3 0 list",
                                                         "2 40 list"}))
        << "a key that cannot move the box any further tells nothing";
    EXPECT_EQ(w.Location("i1").top, list.top - 40);
}

TEST(Window, TabScrollsTheFocusIntoView) {
    HostWindow w;
    RECT list = w.Location("list");
    HTMLayoutSetAttributeByName(w.Find("i3"), "tabindex", L"0");
    w.Focus("i2");
    w.Key(VK_TAB);
    EXPECT_TRUE(w.Focused("i3"));
    EXPECT_EQ(w.seen.scrolls, std::vector<std::string>{"6 20 list"}) << "just far enough";
    EXPECT_EQ(w.Location("i3").bottom, list.bottom);
    w.Focus("i1"); // scrolled out above
    w.Key(VK_TAB);
    EXPECT_EQ(w.seen.scrolls.size(), 1u) << "already in view";
    w.Wheel("list", -1);
    w.Key(VK_TAB);
    EXPECT_TRUE(w.Focused("ok")) << "wrapped around";
    EXPECT_EQ(w.seen.scrolls.size(), 2u) << "a focus outside the list leaves it scrolled";
}

// Real keys through the system's queue: Shift's state comes from the input itself.
TEST(Window, RealShiftTabFromTheKeyboard) {
    HostWindow w;
    SetForegroundWindow(w.hwnd);
    SetFocus(w.hwnd);
    HTMLayoutSetAttributeByName(w.Find("i1"), "tabindex", L"0"); // three stops: ok, link, i1
    w.Focus("ok");
    INPUT keys[4]{};
    WORD sequence[4] = {VK_SHIFT, VK_TAB, VK_TAB, VK_SHIFT};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = sequence[i];
        keys[i].ki.dwFlags = i == 2 || i == 3 ? KEYEVENTF_KEYUP : 0;
    }
    EXPECT_EQ(SendInput(4, keys, sizeof(INPUT)), 4u);
    for (int i = 0; i < 20; ++i) {
        Sleep(10);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    EXPECT_TRUE(w.Focused("i1")) << "backward from the first, wrapping";
}

// Takes every key.
int HLCALL SwallowKeys(void*, HELEMENT, unsigned group, void*) { return group == HANDLE_KEY; }

TEST(Window, ScrollKeysMoveTheBoxAroundTheFocusElseUnderTheMouse) {
    HostWindow w;
    RECT list = w.Location("list");
    w.Focus("ok");
    w.Send(WM_MOUSEMOVE, 5, 5);
    w.Key(VK_END);
    EXPECT_TRUE(w.seen.scrolls.empty()) << "neither the focus nor the mouse is in a scrolling box";
    w.Send(WM_MOUSEMOVE, list.left + 5, list.top + 5);
    w.Key(VK_END);
    EXPECT_EQ(w.seen.scrolls, std::vector<std::string>{"1 40 list"});

    HTMLayoutWindowAttachEventHandler(w.hwnd, SwallowKeys, nullptr, HANDLE_KEY);
    w.Key(VK_HOME);
    EXPECT_EQ(w.seen.scrolls.size(), 1u) << "a key a handler took scrolls nothing";
}

TEST(Window, LayoutsTellTheElementsWhoseSizeChanged) {
    HostWindow w;
    HTMLayoutAttachEventHandlerEx(w.Find("hot"), Record, &w.seen, HANDLE_SIZE);
    HTMLayoutAttachEventHandlerEx(w.Find("ok"), Record, &w.seen, HANDLE_SIZE);
    InvalidateRect(w.hwnd, nullptr, FALSE);
    UpdateWindow(w.hwnd);
    PumpMessages();
    EXPECT_EQ(w.seen.sizes, (std::vector<std::string>{"hot 200x20", "ok 70x30"})) << "the first layout tells the sizes";
    w.seen.sizes.clear();

    SetWindowPos(w.hwnd, nullptr, 0, 0, 120, 100, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    EXPECT_EQ(w.seen.sizes, std::vector<std::string>{"hot 120x20"}) << "the button keeps its width";

    HTMLayoutSetStyleAttribute(w.Find("ok"), "width", L"100px");
    UpdateWindow(w.hwnd);
    PumpMessages();
    EXPECT_EQ(w.seen.sizes.back(), "ok 110x30");

    // A hidden window is painted never, and still told.
    ShowWindow(w.hwnd, SW_HIDE);
    SetWindowPos(w.hwnd, nullptr, 0, 0, 90, 100, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    EXPECT_EQ(w.seen.sizes.back(), "hot 90x20");
    EXPECT_EQ(w.seen.sizes.size(), 3u);
}

TEST(Window, ASecondQuickPressIsADoubleClickWithoutCsDblclks) {
    HostWindow w(0, 200, 150, false);
    int halfBox = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    w.PostClick(150, 55);
    w.PostClick(150 + halfBox, 55);
    w.PostClick(150, 55);
    EXPECT_EQ(w.seen.events, (std::vector<std::string>{"down", "dclick", "down"})) << "a third press starts over";

    w.seen.events.clear();
    w.PostClick(20, 100);
    w.PostClick(21 + 2 * halfBox, 100);
    EXPECT_EQ(w.seen.events, (std::vector<std::string>{"down", "down"})) << "too far apart";

    w.seen.events.clear();
    Sleep(GetDoubleClickTime() + 100);
    w.PostClick(21 + 2 * halfBox, 100);
    EXPECT_EQ(w.seen.events, std::vector<std::string>{"down"}) << "too late";
}

// Real input through the system's queue: the pointer moves over the window and presses twice.
TEST(Window, RealInputDoubleClicksAreToldOnceWithOrWithoutCsDblclks) {
    for (bool doubleClicks : {false, true}) {
        HostWindow w(0, 200, 150, doubleClicks);
        SetForegroundWindow(w.hwnd);
        SetCursorPos(50 + 150, 50 + 55);
        PumpMessages();
        INPUT clicks[4]{};
        for (int i = 0; i < 4; ++i) {
            clicks[i].type = INPUT_MOUSE;
            clicks[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
        }
        EXPECT_EQ(SendInput(4, clicks, sizeof(INPUT)), 4u);
        for (int i = 0; i < 20; ++i) {
            Sleep(10);
            PumpMessages();
        }
        EXPECT_EQ(w.seen.events, (std::vector<std::string>{"down", "dclick"})) << doubleClicks;
    }
    SetCursorPos(0, 0); // away from where the next windows open
}

} // namespace
