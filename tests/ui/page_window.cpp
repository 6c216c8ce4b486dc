#include "page_window.h"

#include "support/message_pump.h"
#include "ui/hit_test.h"
#include "ui/host_window.h"
#include "ui/resource_data.h"

#include <windowsx.h>

namespace ui_test {

namespace {

constexpr wchar_t kClass[] = L"ui_test::page_window";

void RegisterOnce(WNDPROC windowProc) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
    registered = true;
}

} // namespace

PageWindow::PageWindow(unsigned pageId, RECT area) : PageWindow(htmlayout::LoadPage(pageId), area) {}

PageWindow::PageWindow(std::wstring_view pageName, RECT area) : PageWindow(htmlayout::LoadPage(pageName), area) {}

PageWindow::PageWindow(std::optional<htmlayout::resource_bytes> page, RECT area) : event_handler(HANDLE_ALL) {
    RegisterOnce(WindowProc);
    hwnd_ = CreateWindowExW(0, kClass, L"", WS_POPUP, area.left, area.top, area.right - area.left,
                            area.bottom - area.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    HTMLayoutSetCallback(hwnd_, callback, notification_param());
    HTMLayoutWindowAttachEventHandler(hwnd_, element_proc, static_cast<event_handler*>(this), HANDLE_ALL);
    if (page)
        HTMLayoutLoadHtml(hwnd_, page->data(), static_cast<unsigned>(page->size()));
    htmlayout::scoped_element root = htmlayout::RootOf(hwnd_);
    body_ = htmlayout::FindFirst(root, L"body");
    caption_ = htmlayout::FindById(root, L"main_heading");
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
    Settle(50);
}

PageWindow::~PageWindow() {
    body_.reset();
    caption_.reset();
    HTMLayoutWindowDetachEventHandler(hwnd_, element_proc, static_cast<event_handler*>(this));
    DestroyWindow(hwnd_);
    testing_support::PumpMessages();
}

LRESULT CALLBACK PageWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    BOOL handled = FALSE;
    LRESULT result = HTMLayoutProcND(hwnd, message, wParam, lParam, &handled);
    if (handled) return result;
    if (htmlayout::HandleBorderlessMessage(hwnd, message, wParam, lParam, result)) return result;
    auto* self = reinterpret_cast<PageWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCHITTEST && self)
        return htmlayout::HitTest(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, self->caption_, self->body_);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

htmlayout::scoped_element PageWindow::Find(const wchar_t* id) const {
    return htmlayout::FindById(htmlayout::RootOf(hwnd_), id);
}

POINT PageWindow::ScreenPoint(const wchar_t* id, int dx, int dy) const {
    RECT rc{};
    HTMLayoutGetElementLocation(Find(id), &rc, ROOT_RELATIVE | BORDER_BOX);
    POINT p{rc.left + dx, rc.top + dy};
    ClientToScreen(hwnd_, &p);
    return p;
}

void PageWindow::Click(const wchar_t* id) const {
    POINT p = ScreenPoint(id, 4, 4);
    ScreenToClient(hwnd_, &p);
    LPARAM at = MAKELPARAM(p.x, p.y);
    SendMessageW(hwnd_, WM_MOUSEMOVE, 0, at);
    SendMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(hwnd_, WM_LBUTTONUP, 0, at);
    Settle(20);
}

void PageWindow::Key(UINT key) const {
    SendMessageW(hwnd_, WM_KEYDOWN, key, 1);
    SendMessageW(hwnd_, WM_KEYUP, key, 0xC0000001);
    Settle(20);
}

BOOL PageWindow::on_event(HELEMENT, HELEMENT target, unsigned type, unsigned) {
    if (type == ELEMENT_EXPANDED || type == ELEMENT_COLLAPSED)
        expansions.push_back(htmlayout::IdOf(target) + (type == ELEMENT_EXPANDED ? L"+" : L"-"));
    return FALSE;
}

bool Has(HELEMENT he, unsigned states) { return (htmlayout::GetStates(he) & states) == states; }

std::string ScreenshotFolder() { return SCREENSHOT_DIR; }

void Settle(unsigned ms) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(5)) testing_support::PumpMessages();
}

} // namespace ui_test
