#pragma once
// The main window: a borderless window whose whole surface is the page "MAIN_SKIN".
#include "settings/option_panels.h"
#include "ui/event_handler.h"
#include "ui/notification_handler.h"
#include "ui/scoped_element.h"

#include <windows.h>

namespace htmlayout {

class window : public event_handler, public notification_handler<window> {
public:
    window();
    ~window() override;

    // Behavior events of the page: clicks run commands, box changes flip flags, tab switches guide.
    BOOL on_event(HELEMENT he, HELEMENT target, unsigned type, unsigned reason) override;

    HWND hwnd = nullptr;
    scoped_element body;
    scoped_element root;
    scoped_element captionArea; // main_div, the drag bar along the top
    TabGuidance tabs;

    void DispatchCommand(HELEMENT target);
    void OnTimer(UINT_PTR timerId);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace htmlayout

inline constexpr UINT_PTR kStartHiddenTimerId = 1280;
inline constexpr UINT kStartHiddenDelayMs = 200;

// Registers the class "htmlayout::window" with the main window procedure.
void RegisterMainWindowClass(HINSTANCE instance);

// Creates the window hidden, loads its page and the stored selection. The object's hwnd is null when the
// window could not be created. A missing page leaves an empty window.
htmlayout::window* CreateMainWindow(int x, int y, int width, int height, const wchar_t* title);
