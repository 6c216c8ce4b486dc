#include "real_input.h"

#include "support/unix_side.h"

#include <atomic>

namespace app_test {
namespace {

// RunUnixShell answers when a marker file appears; each command gets its own.
bool RunOnUnixSide(const std::string& command) {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH + 1] = L"";
    GetTempPathW(MAX_PATH + 1, temp);
    std::wstring marker = std::wstring(temp) + L"app-test-x-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(counter++);
    bool ran = testing_support::RunUnixShell(command, marker);
    DeleteFileW(marker.c_str());
    return ran;
}

} // namespace

bool ClickAt(POINT screen) {
    // NOTE: no --sync: it waits for the pointer to move, forever when it is already there. The X server
    // takes the move and the press in order either way.
    return RunOnUnixSide("timeout 5 xdotool mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y) +
                         " click 1");
}

bool StartThroughWine(const std::wstring& program) {
    std::string path;
    for (wchar_t c : program) path += c == L'\'' ? std::string("'\\''") : std::string(1, static_cast<char>(c));
    return RunOnUnixSide("wine '" + path + "' </dev/null >/dev/null 2>&1 &");
}

bool PressKeys(const std::string& keys) { return RunOnUnixSide("timeout 5 xdotool key " + keys); }

ScreenPixels Capture(const RECT& area) {
    ScreenPixels shot;
    shot.width = area.right - area.left;
    shot.height = area.bottom - area.top;
    if (shot.width <= 0 || shot.height <= 0) return shot;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    shot.pixels.assign(static_cast<const unsigned*>(bits), static_cast<size_t>(shot.width) * shot.height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

bool SamePixels(const ScreenPixels& a, const ScreenPixels& b) {
    if (a.width != b.width || a.height != b.height) return false;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.At(x, y) != b.At(x, y)) return false;
    return true;
}

bool SaveScreenshot(const std::string& name, const RECT& area) {
    const std::string geometry = std::to_string(area.right - area.left) + "x" + std::to_string(area.bottom - area.top) +
                                 "+" + std::to_string(area.left) + "+" + std::to_string(area.top);
    return RunOnUnixSide("mkdir -p '" SCREENSHOT_DIR "' && xwd -root -silent | convert xwd:- -crop " + geometry +
                         " +repage '" SCREENSHOT_DIR "/" + name + ".png'");
}

} // namespace app_test
