#include "real_input.h"

#include "support/real_input.h"
#include "support/unix_side.h"

namespace app_test {

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
    return testing_support::SaveScreenshot(SCREENSHOT_DIR, name, area);
}

bool StartThroughWine(const std::wstring& program) {
    std::string path;
    for (wchar_t c : program) path += c == L'\'' ? std::string("'\\''") : std::string(1, static_cast<char>(c));
    wchar_t temp[MAX_PATH + 1] = L"";
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring marker = std::wstring(temp) + L"app-test-wine-" + std::to_wstring(GetCurrentProcessId());
    const bool ran = testing_support::RunUnixShell("wine '" + path + "' </dev/null >/dev/null 2>&1 &", marker);
    DeleteFileW(marker.c_str());
    return ran;
}

} // namespace app_test
