#pragma once
// Drives a modal dialog from a second thread while the test's thread runs it: the dialog's modal loop
// holds the test's thread until the dialog is gone, so what a user would do happens from here, through real
// input or messages, and what the test wants to see is noted for the test's thread to check.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace ui_test {

class DialogDriver {
public:
    // Waits on its own thread for a visible, sized dialog window of the calling thread, then runs `steps`
    // with it. A dialog still open 10 s after the steps is closed, so that a failing test cannot hang.
    explicit DialogDriver(std::function<void(HWND dialog)> steps);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Waits until the steps are done; what the two below say holds from then on.
    void Join();
    bool SawDialog() const { return sawDialog_; }
    bool LeftOpen() const { return leftOpen_; }

private:
    std::thread thread_;
    bool sawDialog_ = false;
    bool leftOpen_ = false;
};

// The visible dialog windows (class "#32770") of a thread.
std::vector<HWND> DialogsOf(DWORD threadId);
// The text of the dialog page's element with this id.
std::wstring TextOf(HWND dialog, const wchar_t* id);
// The screen point at the centre of the element's border box, or at (dx, dy) inside it when given.
POINT ScreenPointOf(HWND dialog, const wchar_t* id, int dx = -1, int dy = -1);
// Waits up to `ms` for the condition, without taking any thread's messages.
bool WaitFor(const std::function<bool()>& condition, unsigned ms);

} // namespace ui_test
