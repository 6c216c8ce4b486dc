// What handing pixels to a window costs, at the main window's size at 96 and 144 DPI: a layered window's
// UpdateLayeredWindowIndirect with a small, a check-box-sized and a whole dirty rectangle, and the ways of
// calling it that Windows treats alike (no position or size, ULW_EX_NORESIZE, no dirty rectangle), against a
// plain window's BitBlt of the same rectangles; and the pieces Wine does inside every layered copy, timed on
// their own. Each call is timed to its return and to its pixels on the screen. Run under the test prefix
// on a display.
#include "app/main_window_names.h"
#include "support/timing.h"
#include "ui/display_scale.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        ValidateRect(hwnd, nullptr); // the benchmark draws itself
        return 0;
    }
    if (message == WM_ERASEBKGND) return 1;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A 32-bit top-down DIB section in a memory DC, as the engine paints into.
class Pixels {
  public:
    Pixels(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32};
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        dc_ = CreateCompatibleDC(nullptr);
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~Pixels() {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    Pixels(const Pixels&) = delete;
    Pixels& operator=(const Pixels&) = delete;

    HDC Dc() const { return dc_; }
    void Fill(const RECT& rc, unsigned argb) {
        for (int y = rc.top; y < rc.bottom; ++y)
            std::fill(bits_ + y * width_ + rc.left, bits_ + y * width_ + rc.right, argb);
        GdiFlush();
    }

  private:
    int width_, height_;
    HBITMAP bitmap_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    unsigned* bits_ = nullptr;
};

// One pixel of the screen, read back until it shows the colour a copy put there.
bool ScreenShows(POINT at, COLORREF colour, Clock::time_point start) {
    HDC screen = GetDC(nullptr);
    bool shown = false;
    while (!shown && MsSince(start) < 500)
        shown = GetPixel(screen, at.x, at.y) == colour;
    ReleaseDC(nullptr, screen);
    return shown;
}

struct Window {
    HWND hwnd;
    SIZE size;
    POINT origin;
};

Window Open(bool layered, SIZE size) {
    const POINT origin{(GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2};
    HWND hwnd = CreateWindowExW(layered ? WS_EX_LAYERED : 0, L"LayeredCopyBenchmark", L"", WS_POPUP, origin.x,
                                origin.y, size.cx, size.cy, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    return {hwnd, size, origin};
}

struct Way {
    const char* name;
    bool layered;
    // Hands the window the rectangle of the pixels; false when the system refused.
    std::function<bool(const Window&, Pixels&, const RECT&)> copy;
};

bool Layered(const Window& w, Pixels& pixels, const RECT* dirty, bool withSize, DWORD flags) {
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UPDATELAYEREDWINDOWINFO info{sizeof info};
    info.psize = withSize ? &w.size : nullptr;
    info.hdcSrc = pixels.Dc();
    info.pptSrc = &source;
    info.pblend = &blend;
    info.dwFlags = ULW_ALPHA | flags;
    info.prcDirty = dirty;
    return UpdateLayeredWindowIndirect(w.hwnd, &info) != FALSE;
}

std::vector<Way> Ways() {
    return {
        {"layered, dirty rectangle, size given", true,
         [](const Window& w, Pixels& p, const RECT& rc) { return Layered(w, p, &rc, true, 0); }},
        {"layered, dirty rectangle, no size", true,
         [](const Window& w, Pixels& p, const RECT& rc) { return Layered(w, p, &rc, false, 0); }},
        {"layered, dirty rectangle, ULW_EX_NORESIZE", true,
         [](const Window& w, Pixels& p, const RECT& rc) { return Layered(w, p, &rc, true, ULW_EX_NORESIZE); }},
        {"layered, no dirty rectangle (whole)", true,
         [](const Window& w, Pixels& p, const RECT&) { return Layered(w, p, nullptr, true, 0); }},
        {"plain window, BitBlt of the rectangle", false,
         [](const Window& w, Pixels& p, const RECT& rc) {
             HDC dc = GetDC(w.hwnd);
             bool done = BitBlt(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, p.Dc(), rc.left,
                                rc.top, SRCCOPY) != FALSE;
             ReleaseDC(w.hwnd, dc);
             Pump(); // Wine shows a plain window's drawing when its thread looks for messages
             return done;
         }},
    };
}

struct Area {
    const char* name;
    RECT rc;
};

void Measure(UINT dpi, int rounds) {
    const SIZE size{htmlayout::ScaledPixels(kMainWindowWidth, dpi), htmlayout::ScaledPixels(kMainWindowHeight, dpi)};
    const int box = htmlayout::ScaledPixels(1, dpi);
    const Area areas[] = {
        {"1x1", {size.cx / 2, size.cy / 2, size.cx / 2 + 1, size.cy / 2 + 1}},
        {"check box row", {size.cx / 3, size.cy / 3, size.cx / 3 + 160 * box, size.cy / 3 + 26 * box}},
        {"whole", {0, 0, size.cx, size.cy}},
    };
    std::printf("%u DPI, %ldx%ld, medians of %d (call returned / pixels on the screen):\n", dpi, size.cx, size.cy,
                rounds);
    Pixels pixels(size.cx, size.cy);
    const std::vector<Way> ways = Ways();
    const Window layered = Open(true, size), plain = Open(false, size);
    for (const Area& area : areas) {
        std::vector<std::vector<double>> call(ways.size()), shown(ways.size());
        const POINT probe{area.rc.left, area.rc.top};
        for (int round = 0; round < rounds; ++round) {
            for (size_t i = 0; i < ways.size(); ++i) {
                const Window& w = ways[i].layered ? layered : plain;
                // Both windows stand at the same place: only the one measured shows.
                ShowWindow((ways[i].layered ? plain : layered).hwnd, SW_HIDE);
                ShowWindow(w.hwnd, SW_SHOWNOACTIVATE);
                // A new opaque colour each time, so the screen tells when this copy reached it.
                const unsigned rgb = 0x203040u + static_cast<unsigned>(round * 7 + i) % 200 * 0x010101u;
                pixels.Fill({0, 0, size.cx, size.cy}, 0xFF000000u | (rgb ^ 0x00FFFF00u));
                if (ways[i].layered || round == 0) ways[i].copy(w, pixels, RECT{0, 0, size.cx, size.cy});
                pixels.Fill(area.rc, 0xFF000000u | rgb);
                Pump();
                const auto start = Clock::now();
                if (!ways[i].copy(w, pixels, area.rc)) {
                    std::printf("  %s: refused (error %lu)\n", ways[i].name, GetLastError());
                    continue;
                }
                call[i].push_back(MsSince(start));
                const COLORREF colour = RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
                if (ScreenShows(POINT{w.origin.x + probe.x, w.origin.y + probe.y}, colour, start))
                    shown[i].push_back(MsSince(start));
            }
        }
        std::printf("  %s:\n", area.name);
        for (size_t i = 0; i < ways.size(); ++i)
            std::printf("    %-44s %6.3f / %6.3f ms%s\n", ways[i].name, testing_support::Median(call[i]),
                        testing_support::Median(shown[i]),
                        shown[i].size() == call[i].size() ? "" : " (some copies never showed)");
    }
    DestroyWindow(layered.hwnd);
    DestroyWindow(plain.hwnd);
    Pump();

    // The pieces of Wine's layered copy that do not depend on the dirty rectangle: a DIB section of the
    // whole window made, the window's pixels copied into it and back, and the no-change SetWindowPos it
    // makes first.
    const Window idle = Open(true, size);
    Layered(idle, pixels, nullptr, true, 0);
    std::vector<double> dib, moves;
    std::vector<unsigned> window(static_cast<size_t>(size.cx) * size.cy);
    for (int round = 0; round < rounds; ++round) {
        dib.push_back(testing_support::TimeMs([&] {
            BITMAPINFO info{};
            info.bmiHeader = {sizeof info.bmiHeader, size.cx, -size.cy, 1, 32};
            void* bits = nullptr;
            HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            std::memcpy(bits, window.data(), window.size() * 4);
            std::memcpy(window.data(), bits, window.size() * 4);
            DeleteObject(bitmap);
        }));
        moves.push_back(testing_support::TimeMs([&] {
            SetWindowPos(idle.hwnd, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        }));
    }
    DestroyWindow(idle.hwnd);
    Pump();
    std::printf("  inside every layered copy: a window-sized DIB section made, filled and read back %.3f ms; "
                "a SetWindowPos that changes nothing %.3f ms\n",
                testing_support::Median(dib), testing_support::Median(moves));
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(4, std::atoi(argv[1])) : 40;
    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LayeredCopyBenchmark";
    RegisterClassExW(&wc);
    for (UINT dpi : {96u, 144u})
        Measure(dpi, rounds);
    return 0;
}
