// The baseline of the start-up benchmark: a plain Win32 window of the main window's size, painted with GDI.
#include <windows.h>

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        HBRUSH brush = CreateSolidBrush(RGB(240, 242, 245));
        FillRect(dc, &ps.rcPaint, brush);
        DeleteObject(brush);
        TextOutW(dc, 20, 20, L"Tracewipe 1.0", 13);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSEXW wc{sizeof wc};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"TrivialWindow";
    RegisterClassExW(&wc);
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 351, y = GetSystemMetrics(SM_CYSCREEN) / 2 - 251;
    HWND hwnd = CreateWindowExW(0, L"TrivialWindow", L"Trivial", WS_POPUP, x, y, 720, 510, nullptr, nullptr, instance,
                                nullptr);
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
