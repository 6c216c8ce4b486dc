// HTMLayoutProcND: the engine's half of every host window procedure. Mouse and key messages become DOM
// events through the real hit test; painting goes to a premultiplied bitmap shown with BitBlt, or with
// UpdateLayeredWindow (per-pixel alpha) for layered windows, which get no WM_PAINT of their own.

#include "engine/win32/window_layer.h"

#include "engine/api/api_lock.h"
#include "engine/dom/frame_phases.h"
#include "engine/events/dispatcher.h"
#include "engine/events/input.h"
#include "engine/events/size_watch.h"
#include "engine/include/htmlayout.h"
#include "engine/paint/canvas.h"
#include "engine/win32/accessible_element.h"
#include "engine/view/view.h"
#include "engine/win32/page_renderer.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>

namespace engine::win32 {
namespace {

constexpr float kLineStep = 40; // CSS pixels per wheel notch or arrow key

struct WindowState {
    explicit WindowState(HWND h, View& v) : hwnd(h), view(&v), renderer(v) {}

    HWND hwnd;
    View* view;
    PageRenderer renderer;
    bool trackingLeave = false;
    bool renderPosted = false;
    SIZE layerSize{};                  // the size of the pixels the layered window holds
    const Element* dragging = nullptr; // the scroll container whose thumb is held
    float dragOrigin = 0, dragScroll = 0;
    // The last press, to tell a double click where the window class has no CS_DBLCLKS.
    UINT lastPress = 0;
    DWORD lastPressTime = 0;
    POINT lastPressAt{};
};

std::map<HWND, std::unique_ptr<WindowState>>& States() {
    static std::map<HWND, std::unique_ptr<WindowState>> states;
    return states;
}

UINT RenderMessage() {
    static const UINT message = RegisterWindowMessageW(L"Tracewipe.Engine.Render");
    return message;
}

bool Layered(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

SIZE ClientSize(HWND hwnd) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

// The state of a window that shows a page; made on first need, and dropped when the page went away.
WindowState* StateOf(HWND hwnd) {
    auto& states = States();
    View* view = WindowView(hwnd);
    auto it = states.find(hwnd);
    if (it != states.end() && it->second->view == view) return it->second.get();
    if (it != states.end()) states.erase(it);
    if (!view) return nullptr;
    return states.emplace(hwnd, std::make_unique<WindowState>(hwnd, *view)).first->second.get();
}

float LineStep(const WindowState& s) { return kLineStep * s.view->Scale(); }

PageLayout& LayoutOf(WindowState& s) {
    SIZE size = ClientSize(s.hwnd);
    return s.renderer.Layout(size.cx, size.cy);
}

// Tells the watched elements whose size the last layout changed. The window may be gone afterwards.
void SendSizes(WindowState& s) {
    if (!WatchesSizes(*s.view)) return;
    PageLayout& layout = LayoutOf(s);
    SendSizeChanges(*s.view, [&](const Element& e, float& width, float& height) {
        RectF border, content;
        if (!layout.Locate(e, border, content)) return;
        width = border.w;
        height = border.h;
    });
}

void Paint(WindowState& s) {
    SIZE size = ClientSize(s.hwnd);
    bool layered = Layered(s.hwnd);
    if (layered && !s.renderer.Render(size.cx, size.cy, true)) return;
    if (layered) {
        // A layered window keeps its pixels: it is handed only what was painted since, all after a resize.
        RECT dirty = s.renderer.TakeDamage();
        const bool resized = size.cx != s.layerSize.cx || size.cy != s.layerSize.cy;
        if (resized) dirty = {0, 0, size.cx, size.cy};
        ValidateRect(s.hwnd, nullptr);
        if (IsRectEmpty(&dirty)) return;
        POINT origin{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UPDATELAYEREDWINDOWINFO info{sizeof info};
        // NOTE: Wine takes a size, even the same one, as a new size of the window on every copy; without one
        // the window keeps its size on every system.
        info.psize = resized ? &size : nullptr;
        info.hdcSrc = s.renderer.Surface().Dc();
        info.pptSrc = &origin;
        info.pblend = &blend;
        info.dwFlags = ULW_ALPHA;
        info.prcDirty = &dirty;
        PhaseScope phase(FramePhase::Copy);
        s.layerSize = UpdateLayeredWindowIndirect(s.hwnd, &info) ? size : SIZE{};
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(s.hwnd, &ps);
    if (s.renderer.Render(size.cx, size.cy, false)) {
        PhaseScope phase(FramePhase::Copy);
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left, ps.rcPaint.bottom - ps.rcPaint.top,
               s.renderer.Surface().Dc(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    }
    EndPaint(s.hwnd, &ps);
}

void Show(WindowState& s) {
    s.renderPosted = false;
    Paint(s);
    SendSizes(s);
}

// NOTE: one invalidation while a render is pending: a switch of tabs changes a dozen states and attributes,
// and Wine answers every InvalidateRect with a call to its server.
void ScheduleShow(WindowState& s) {
    if (s.renderPosted) return;
    InvalidateRect(s.hwnd, nullptr, FALSE);
    if (Layered(s.hwnd)) s.renderPosted = PostMessageW(s.hwnd, RenderMessage(), 0, 0) != 0;
}

unsigned KeyStates() {
    return (GetKeyState(VK_CONTROL) < 0 ? CONTROL_KEY_PRESSED : 0) | (GetKeyState(VK_SHIFT) < 0 ? SHIFT_KEY_PRESSED : 0) |
           (GetKeyState(VK_MENU) < 0 ? ALT_KEY_PRESSED : 0);
}

unsigned Buttons(WPARAM wParam) {
    return (wParam & MK_LBUTTON ? MAIN_MOUSE_BUTTON : 0) | (wParam & MK_RBUTTON ? PROP_MOUSE_BUTTON : 0) |
           (wParam & MK_MBUTTON ? MIDDLE_MOUSE_BUTTON : 0);
}

Box* BoxOfElement(PageLayout& layout, const Element* element) {
    return element ? const_cast<Box*>(layout.BoxOf(*element)) : nullptr;
}

// The box of the element or of its nearest ancestor that has one (inline elements have none).
Box* BoxAround(PageLayout& layout, const Element* element) {
    for (const Element* e = element; e; e = e->Parent())
        if (Box* box = BoxOfElement(layout, e)) return box;
    return nullptr;
}

// Scrolls a box and tells its element (cmd is SCROLL_*); false when it could not move. The window may be
// gone afterwards: callers return at once.
bool ScrollBox(WindowState& s, PageLayout& layout, Box& box, float offset, unsigned cmd) {
    if (!layout.ScrollTo(box, offset)) return false;
    s.renderer.ScrollChanged();
    ScheduleShow(s);
    if (!box.element) return true;
    Ref<Element> element = box.element;
    View& view = *s.view;
    std::weak_ptr<void> alive = view.Liveness();
    SendScrollEvent(*element, cmd, static_cast<int>(std::lround(box.scrollY)));
    if (!alive.expired()) view.UpdateStyle();
    return true;
}

// A press on a scrollbar: the thumb is held, the track pages. True when the press was there.
bool PressScrollbar(WindowState& s, int x, int y) {
    PageLayout& layout = LayoutOf(s);
    Box* box = layout.ScrollerAt(float(x), float(y));
    if (!box) return false;
    float above = PageLayout::ScrollAbove(*box);
    RectF track = ScrollbarTrack(*box);
    track.y -= above;
    if (!track.Contains(float(x), float(y))) return false;
    RectF thumb = ScrollbarThumb(*box);
    thumb.y -= above;
    if (thumb.Contains(float(x), float(y))) {
        s.dragging = box->element;
        s.dragOrigin = float(y);
        s.dragScroll = box->scrollY;
        SetCapture(s.hwnd);
        ScheduleShow(s);
        return true;
    }
    float page = box->ClientBox().h;
    bool up = y < thumb.y;
    ScrollBox(s, layout, *box, box->scrollY + (up ? -page : page), up ? SCROLL_PAGE_MINUS : SCROLL_PAGE_PLUS);
    return true;
}

void DragScrollbar(WindowState& s, int y) {
    PageLayout& layout = LayoutOf(s);
    Box* box = BoxOfElement(layout, s.dragging);
    if (!box) return;
    RectF track = ScrollbarTrack(*box);
    float travel = track.h - ScrollbarThumb(*box).h;
    if (travel <= 0) return;
    float offset = s.dragScroll + (float(y) - s.dragOrigin) * box->MaxScroll() / travel;
    ScrollBox(s, layout, *box, offset, SCROLL_POS);
}

// Scrolls the innermost scrolling box from `box` outward that can move; false when none could.
template <typename Offset>
bool ScrollOutward(WindowState& s, PageLayout& layout, Box* box, unsigned cmd, const Offset& offset) {
    for (; box; box = box->parent)
        if (box->scrollable && ScrollBox(s, layout, *box, offset(*box), cmd)) return true;
    return false;
}

bool Wheel(WindowState& s, int x, int y, int delta) {
    PageLayout& layout = LayoutOf(s);
    return ScrollOutward(s, layout, layout.ScrollerAt(float(x), float(y)),
                         delta < 0 ? SCROLL_STEP_PLUS : SCROLL_STEP_MINUS,
                         [&](const Box& box) { return box.scrollY - delta * LineStep(s) / WHEEL_DELTA; });
}

struct ScrollKey {
    WPARAM key;
    unsigned cmd;
    float (*offset)(const Box& box, float lineStep);
};

constexpr ScrollKey kScrollKeys[] = {
    {VK_UP, SCROLL_STEP_MINUS, [](const Box& b, float step) { return b.scrollY - step; }},
    {VK_DOWN, SCROLL_STEP_PLUS, [](const Box& b, float step) { return b.scrollY + step; }},
    {VK_PRIOR, SCROLL_PAGE_MINUS, [](const Box& b, float) { return b.scrollY - b.ClientBox().h; }},
    {VK_NEXT, SCROLL_PAGE_PLUS, [](const Box& b, float) { return b.scrollY + b.ClientBox().h; }},
    {VK_HOME, SCROLL_HOME, [](const Box&, float) { return 0.0f; }},
    {VK_END, SCROLL_END, [](const Box& b, float) { return b.MaxScroll(); }},
};

// Scroll keys that no handler took move the scrolling box around the focus, else the one under the mouse.
bool KeyScroll(WindowState& s, WPARAM key) {
    auto it = std::find_if(std::begin(kScrollKeys), std::end(kScrollKeys),
                           [&](const ScrollKey& k) { return k.key == key; });
    Document* doc = s.view->GetDocument();
    if (it == std::end(kScrollKeys) || !doc) return false;
    PageLayout& layout = LayoutOf(s);
    float step = LineStep(s);
    auto offset = [&](const Box& box) { return it->offset(box, step); };
    for (const Element* from : {doc->Focus(), doc->Hover()})
        if (from && ScrollOutward(s, layout, BoxAround(layout, from), it->cmd, offset)) return true;
    return false;
}

// A focus that a key moved into the hidden part of a scrolling box is scrolled into view.
void RevealFocus(WindowState& s) {
    Document* doc = s.view->GetDocument();
    Element* focus = doc ? doc->Focus() : nullptr;
    PageLayout& layout = LayoutOf(s);
    RectF border, content;
    if (!focus || !layout.Locate(*focus, border, content)) return;
    Box* scroller = BoxAround(layout, focus);
    if (scroller && scroller->element == focus) scroller = scroller->parent; // its own box scrolls what it holds
    while (scroller && !scroller->scrollable) scroller = scroller->parent;
    if (!scroller) return;
    RectF view = scroller->ClientBox();
    view.y -= PageLayout::ScrollAbove(*scroller);
    float by = 0;
    if (border.y < view.y) by = border.y - view.y;
    else if (border.Bottom() > view.Bottom()) by = std::min(border.Bottom() - view.Bottom(), border.y - view.y);
    if (by != 0) ScrollBox(s, layout, *scroller, scroller->scrollY + by, SCROLL_POS);
}

// Windows makes a second quick press a double click only for classes with CS_DBLCLKS; the program's host
// class has none, so the engine tells them apart itself, by the system's time and distance.
unsigned PressKind(WindowState& s, UINT message, int x, int y) {
    if (GetClassLongW(s.hwnd, GCL_STYLE) & CS_DBLCLKS) return MOUSE_DOWN;
    DWORD now = static_cast<DWORD>(GetMessageTime());
    bool second = s.lastPress == message && now - s.lastPressTime <= GetDoubleClickTime() &&
                  std::abs(x - s.lastPressAt.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                  std::abs(y - s.lastPressAt.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    s.lastPress = second ? 0 : message; // a third press starts over
    s.lastPressTime = now;
    s.lastPressAt = {x, y};
    return second ? MOUSE_DCLICK : MOUSE_DOWN;
}

bool Mouse(WindowState& s, unsigned kind, int x, int y, unsigned buttons, int wheel = 0) {
    if (kind == MOUSE_MOVE && !s.trackingLeave) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, s.hwnd, 0};
        s.trackingLeave = TrackMouseEvent(&track) != 0;
    }
    PhaseScope phase(FramePhase::Dispatch);
    Element* target = kind == MOUSE_LEAVE ? nullptr : LayoutOf(s).HitTest(float(x), float(y));
    return HandleMouse(*s.view, target, {kind, x, y, buttons, KeyStates(), wheel});
}

LPCWSTR CursorFor(const Element* element) {
    for (const Element* e = element; e; e = e->Parent()) {
        const ComputedStyle* style = e->Style();
        if (!style) continue;
        const CssValue& c = style->Get(PropertyId::Cursor);
        if (c.text == "pointer" || c.text == "hand") return IDC_HAND;
        if (c.text == "text") return IDC_IBEAM;
        if (c.text == "default") return IDC_ARROW;
        if (c.text == "move") return IDC_SIZEALL;
        if (c.text == "wait") return IDC_WAIT;
    }
    return IDC_ARROW;
}

LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (message == DeliverPostedEventsMessage()) {
        handled = TRUE;
        PhaseScope phase(FramePhase::Dispatch); // the program's handlers of posted events
        HTMLayoutDeliverPostedEvents(hwnd);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        HTMLayoutReleaseWindow(hwnd);
        return 0;
    }
    WindowState* s = StateOf(hwnd);
    if (!s) return 0;
    int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_ERASEBKGND:
        handled = TRUE;
        return 1;
    case WM_PAINT:
        handled = TRUE;
        Show(*s);
        return 0;
    case WM_SIZE:
        ScheduleShow(*s);
        SendSizes(*s); // hidden windows get no paint; size events need not wait for one
        return 0;
    case WM_MOUSEMOVE:
        if (s->dragging) {
            DragScrollbar(*s, y);
            handled = TRUE;
            return 0;
        }
        handled = Mouse(*s, MOUSE_MOVE, x, y, Buttons(wParam));
        return 0;
    case WM_MOUSELEAVE:
        s->trackingLeave = false;
        handled = Mouse(*s, MOUSE_LEAVE, x, y, 0);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
        bool left = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK;
        bool dblclk = message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK;
        unsigned kind = dblclk ? unsigned(MOUSE_DCLICK) : PressKind(*s, message, x, y);
        if (left && PressScrollbar(*s, x, y)) {
            handled = TRUE;
            return 0;
        }
        SetCapture(hwnd);
        if (GetFocus() != hwnd) SetFocus(hwnd);
        if (!(s = StateOf(hwnd))) return 0; // the focus change may have closed the window
        handled = Mouse(*s, kind, x, y, left ? MAIN_MOUSE_BUTTON : PROP_MOUSE_BUTTON);
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        bool wasDragging = s->dragging != nullptr;
        s->dragging = nullptr;
        if (GetCapture() == hwnd) ReleaseCapture();
        if (wasDragging || !(s = StateOf(hwnd))) return 0;
        handled = Mouse(*s, MOUSE_UP, x, y, message == WM_LBUTTONUP ? MAIN_MOUSE_BUTTON : PROP_MOUSE_BUTTON);
        return 0;
    }
    case WM_CAPTURECHANGED:
        s->dragging = nullptr;
        return 0;
    case WM_DPICHANGED: {
        // The page follows the new DPI; the window takes the rectangle Windows suggests for it, which keeps
        // it where it was on the screen, so the next paint lays the page out at the new size.
        handled = TRUE;
        if (LOWORD(wParam)) s->view->SetScale(float(LOWORD(wParam)) / USER_DEFAULT_SCREEN_DPI);
        if (!lParam) return 0;
        RECT suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_MOUSEWHEEL: {
        POINT p{x, y};
        ScreenToClient(hwnd, &p);
        int delta = GET_WHEEL_DELTA_WPARAM(wParam);
        handled = Mouse(*s, MOUSE_WHEEL, p.x, p.y, Buttons(GET_KEYSTATE_WPARAM(wParam)), delta);
        if (!handled && (s = StateOf(hwnd))) handled = Wheel(*s, p.x, p.y, delta);
        return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR: {
        Document* doc = s->view->GetDocument();
        Ref<Element> focusBefore = doc ? doc->Focus() : nullptr;
        PhaseScope phase(FramePhase::Dispatch);
        handled = HandleKey(*s->view, message == WM_KEYDOWN ? KEY_DOWN : message == WM_KEYUP ? KEY_UP : KEY_CHAR,
                            static_cast<unsigned>(wParam), KeyStates());
        if (message != WM_KEYDOWN || !(s = StateOf(hwnd))) return 0;
        doc = s->view->GetDocument();
        if (doc && doc->Focus() && doc->Focus() != focusBefore.Get()) RevealFocus(*s);
        if (!handled && (s = StateOf(hwnd))) handled = KeyScroll(*s, wParam);
        return 0;
    }
    case WM_GETOBJECT:
        if (LRESULT answer = AnswerGetObject(hwnd, wParam, lParam)) {
            handled = TRUE;
            return answer;
        }
        return 0;
    case WM_KILLFOCUS:
        if (Document* doc = s->view->GetDocument(); doc && doc->Focus()) MoveFocus(*s->view, nullptr, false);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT || reinterpret_cast<HWND>(wParam) != hwnd) return 0;
        handled = TRUE;
        SetCursor(LoadCursorW(nullptr, CursorFor(s->view->GetDocument() ? s->view->GetDocument()->Hover() : nullptr)));
        return TRUE;
    default:
        if (message == RenderMessage()) {
            handled = TRUE;
            if (s->renderPosted) Show(*s);
        }
        return 0;
    }
}

} // namespace

UINT DeliverPostedEventsMessage() {
    static const UINT message = RegisterWindowMessageW(L"Tracewipe.Engine.DeliverPostedEvents");
    return message;
}

void PageChanged(HWND hwnd, const Invalidation& what) {
    auto& states = States();
    auto it = states.find(hwnd);
    if (it != states.end()) it->second->renderer.Invalidate(what);
    if (!IsWindow(hwnd)) return;
    if (WindowState* s = StateOf(hwnd)) ScheduleShow(*s);
}

bool ElementOrigin(HWND hwnd, const Element& element, int& x, int& y) {
    WindowState* s = StateOf(hwnd);
    if (!s) return false;
    RectF border, content;
    if (!LayoutOf(*s).Locate(element, border, content)) return false;
    x = static_cast<int>(border.x);
    y = static_cast<int>(border.y);
    return true;
}

Element* ElementAt(HWND hwnd, int x, int y) {
    WindowState* s = StateOf(hwnd);
    return s ? LayoutOf(*s).HitTest(float(x), float(y)) : nullptr;
}

void ForgetWindow(HWND hwnd) { States().erase(hwnd); }

PageRenderer* RendererOf(HWND hwnd) {
    WindowState* s = StateOf(hwnd);
    return s ? &s->renderer : nullptr;
}

PageRenderer* RendererOf(const View& view, int& width, int& height) {
    for (auto& [hwnd, state] : States()) {
        if (state->view != &view) continue;
        if (WindowView(hwnd) != &view) return nullptr;
        SIZE size = ClientSize(hwnd);
        width = size.cx;
        height = size.cy;
        return &state->renderer;
    }
    return nullptr;
}

} // namespace engine::win32

extern "C" LRESULT HLCALL HTMLayoutProcND(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL* handled) {
    engine::ApiLock lock(engine::ApiMutex());
    BOOL done = FALSE;
    LRESULT result = engine::win32::Handle(hwnd, message, wParam, lParam, done);
    if (handled) *handled = done;
    return result;
}
