// Shows any page in a window, answering its image requests from files beside it, so that pages can be
// looked at (and, with --capture, saved as PNG screenshots under Xvfb).
//   engine_viewer [--capture out.png] page.html

#include "engine/include/htmlayout.h"
#include "engine/win32/gdiplus_include.h"
#include "engine/win32/png_encoder.h"

#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

constexpr int kWidth = 720, kHeight = 500;

struct Viewer {
    std::filesystem::path folder;
};

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

LRESULT CALLBACK Notify(NMHDR* notification, void* param) {
    if (notification->code != HLN_LOAD_DATA) return 0;
    auto* nm = reinterpret_cast<HL_NM_LOAD_DATA*>(notification);
    if (!nm->uri || !*nm->uri) return 0;
    std::filesystem::path path(nm->uri);
    if (path.is_relative()) path = static_cast<Viewer*>(param)->folder / path;
    std::string bytes = ReadFile(path);
    if (!bytes.empty())
        HTMLayoutDataReady(notification->hwndFrom, nm->uri, reinterpret_cast<const unsigned char*>(bytes.data()),
                           static_cast<unsigned>(bytes.size()));
    return 0;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    BOOL handled = FALSE;
    LRESULT result = HTMLayoutProcND(hwnd, message, wParam, lParam, &handled);
    if (handled) return result;
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// What the screen shows of the window's client area.
bool Capture(HWND hwnd, const std::wstring& out) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, rc.right, rc.bottom, screen, origin.x, origin.y, SRCCOPY);
    SelectObject(memory, old);
    bool saved = false;
    {
        Gdiplus::Bitmap image(bitmap, nullptr);
        CLSID png;
        saved = engine::win32::PngEncoder(png) && image.Save(out.c_str(), &png, nullptr) == Gdiplus::Ok;
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

void PumpFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    }
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring capture, page;
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i];
        if (arg == L"--capture" && i + 1 < argc) capture = argv[++i];
        else page = arg;
    }
    LocalFree(argv);
    if (page.empty()) {
        MessageBoxW(nullptr, L"engine_viewer [--capture out.png] page.html", L"Engine viewer", MB_OK);
        return 2;
    }

    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"EngineViewer";
    RegisterClassExW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, page.c_str(), capture.empty() ? WS_OVERLAPPEDWINDOW : WS_POPUP,
                                0, 0, kWidth, kHeight, nullptr, nullptr, wc.hInstance, nullptr);
    Viewer viewer{std::filesystem::path(page).parent_path()};
    HTMLayoutSetCallback(hwnd, Notify, &viewer);
    if (!HTMLayoutLoadFile(hwnd, page.c_str())) {
        DestroyWindow(hwnd);
        return 1;
    }
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    if (!capture.empty()) {
        PumpFor(500);
        bool saved = Capture(hwnd, capture);
        DestroyWindow(hwnd);
        return saved ? 0 : 1;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
