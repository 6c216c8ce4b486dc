// Times a page on its way to the screen through a real window: load (parse, style, 30 images decoded,
// layout, paint, blit) and a hover repaint, against the same-session baseline of showing an unchanged page
// again (the blit alone). The page is 700 x 500 with about 150 elements and 30 images.
//   first page of a process: a fresh process each round (GDI+ start-up, fonts and images all cold)
//   first page of a window:  a new window each round in a process that has shown the page before
//   page loaded again:       the same window
// At the display's DPI (the prefix's LogPixels): the window and the page scale with it, and each image is
// also drawn at the engine's factor for that DPI, as the program's pictures are.
// Usage: engine_render_benchmark [rounds]

#include "engine/include/htmlayout.h"
#include "engine/view/image_variant.h"
#include "engine/win32/gdiplus_session.h"
#include "engine/win32/png_encoder.h"
#include "tests/support/message_pump.h"
#include "tests/support/timing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using testing_support::Median;
using testing_support::PumpMessages;
using testing_support::TimeMs;

constexpr int kWidth = 700, kHeight = 500, kImages = 30;
constexpr char kChildSwitch[] = "--first-page";

std::map<std::wstring, std::string>& Images() {
    static std::map<std::wstring, std::string> images;
    return images;
}

std::filesystem::path ImageFolder() { return std::filesystem::temp_directory_path() / "engine_render_benchmark"; }

std::wstring ImageName(int i) { return L"img" + std::to_wstring(i) + L".png"; }

UINT Dpi() { return HTMLayoutGetWindowDpi(nullptr); }
int Scaled(int cssPixels) { return MulDiv(cssPixels, static_cast<int>(Dpi()), USER_DEFAULT_SCREEN_DPI); }
float ImageFactor() { return engine::ImageVariantFactor(float(Dpi()) / USER_DEFAULT_SCREEN_DPI); }
std::wstring VariantName(int i) {
    const std::wstring plain = ImageName(i);
    const std::u16string name = engine::ImageVariantUrl(std::u16string(plain.begin(), plain.end()), ImageFactor());
    return std::wstring(name.begin(), name.end());
}

// Drawn with GDI+ and kept in files, so that a child process reads them without starting GDI+ itself.
void MakeImageFiles() {
    engine::win32::EnsureGdiplus();
    std::filesystem::create_directories(ImageFolder());
    for (int i = 0; i < kImages; ++i) {
        for (float factor : {1.0f, ImageFactor()}) {
            const int size = static_cast<int>(24 * factor);
            Gdiplus::Bitmap bitmap(size, size, PixelFormat32bppARGB);
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    bitmap.SetPixel(x, y, Gdiplus::Color(200, static_cast<BYTE>(128 + x * 5 / factor), static_cast<BYTE>(i * 8),
                                                         static_cast<BYTE>(y * 10 / factor)));
            std::ofstream(ImageFolder() / (factor == 1 ? ImageName(i) : VariantName(i)), std::ios::binary)
                << engine::win32::EncodePng(bitmap);
        }
    }
}

void ReadImageFiles() {
    for (int i = 0; i < kImages; ++i) {
        for (const std::wstring& name : {ImageName(i), VariantName(i)}) {
            std::ifstream file(ImageFolder() / name, std::ios::binary);
            Images()[name] = std::string(std::istreambuf_iterator<char>(file), {});
        }
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

// A shown window that has not met the engine yet: the engine's first work for it is the page's load.
HWND MakeWindow() {
    static const wchar_t* className = [] {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"EngineRenderBenchmark";
        RegisterClassExW(&wc);
        return wc.lpszClassName;
    }();
    HWND hwnd = CreateWindowExW(0, className, L"", WS_POPUP | WS_VISIBLE, 0, 0, Scaled(kWidth), Scaled(kHeight), nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    PumpMessages();
    HTMLayoutSetCallback(hwnd, Notify, nullptr);
    return hwnd;
}

void LoadAndShow(HWND hwnd, const std::string& page) {
    HTMLayoutLoadHtml(hwnd, reinterpret_cast<const unsigned char*>(page.data()), static_cast<unsigned>(page.size()));
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// The child's whole job: the first page this process shows, timed, printed on standard output.
int ShowFirstPage() {
    ReadImageFiles();
    std::string page = MakePage();
    HWND hwnd = MakeWindow();
    std::printf("%.3f\n", TimeMs([&] { LoadAndShow(hwnd, page); }));
    DestroyWindow(hwnd);
    PumpMessages();
    return 0;
}

// Runs this program as a child and reads the time it printed; negative when that failed.
double FirstPageOfAProcess() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0)) return -1;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{sizeof(si)};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = write;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + std::wstring(self) + L"\" --first-page";
    BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(write);
    std::string output;
    char buffer[256];
    DWORD got = 0;
    while (started && ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0) output.append(buffer, got);
    CloseHandle(read);
    if (!started) return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return output.empty() ? -1 : std::atof(output.c_str());
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == kChildSwitch) return ShowFirstPage();
    int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 30;
    MakeImageFiles();
    ReadImageFiles();
    std::string page = MakePage();

    std::vector<double> cold, window, load, parse, layout, hover, blit;
    for (int i = 0; i < std::min(rounds, 10); ++i)
        if (double t = FirstPageOfAProcess(); t >= 0) cold.push_back(t);
    for (int i = 0; i < rounds; ++i) {
        HWND fresh = MakeWindow();
        window.push_back(TimeMs([&] { LoadAndShow(fresh, page); }));
        DestroyWindow(fresh);
        PumpMessages();
    }
    HWND hwnd = MakeWindow();
    for (int i = 0; i < rounds; ++i) {
        load.push_back(TimeMs([&] { LoadAndShow(hwnd, page); }));
        PumpMessages();
        parse.push_back(TimeMs([&] {
            HTMLayoutLoadHtml(hwnd, reinterpret_cast<const unsigned char*>(page.data()), static_cast<unsigned>(page.size()));
        }));
        layout.push_back(TimeMs([&] { HTMLayoutGetMinHeight(hwnd, static_cast<UINT>(Scaled(kWidth))); }));
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PumpMessages();
        for (int j = 0; j < 4; ++j) {
            int y = Scaled(70 + (j % 2) * 26); // two rows in turn: one loses the hover, the other gains it
            hover.push_back(TimeMs([&] {
                SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(Scaled(100), y));
                UpdateWindow(hwnd);
            }));
            blit.push_back(TimeMs([&] { RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }));
        }
    }
    DestroyWindow(hwnd);
    PumpMessages();

    double b = Median(blit);
    auto line = [&](const char* what, const std::vector<double>& v) {
        if (v.empty()) return void(std::printf("%-40s failed\n", what));
        std::printf("%-40s median %8.2f ms  (%.1fx the baseline)\n", what, Median(v), Median(v) / b);
    };
    std::printf("rounds %d (%zu processes), page %dx%d at %u DPI, %d images\n", rounds, cold.size(), Scaled(kWidth),
                Scaled(kHeight), Dpi(), kImages);
    line("first page of a process, load to pixels", cold);
    line("first page of a window, load to pixels", window);
    line("page loaded again, load to pixels", load);
    line("  of which load and style, before layout", parse);
    line("  a layout alone (minimal height at 700)", layout);
    line("hover repaint", hover);
    std::printf("%-40s median %8.2f ms\n", "baseline: unchanged page shown again", b);
    return 0;
}
