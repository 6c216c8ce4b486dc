#pragma once
// The stage of the progress-dialog tests: a real owner window on the test's thread, which runs the dialog's
// modal loop, and a second thread that acts as the user. Pages belong to the thread that shows them, so the
// second thread looks at a page only through OnUiThread.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace cleaning_test {

class OwnerWindow {
public:
    explicit OwnerWindow(RECT area = RECT{160, 100, 880, 610});
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Runs `work` on the owner's thread, between two of its messages, and waits for it.
    void OnUiThread(const std::function<void()>& work) const;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// The user's side: `steps` run on their own thread while the test's thread runs the dialog. Whatever the
// steps leave open is closed after 15 s, so that a failing test cannot hang.
class User {
public:
    explicit User(std::function<void()> steps);
    ~User();
    void Join();

private:
    std::thread thread_;
    DWORD runner_;
};

// A real click that comes from elsewhere, as a hand's would: the pointer first leaves the point, so that the
// page sees it enter the element (a new dialog can open under a pointer that has not moved).
void Press(POINT screen);

bool WaitFor(const std::function<bool()>& condition, unsigned ms);
// The first visible dialog window (#32770) of `thread` that has a size and is not `other`; null after `ms`.
HWND WaitForDialog(DWORD thread, HWND other = nullptr, unsigned ms = 10000);
std::vector<HWND> VisibleDialogsOf(DWORD thread);

// On the page's own thread: the element's inner text, whether it has a box (it and its containers are
// shown), its states, and the screen point at its centre.
std::wstring TextOf(HWND dialog, const wchar_t* id);
bool Displayed(HWND dialog, const wchar_t* id);
unsigned StatesOf(HWND dialog, const wchar_t* id);
// The element's border box relative to the page's root.
RECT LocationOf(HWND dialog, const wchar_t* id);
POINT CentreOf(HWND dialog, const wchar_t* id);
std::wstring AttributeOf(HWND dialog, const wchar_t* id, const char* name);

} // namespace cleaning_test
