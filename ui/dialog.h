#pragma once
// The base of every HTML dialog: a borderless layered popup over its owner whose whole surface is a page
// from the program's resources, run modally by its own message loop while the owner is disabled.
#include "ui/event_handler.h"
#include "ui/notification_handler.h"
#include "ui/scoped_element.h"
#include "ui/value.h"

#include <string>

namespace htmlayout {

class dialog : public event_handler, public notification_handler<dialog> {
public:
    explicit dialog(HWND owner);
    ~dialog() override;

    // Shows the RT_HTML page `pageId` and returns the result once the dialog window is gone; returns 0 and
    // shows nothing when the page is missing or empty. `values` are set on the page's named controls.
    // A quit message met on the way ends the run and is posted again for the program's own loop.
    int run(unsigned pageId, const named_values* values = nullptr);

    HWND hwnd() const { return hwnd_; }
    HWND owner() const { return owner_; }

protected:
    // Creates the window from an in-memory template: popup, layered, no controls, size 0; run() shows it.
    virtual HWND create_window();
    // Runs once the page is loaded and root, body and caption are found (a page without a root closes the
    // dialog instead). The default places the window and focuses the default button; a class that
    // overrides it does its own lookups and texts first, then calls dialog::on_init_dialog() or
    // place_window() when it wants the window shown.
    virtual void on_init_dialog();
    // Every message the engine left, before the base's own handling (WM_TIMER, the class's own messages).
    // Returns true, with `result` set, when it answered the message.
    virtual bool on_message(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    // Asked on WM_CLOSE: false keeps the dialog open, e.g. while work it started stops; the class then
    // posts WM_CLOSE again once it may close.
    virtual bool can_close() { return true; }

    // Sizes the window to the page's minimal size plus frame, centres it over the owner and posts WM_USER,
    // which gives the default button the focus.
    void place_window();
    // Asks the dialog to close (posts WM_CLOSE).
    void close();

    // The window's title, which screen readers read: by default the caption's text.
    virtual std::wstring window_title();

    // Escape does what the dialog's exit does; Tab walks the controls where there are several.
    BOOL handle_key(HELEMENT he, HL_KEY_PARAMS& params) override;

    int result = 2;
    scoped_element root;
    scoped_element body;
    scoped_element caption; // "main_heading"

private:
    static INT_PTR CALLBACK dialog_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle_message(UINT message, WPARAM wParam, LPARAM lParam);
    void initialise(HWND hwnd);
    void apply_values();
    void modal_loop();
    void focus_default_button();

    HWND hwnd_ = nullptr;
    HWND owner_;
    const named_values* values_ = nullptr;
    const unsigned char* page_ = nullptr;
    unsigned pageSize_ = 0;
    std::wstring baseUrl_;
};

} // namespace htmlayout
