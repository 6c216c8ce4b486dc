// Times a page on its way to the screen through a real window: load (parse, style, 30 images decoded,
// layout, paint, blit) and a hover repaint, against the same-session baseline of showing an unchanged page
// again (the blit alone). The page is 700 x 500 with about 150 elements and 30 images.
// Usage: engine_render_benchmark [rounds]

#include "engine/include/htmlayout.h"
#include "engine/win32/gdiplus_session.h"
#include "engine/win32/png_encoder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 700, kHeight = 500, kImages = 30;

std::map<std::wstring, std::string>& Images() {
    static std::map<std::wstring, std::string> images;
    return images;
}

void MakeImages() {
    engine::win32::EnsureGdiplus();
    for (int i = 0; i < kImages; ++i) {
        Gdiplus::Bitmap bitmap(24, 24, PixelFormat32bppARGB);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                bitmap.SetPixel(x, y, Gdiplus::Color(static_cast<BYTE>(128 + x * 5), static_cast<BYTE>(i * 8),
                                                     static_cast<BYTE>(y * 10), 200));
        Images()[L"img" + std::to_wstring(i) + L".png"] = engine::win32::EncodePng(bitmap);
    }
}

std::string MakePage() {
    std::string page = "<html><style>html { font: 12px Tahoma, sans-serif } body { margin: 0; background: #eef }"
                       "#head { height: 40px; background: #235; color: white; padding: 8px }"
                       ".col { display: inline-block; width: 215px; margin: 4px; vertical-align: top }"
                       ".row { height: 24px; line-height: 24px; border-bottom: 1px solid #ccd; padding-left: 4px }"
                       ".row:hover { background: #cde }"
                       ".btn { display: inline-block; padding: 4px 10px; border: 1px solid #446; border-radius: 4px }"
                       "#list { height: 120px; overflow: auto; background: white }</style><body><div id=head>Header "
                       "<span class=btn>One</span> <span class=btn>Two</span></div>";
    int image = 0;
    for (int c = 0; c < 3; ++c) {
        page += "<div class=col>";
        for (int r = 0; r < 10; ++r) {
            page += "<div class=row id=r" + std::to_string(c * 10 + r) + "><img src=img" + std::to_string(image++ % kImages) +
                    ".png> Item " + std::to_string(r) + " <b>bold</b> text</div>";
        }
        page += "<div id=list>";
        for (int r = 0; r < 30; ++r) page += "<div>Line " + std::to_string(r) + "</div>";
        page += "</div></div>";
    }
    return page + "</body></html>";
}

LRESULT CALLBACK Notify(NMHDR* notification, void*) {
    if (notification->code != HLN_LOAD_DATA) return 0;
    auto* nm = reinterpret_cast<HL_NM_LOAD_DATA*>(notification);
    auto it = Images().find(nm->uri ? nm->uri : L"");
    if (it != Images().end())
        HTMLayoutDataReady(notification->hwndFrom, nm->uri, reinterpret_cast<const unsigned char*>(it->second.data()),
                           static_cast<unsigned>(it->second.size()));
    return 0;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    BOOL handled = FALSE;
    LRESULT result = HTMLayoutProcND(hwnd, message, wParam, lParam, &handled);
    return handled ? result : DefWindowProcW(hwnd, message, wParam, lParam);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double TimeMs(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 30;
    MakeImages();
    std::string page = MakePage();
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"EngineRenderBenchmark";
    RegisterClassExW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                                nullptr, wc.hInstance, nullptr);
    HTMLayoutSetCallback(hwnd, Notify, nullptr);
    Pump();
    auto repaint = [&] { RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); };

    std::vector<double> load, parse, layout, hover, blit;
    for (int i = 0; i < rounds; ++i) {
        load.push_back(TimeMs([&] {
            HTMLayoutLoadHtml(hwnd, reinterpret_cast<const unsigned char*>(page.data()), static_cast<unsigned>(page.size()));
            repaint();
        }));
        Pump();
        parse.push_back(TimeMs([&] {
            HTMLayoutLoadHtml(hwnd, reinterpret_cast<const unsigned char*>(page.data()), static_cast<unsigned>(page.size()));
        }));
        layout.push_back(TimeMs([&] { HTMLayoutGetMinHeight(hwnd, kWidth); }));
        repaint();
        Pump();
        for (int j = 0; j < 4; ++j) {
            int y = 70 + (j % 2) * 26; // two rows in turn: one loses the hover, the other gains it
            hover.push_back(TimeMs([&] {
                SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, y));
                UpdateWindow(hwnd);
            }));
            blit.push_back(TimeMs(repaint));
        }
    }
    double l = Median(load), p = Median(parse), lay = Median(layout), h = Median(hover), b = Median(blit);
    std::printf("rounds %d, page %dx%d, %d images\n", rounds, kWidth, kHeight, kImages);
    std::printf("load to pixels   median %8.2f ms  (%.1fx the baseline)\n", l, l / b);
    std::printf("  of which load and style, before layout  median %8.2f ms\n", p);
    std::printf("  a layout alone (minimal height at 700)  median %8.2f ms\n", lay);
    std::printf("hover repaint    median %8.2f ms  (%.1fx the baseline)\n", h, h / b);
    std::printf("baseline: unchanged page shown again  median %8.2f ms\n", b);
    DestroyWindow(hwnd);
    Pump();
    return 0;
}
