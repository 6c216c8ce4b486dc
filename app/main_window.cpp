#include "app/main_window.h"

#include "app/clean_commands.h"
#include "app/command_line.h"
#include "app/launch_at_logon.h"
#include "app/module_path.h"
#include "app/tray_icon.h"
#include "settings/settings_store.h"
#include "ui/about_dlg.h"
#include "ui/element_ops.h"
#include "ui/hit_test.h"
#include "ui/host_window.h"
#include "ui/maker_site.h"
#include "ui/msg_box_dlg.h"
#include "ui/resource_data.h"
#include "ui/resource_ids.h"
#include "update/version_check.h"

#include <windowsx.h>

#include <functional>
#include <string_view>

namespace htmlayout {

window::window() : event_handler(HANDLE_ALL) {}

window::~window() = default;

BOOL window::on_event(HELEMENT, HELEMENT target, unsigned type, unsigned) {
    switch (type) {
    case BUTTON_CLICK:
    case HYPERLINK_CLICK: DispatchCommand(target); return TRUE;
    case BUTTON_STATE_CHANGED: ToggleItemById(target); return TRUE;
    case ELEMENT_EXPANDED: OnTabExpanded(tabs, target); return TRUE;
    case MENU_ITEM_CLICK: return TRUE;
    default: return FALSE; // with SINKING set, the events pass on their way down
    }
}

void window::DispatchCommand(HELEMENT target) {
    using Command = void (*)(window&);
    struct Entry {
        std::wstring_view id;
        Command run;
    };
    static constexpr Entry kCommands[] = {
        {L"company_logo_bottom", [](window&) { OpenMakerSitePage(L"home"); }},
        {L"product_link", [](window&) { OpenMakerSitePage(L"product_portlock"); }},
        {L"minimize", [](window& w) { ShowWindow(w.hwnd, SW_MINIMIZE); }},
        {L"movetray", [](window& w) { MoveToTray(w.hwnd); }},
        {L"exit", [](window& w) { PostMessageW(w.hwnd, WM_CLOSE, 0, 0); }},
        {L"about", [](window& w) { AboutDlg(w.hwnd).run(kAboutPageId); }},
        {L"apply", [](window&) { ApplySettings(); }},
        {L"update",
         [](window& w) {
             CheckVersion([&w](const std::wstring& title, const std::wstring& text) {
                 MsgBoxDlg::Show(w.hwnd, title, text);
             });
         }},
        {L"btn_panelClean", [](window& w) { CleanCurrentTab(w.hwnd, w.tabs); }},
        {L"btn_cleanAll", [](window& w) { CleanAll(w.hwnd); }},
        {L"btn_QuickClean", [](window& w) { CleanSelected(w.hwnd); }},
    };
    const std::wstring id = IdOf(target);
    for (const Entry& entry : kCommands) {
        if (id == entry.id) {
            entry.run(*this);
            return;
        }
    }
}

void window::OnTimer(UINT_PTR timerId) {
    if (timerId != kStartHiddenTimerId) return;
    KillTimer(hwnd, kStartHiddenTimerId);
    MoveToTray(hwnd);
}

LRESULT window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTrayCallbackMessage && OnTrayCallback(hwnd, wParam, lParam)) return 1;
    switch (message) {
    case WM_NCHITTEST:
        return HitTest(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, captionArea, body);
    case WM_TIMER: OnTimer(wParam); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace htmlayout

namespace {

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    BOOL handled = FALSE;
    LRESULT result = HTMLayoutProcND(hwnd, message, wParam, lParam, &handled);
    if (handled) return result;

    // The frame messages come before the object is bound, while the window is created: a frame counted
    // then would shrink the client area, and the layered window with it.
    if (htmlayout::HandleBorderlessMessage(hwnd, message, wParam, lParam, result)) return result;
    if (message == WM_CLOSE) {
        DestroyWindow(hwnd);
        return 0;
    }
    auto* self = reinterpret_cast<htmlayout::window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_DESTROY) {
        if (self) {
            HTMLayoutSetCallback(hwnd, nullptr, nullptr);
            HTMLayoutWindowDetachEventHandler(hwnd, htmlayout::event_handler::element_proc, self);
            delete self;
        }
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        PostQuitMessage(0);
        return 0;
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

} // namespace

void RegisterMainWindowClass(HINSTANCE instance) { htmlayout::RegisterHostWindowClass(instance, MainWindowProc); }

htmlayout::window* CreateMainWindow(int x, int y, int width, int height, const wchar_t* title) {
    auto* self = new htmlayout::window();
    // NOTE: the title is given at once, not after the page loads: a second start finds the window by it,
    // also when the page is missing.
    self->hwnd = CreateWindowExW(WS_EX_LAYERED, htmlayout::kHostWindowClass, title, WS_POPUP | WS_THICKFRAME, x, y,
                                 width, height, nullptr, nullptr, htmlayout::HostInstance(), nullptr);
    if (!self->hwnd) return self;
    SetWindowLongPtrW(self->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    HTMLayoutSetCallback(self->hwnd, htmlayout::notification_handler<htmlayout::window>::callback,
                         self->notification_param());

    auto page = htmlayout::LoadPage(htmlayout::kMainPageName);
    if (!page) return self;
    HTMLayoutLoadHtml(self->hwnd, page->data(), static_cast<unsigned>(page->size()));

    self->root = htmlayout::RootOf(self->hwnd);
    self->body = htmlayout::FindFirst(self->root, L"body");
    InitTabGuidance(self->tabs, self->root);
    self->captionArea = htmlayout::FindById(self->root, L"main_div");

    HTMLayoutWindowAttachEventHandler(self->hwnd, htmlayout::event_handler::element_proc,
                                      static_cast<htmlayout::event_handler*>(self), HANDLE_ALL);
    CaptureModulePath();

    LoadWindowsSelection();
    SyncWindowsBoxes(self->root);
    LoadIeSelection();
    LoadFfSelection();
    LoadGcSelection();
    LoadMeSelection();
    LoadBrSelection();
    LoadSettings();
    SyncIeBoxes(self->root);
    SyncFfBoxes(self->root);
    SyncGcBoxes(self->root);
    SyncMeBoxes(self->root);
    SyncBrBoxes(self->root);
    SyncSettingBoxes(self->root);

    if (IsStartupCommandLine()) SetTimer(self->hwnd, kStartHiddenTimerId, kStartHiddenDelayMs, nullptr);
    return self;
}
