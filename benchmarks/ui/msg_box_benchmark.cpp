// Times a message box from the call that runs it to its pixels on the screen, against the engine showing the
// same page (191, with its images from the resources) in a bare window: a layered popup of the same size at
// the same place, created, loaded and shown. Both run in one process over the same owner, alternating, a new
// window each round; the pixels are seen by another thread reading the screen where the page's close button
// will be drawn.
// Usage: msg_box_benchmark [rounds]

#include "tests/support/message_pump.h"
#include "tests/support/timing.h"
#include "ui/msg_box_dlg.h"
#include "ui/notification_handler.h"
#include "ui/resource_data.h"
#include "ui/resource_ids.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using testing_support::Median;
using testing_support::PumpMessages;

constexpr int kWidth = 340, kHeight = 198; // page 191's size

COLORREF ScreenPixel(POINT p) {
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

// Watches one screen point from its own thread and notes when it first differs from what it showed before.
class PixelWatch {
public:
    explicit PixelWatch(POINT p) : point_(p), before_(ScreenPixel(p)) {
        thread_ = std::thread([this] {
            while (!stop_) {
                if (ScreenPixel(point_) != before_) {
                    changed_ = Clock::now();
                    seen_ = true;
                    return;
                }
                Sleep(0);
            }
        });
    }
    ~PixelWatch() {
        stop_ = true;
        thread_.join();
    }
    bool Seen() const { return seen_; }
    Clock::time_point When() const { return changed_; }

private:
    POINT point_;
    COLORREF before_;
    std::atomic<bool> stop_{false}, seen_{false};
    Clock::time_point changed_;
    std::thread thread_;
};

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    BOOL handled = FALSE;
    LRESULT result = HTMLayoutProcND(hwnd, message, wParam, lParam, &handled);
    return handled ? result : DefWindowProcW(hwnd, message, wParam, lParam);
}

struct Answerer : htmlayout::notification_handler<Answerer> {};

// Each round starts from the owner's black at the watched point, once the last round's window has gone.
void WaitForOwnerColour(POINT watch) {
    for (DWORD begin = GetTickCount(); ScreenPixel(watch) != RGB(0, 0, 0) && GetTickCount() - begin < 3000; Sleep(5))
        PumpMessages();
}

// The bare window: the engine alone, answering the page's images from the resources.
double BareWindow(RECT at, POINT watch) {
    static Answerer answerer;
    WaitForOwnerColour(watch);
    PixelWatch pixels(watch);
    Clock::time_point start = Clock::now();
    HWND hwnd = CreateWindowExW(WS_EX_LAYERED, L"msg_box_benchmark", L"", WS_POPUP, at.left, at.top, kWidth, kHeight,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HTMLayoutSetCallback(hwnd, Answerer::callback, answerer.notification_param());
    auto page = htmlayout::LoadPage(htmlayout::kMsgBoxPageId);
    HTMLayoutLoadHtmlEx(hwnd, page->data(), static_cast<unsigned>(page->size()), L"");
    ShowWindow(hwnd, SW_SHOW);
    for (DWORD begin = GetTickCount(); !pixels.Seen() && GetTickCount() - begin < 5000; Sleep(0)) PumpMessages();
    double ms = pixels.Seen() ? Ms(start, pixels.When()) : -1;
    DestroyWindow(hwnd);
    PumpMessages();
    return ms;
}

BOOL CALLBACK CloseDialog(HWND hwnd, LPARAM) {
    wchar_t name[16] = L"";
    GetClassNameW(hwnd, name, 16);
    if (std::wstring(name) == L"#32770") PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

// The message box: run() holds this thread until the box is closed, which the watch's thread does once it saw
// the pixels.
double MessageBox(HWND owner, POINT watch) {
    htmlayout::MsgBoxDlg box(owner);
    box.title = L"Delete Successfully";
    box.message = L"History of all the items are delete successfully.";
    WaitForOwnerColour(watch);
    PixelWatch pixels(watch);
    std::atomic<bool> done{false};
    DWORD runner = GetCurrentThreadId();
    std::thread closer([&] {
        for (DWORD begin = GetTickCount(); !pixels.Seen() && GetTickCount() - begin < 5000;) Sleep(1);
        while (!done) {
            PostThreadMessageW(runner, WM_APP, 0, 0); // wakes the modal loop to look for the window
            EnumThreadWindows(runner, CloseDialog, 0);
            Sleep(20);
        }
    });
    Clock::time_point start = Clock::now();
    box.run(htmlayout::kMsgBoxPageId);
    done = true;
    closer.join();
    return pixels.Seen() ? Ms(start, pixels.When()) : -1;
}

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 10;
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"msg_box_benchmark";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterClassW(&wc);

    // The owner: a plain black window the boxes centre over; its colour is what the watched point shows before.
    HWND owner = CreateWindowExW(0, L"msg_box_benchmark", L"", WS_POPUP | WS_VISIBLE, 100, 100, 800, 600, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    PumpMessages();
    RECT at{100 + (800 - kWidth) / 2, 100 + (600 - kHeight) / 2, 0, 0};
    POINT watch{at.left + kWidth - 40, at.top + kHeight - 25}; // on the "Close" button

    double cold = BareWindow(at, watch); // the process's first page: GDI+, fonts and images warm up
    std::vector<double> bare, box;
    for (int i = 0; i < rounds; ++i) {
        bare.push_back(BareWindow(at, watch));
        box.push_back(MessageBox(owner, watch));
    }
    double b = Median(bare), m = Median(box);
    std::printf("bare window, first page of the process: %.1f ms\n", cold);
    std::printf("bare window, page 191 to pixels: median %.1f ms\n", b);
    std::printf("message box run to pixels:       median %.1f ms\n", m);
    std::printf("ratio message box / bare window: %.2f (%d rounds)\n", b > 0 ? m / b : 0.0, rounds);
    DestroyWindow(owner);
    return 0;
}
