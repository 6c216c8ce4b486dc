#include "support/real_input.h"

#include "support/unix_side.h"

#include <atomic>
#include <cstdint>

namespace testing_support {
namespace {

// RunUnixShell answers when a marker file appears; each command gets its own.
bool RunOnUnixSide(const std::string& command) {
    static std::atomic<unsigned> counter{0};
    wchar_t temp[MAX_PATH + 1] = L"";
    GetTempPathW(MAX_PATH + 1, temp);
    std::wstring marker = std::wstring(temp) + L"real-input-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(counter++);
    bool ran = RunUnixShell(command, marker);
    DeleteFileW(marker.c_str());
    return ran;
}

} // namespace

bool ClickAt(POINT screen) {
    // NOTE: no --sync: it waits for the pointer to move, so a second click at the same point waited out the
    // timeout and never clicked. The X server takes the move and the press in order either way.
    return RunOnUnixSide("timeout 5 xdotool mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y) +
                         " click 1");
}

bool MovePointerTo(POINT screen) {
    return RunOnUnixSide("timeout 5 xdotool mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y));
}

bool PressKeys(HWND window, const std::string& keys) {
    auto xWindow = reinterpret_cast<std::uintptr_t>(GetPropW(window, L"__wine_x11_whole_window"));
    std::string focus = xWindow ? "windowfocus --sync " + std::to_string(xWindow) + " " : "";
    return RunOnUnixSide("timeout 5 xdotool " + focus + "key " + keys);
}

bool SaveScreenshot(const std::string& unixFolder, const std::string& name, const RECT& area) {
    const std::string geometry = std::to_string(area.right - area.left) + "x" + std::to_string(area.bottom - area.top) +
                                 "+" + std::to_string(area.left) + "+" + std::to_string(area.top);
    return RunOnUnixSide("mkdir -p '" + unixFolder + "' && xwd -root -silent | convert xwd:- -crop " + geometry +
                         " +repage '" + unixFolder + "/" + name + ".png'");
}

} // namespace testing_support
