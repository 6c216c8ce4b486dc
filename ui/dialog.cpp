// The dialog machinery shared by every HTML dialog: window from an in-memory template, the page loaded while
// the dialog initialises, sized to the page and centred over its owner, and the modal loop.
#include "ui/dialog.h"

#include "ui/element_ops.h"
#include "ui/hit_test.h"
#include "ui/resource_data.h"

#include <windowsx.h>

namespace htmlayout {

dialog::dialog(HWND owner) : event_handler(HANDLE_BEHAVIOR_EVENT), owner_(owner) {}

dialog::~dialog() {
    // run() returns only once the window is gone; this guards a dialog created but never run.
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

int dialog::run(unsigned pageId, const named_values* values) {
    values_ = values;
    std::optional<resource_bytes> page = LoadPage(pageId);
    if (!page) return 0;
    page_ = page->data();
    pageSize_ = static_cast<unsigned>(page->size());
    if (!create_window()) return 0;
    apply_values();
    if (IsWindow(hwnd_)) ShowWindow(hwnd_, SW_SHOW);
    modal_loop();
    return result;
}

HWND dialog::create_window() {
    // A template with no controls, menu, class or title; the page gives the size later.
    // NOTE: not WS_VISIBLE: the window is shown once, by run(), at its page's size; shown at creation it was
    // activated and mapped at size 0 first, which cost a few milliseconds before the page's first pixels.
    alignas(DWORD) WORD buffer[16]{};
    auto* t = reinterpret_cast<DLGTEMPLATE*>(buffer);
    t->style = WS_POPUP;
    t->dwExtendedStyle = WS_EX_LAYERED;
    HINSTANCE instance = owner_ ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner_, GWLP_HINSTANCE)) : nullptr;
    if (!instance) instance = GetModuleHandleW(nullptr);
    return CreateDialogIndirectParamW(instance, t, owner_, dialog_proc, reinterpret_cast<LPARAM>(this));
}

void dialog::apply_values() {
    if (!values_) return;
    for (const auto& [name, v] : *values_) {
        scoped_element element = FindFirst(root, L"[name='" + name + L"']");
        const wchar_t* behavior = nullptr;
        if (element && HTMLayoutGetStyleAttribute(element, "behavior", &behavior) == HL_OK && behavior && *behavior)
            SetControlValue(element, v);
    }
}

// A quit met here ends the run but not before the dialog window is gone (a class may hold its close back
// while its work stops); the quit is then posted again, so the program's own loop ends too.
void dialog::modal_loop() {
    HWND disabled = hwnd_ ? GetAncestor(hwnd_, GA_ROOTOWNER) : nullptr;
    if (disabled == hwnd_) disabled = nullptr; // a dialog without owner disables nothing
    if (disabled) EnableWindow(disabled, FALSE);
    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg;
    while (hwnd_ && IsWindow(hwnd_)) {
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            if (!quit) close();
            quit = true;
            quitCode = msg.wParam;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (disabled) {
        EnableWindow(disabled, TRUE);
        SetForegroundWindow(disabled);
    }
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

void dialog::close() {
    if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

INT_PTR CALLBACK dialog::dialog_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    BOOL handled = FALSE;
    LRESULT engineResult = HTMLayoutProcND(hwnd, message, wParam, lParam, &handled);
    // A dialog procedure's own return value only says "handled"; the answer goes through DWLP_MSGRESULT, or
    // WM_GETOBJECT would answer 0 and a screen reader would get the system's empty stand-in for the page.
    if (handled && engineResult) SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, engineResult);
    if (handled) return engineResult ? TRUE : FALSE;
    if (message == WM_INITDIALOG) {
        reinterpret_cast<dialog*>(lParam)->initialise(hwnd);
        return 0;
    }
    auto* self = reinterpret_cast<dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return self ? self->handle_message(message, wParam, lParam) : 0;
}

INT_PTR dialog::handle_message(UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR answer = 0;
    if (on_message(message, wParam, lParam, answer)) return answer;
    switch (message) {
    case WM_USER: focus_default_button(); return 0;
    case WM_NCHITTEST: {
        POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, HitTest(hwnd_, screen, caption, body));
        return TRUE;
    }
    case WM_CLOSE:
        if (!can_close()) return 0;
        if (HWND parent = GetParent(hwnd_)) {
            EnableWindow(parent, TRUE);
            SetForegroundWindow(parent);
        }
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        HTMLayoutWindowDetachEventHandler(hwnd_, element_proc, static_cast<event_handler*>(this));
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        hwnd_ = nullptr;
        return 0;
    default: return 0;
    }
}

void dialog::initialise(HWND hwnd) {
    hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
    HTMLayoutSetCallback(hwnd, notification_handler<dialog>::callback, notification_param());
    HTMLayoutWindowAttachEventHandler(hwnd, element_proc, static_cast<event_handler*>(this), HANDLE_ALL);
    if (!page_ || !pageSize_) return;
    HTMLayoutLoadHtmlEx(hwnd, page_, pageSize_, baseUrl_.c_str());
    root = RootOf(hwnd);
    body.reset();
    caption.reset();
    if (!root) {
        // Nothing to show and nothing to close it with: close at once rather than leave the owner disabled.
        close();
        return;
    }
    body = FindFirst(root, L"body");
    caption = FindById(root, L"main_heading");
    on_init_dialog();
}

void dialog::on_init_dialog() { place_window(); }

bool dialog::on_message(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

void dialog::place_window() {
    int w = static_cast<int>(HTMLayoutGetMinWidth(hwnd_));
    int h = static_cast<int>(HTMLayoutGetMinHeight(hwnd_, static_cast<UINT>(w)));
    RECT frame{0, 0, w, h};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT over{};
    if (!owner_ || !GetWindowRect(owner_, &over)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    int x = over.left + (over.right - over.left - width) / 2;
    int y = over.top + (over.bottom - over.top - height) / 2;
    SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER);
    // The borderless window shows no title, but assistive technology reads it to name the dialog.
    SetWindowTextW(hwnd_, window_title().c_str());
    PostMessageW(hwnd_, WM_USER, 0, 0);
}

void dialog::focus_default_button() {
    if (scoped_element button = FindFirst(root, L"[role='default-button']"))
        SetStates(button, STATE_FOCUS, 0);
    else
        SetFocus(hwnd_);
}

std::wstring dialog::window_title() { return GetText(FindFirst(caption, L".caption-text")); }

namespace {

int HLCALL Count(HELEMENT, void* param) {
    ++*static_cast<unsigned*>(param);
    return FALSE;
}

unsigned CountOf(HELEMENT under, const wchar_t* selector) {
    unsigned count = 0;
    if (under) HTMLayoutSelectElementsW(under, selector, Count, &count);
    return count;
}

} // namespace

// Every dialog's exit closes it (the progress dialog's stop included, through can_close), so Escape asks
// for the same close. Tab stays on a dialog's one control (its caption's buttons aside), as it always did.
BOOL dialog::handle_key(HELEMENT, HL_KEY_PARAMS& params) {
    if (params.cmd != KEY_DOWN) return FALSE;
    if (params.keyCode == VK_ESCAPE) {
        close();
        return TRUE;
    }
    if (params.keyCode != VK_TAB) return FALSE;
    constexpr const wchar_t* kControls = L"button, a[href]";
    return CountOf(root, kControls) - CountOf(caption, kControls) < 2;
}

} // namespace htmlayout
