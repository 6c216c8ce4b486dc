// HTMLayoutProcND: the engine's half of every host window procedure. Mouse and key messages become DOM
// events through the real hit test; painting goes to a premultiplied bitmap shown with BitBlt, or with
// UpdateLayeredWindow (per-pixel alpha) for layered windows, which get no WM_PAINT of their own.

#include "engine/win32/window_layer.h"

#include "engine/api/api_lock.h"
#include "engine/events/input.h"
#include "engine/include/htmlayout.h"
#include "engine/paint/canvas.h"
#include "engine/view/view.h"
#include "engine/win32/page_renderer.h"

#include <windowsx.h>

#include <map>
#include <memory>

namespace engine::win32 {
namespace {

constexpr float kWheelStep = 40; // pixels per notch

struct WindowState {
    explicit WindowState(HWND h, View& v) : hwnd(h), view(&v), renderer(v) {}

    HWND hwnd;
    View* view;
    PageRenderer renderer;
    bool trackingLeave = false;
    bool renderPosted = false;
    const Element* dragging = nullptr; // the scroll container whose thumb is held
    float dragOrigin = 0, dragScroll = 0;
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

PageLayout& LayoutOf(WindowState& s) {
    SIZE size = ClientSize(s.hwnd);
    return s.renderer.Layout(size.cx, size.cy);
}

void Show(WindowState& s) {
    s.renderPosted = false;
    SIZE size = ClientSize(s.hwnd);
    bool layered = Layered(s.hwnd);
    if (layered && !s.renderer.Render(size.cx, size.cy, true)) return;
    if (layered) {
        POINT origin{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(s.hwnd, nullptr, nullptr, &size, s.renderer.Surface().Dc(), &origin, 0, &blend, ULW_ALPHA);
        ValidateRect(s.hwnd, nullptr);
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(s.hwnd, &ps);
    if (s.renderer.Render(size.cx, size.cy, false))
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left, ps.rcPaint.bottom - ps.rcPaint.top,
               s.renderer.Surface().Dc(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    EndPaint(s.hwnd, &ps);
}

void ScheduleShow(WindowState& s) {
    InvalidateRect(s.hwnd, nullptr, FALSE);
    if (Layered(s.hwnd) && !s.renderPosted) s.renderPosted = PostMessageW(s.hwnd, RenderMessage(), 0, 0) != 0;
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
    } else {
        float page = box->ClientBox().h;
        if (layout.ScrollTo(*box, box->scrollY + (y < thumb.y ? -page : page))) s.renderer.ScrollChanged();
    }
    ScheduleShow(s);
    return true;
}

void DragScrollbar(WindowState& s, int y) {
    PageLayout& layout = LayoutOf(s);
    Box* box = BoxOfElement(layout, s.dragging);
    if (!box) return;
    RectF track = ScrollbarTrack(*box);
    float travel = track.h - ScrollbarThumb(*box).h;
    if (travel <= 0) return;
    if (layout.ScrollTo(*box, s.dragScroll + (float(y) - s.dragOrigin) * box->MaxScroll() / travel)) {
        s.renderer.ScrollChanged();
        ScheduleShow(s);
    }
}

// Scrolls the innermost scrolling box under the point; false when none could move.
bool Wheel(WindowState& s, int x, int y, int delta) {
    PageLayout& layout = LayoutOf(s);
    for (Box* box = layout.ScrollerAt(float(x), float(y)); box; box = box->parent) {
        if (!box->scrollable) continue;
        if (layout.ScrollTo(*box, box->scrollY - delta * kWheelStep / WHEEL_DELTA)) {
            s.renderer.ScrollChanged();
            ScheduleShow(s);
            return true;
        }
    }
    return false;
}

bool Mouse(WindowState& s, unsigned kind, int x, int y, unsigned buttons, int wheel = 0) {
    if (kind == MOUSE_MOVE && !s.trackingLeave) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, s.hwnd, 0};
        s.trackingLeave = TrackMouseEvent(&track) != 0;
    }
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
        if (message == WM_LBUTTONDOWN && PressScrollbar(*s, x, y)) {
            handled = TRUE;
            return 0;
        }
        SetCapture(hwnd);
        if (GetFocus() != hwnd) SetFocus(hwnd);
        if (!(s = StateOf(hwnd))) return 0; // the focus change may have closed the window
        handled = Mouse(*s, MOUSE_DOWN, x, y, message == WM_LBUTTONDOWN ? MAIN_MOUSE_BUTTON : PROP_MOUSE_BUTTON);
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        handled = Mouse(*s, MOUSE_DCLICK, x, y, message == WM_LBUTTONDBLCLK ? MAIN_MOUSE_BUTTON : PROP_MOUSE_BUTTON);
        return 0;
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
    case WM_CHAR:
        handled = HandleKey(*s->view, message == WM_KEYDOWN ? KEY_DOWN : message == WM_KEYUP ? KEY_UP : KEY_CHAR,
                            static_cast<unsigned>(wParam), KeyStates());
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
