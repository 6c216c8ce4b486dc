// Tracewipe's entry point: one instance per log-on, the main window, and the message loop.
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/main_window_names.h"
#include "app/single_instance.h"
#include "app/unattended_command.h"
#include "app/unattended_run.h"
#include "app/window_placement.h"
#include "ui/display_scale.h"

#include <objbase.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
    CoInitialize(nullptr); // for the whole process; the cleaners' shell and URL-history calls need it
    StoreCommandLine(commandLine);
    // Before the single-instance test: an unattended run neither brings a window forward nor keeps one
    // from opening.
    if (const std::vector<std::wstring> arguments = ProgramArguments(); IsUnattendedCommand(arguments))
        return RunUnattended(arguments);
    if (AnotherInstanceRuns()) {
        BringFirstInstanceForward();
        return 0;
    }

    RegisterMainWindowClass(instance);
    const UINT dpi = htmlayout::DpiOf(nullptr);
    const POINT origin = MainWindowOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), dpi);
    htmlayout::window* mainWindow =
        CreateMainWindow(origin.x, origin.y, htmlayout::ScaledPixels(kMainWindowWidth, dpi),
                         htmlayout::ScaledPixels(kMainWindowHeight, dpi), kMainWindowTitle);
    if (!mainWindow->hwnd) {
        delete mainWindow;
        return 0;
    }
    ShowWindow(mainWindow->hwnd, showCommand);
    UpdateWindow(mainWindow->hwnd);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
