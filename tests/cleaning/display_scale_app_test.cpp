// The real Tracewipe.exe at 120, 144 and 192 DPI, and that it runs at 72 and 288 (the prefix's LogPixels, which Wine reads when a process
// starts; the value before comes back afterwards): the sizes and places of the main window, a message box
// and the progress dialog, and real clicks where the scaled page shows its controls. (WM_DPICHANGED carries
// a pointer that no process boundary carries: the DPI change during a run is cleaning_dialog_tests'.)
// Screenshots go to build/screenshots/dpiNNN_*.png.
#include "app_fixture.h"
#include "box_look.h"
#include "dialog_stage.h"
#include "real_input.h"
#include "support/real_input.h"
#include "support/registry_fixture.h"
#include "ui/resource_ids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace app_test {
namespace {

using namespace testing_support;

const std::wstring kDesktopKey = L"Control Panel\\Desktop";

// The DPI of programs started from now on.
class ScopedLogPixels {
public:
    explicit ScopedLogPixels(DWORD dpi) : before_(ReadDword(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels")) {
        EXPECT_TRUE(SetDword(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", dpi));
    }
    ~ScopedLogPixels() {
        if (before_) SetDword(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", *before_);
        else DeleteValue(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
    }

private:
    std::optional<DWORD> before_;
};

int Scaled(int cssPixels, UINT dpi) { return MulDiv(cssPixels, static_cast<int>(dpi), 96); }
int Width(const RECT& rc) { return rc.right - rc.left; }
int Height(const RECT& rc) { return rc.bottom - rc.top; }

RECT WindowRectOf(HWND window) {
    RECT rc{};
    GetWindowRect(window, &rc);
    return rc;
}

// The part of a window the screen shows.
void Shot(const RECT& window, const std::string& name) {
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, shown{};
    IntersectRect(&shown, &window, &screen);
    EXPECT_TRUE(SaveScreenshot(name, shown)) << name;
}

// A dialog of page `pageId` (laid out at 96 DPI) is the page scaled, within a pixel of rounding, and centred
// over the main window.
void ExpectScaledAndCentred(HWND dialog, HWND owner, SIZE page, UINT dpi) {
    const RECT rc = WindowRectOf(dialog), over = WindowRectOf(owner);
    EXPECT_NEAR(Width(rc), Scaled(page.cx, dpi), 1);
    EXPECT_NEAR(Height(rc), Scaled(page.cy, dpi), 1);
    EXPECT_EQ(rc.left, over.left + (Width(over) - Width(rc)) / 2);
    EXPECT_EQ(rc.top, over.top + (Height(over) - Height(rc)) / 2);
}

// The element's middle in a dialog of the program, from its place in the same page laid out at 96 DPI here.
POINT ScaledMiddle(HWND dialog, unsigned pageId, const wchar_t* id, UINT dpi) {
    RECT offset = OffsetIn(pageId, id);
    offset = RECT{Scaled(offset.left, dpi), Scaled(offset.top, dpi), Scaled(offset.right, dpi), Scaled(offset.bottom, dpi)};
    return Middle(On(dialog, offset));
}

class DisplayScale : public AppTest, public ::testing::WithParamInterface<UINT> {
protected:
    HWND NextDialog(RunningApp& app, HWND other = nullptr) {
        HWND dialog = cleaning_test::WaitForDialog(GetWindowThreadProcessId(app.Window(), nullptr), other, 10000);
        Sleep(300); // drawn
        return dialog;
    }
    static bool Gone(HWND dialog) {
        return cleaning_test::WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 8000);
    }
    // The program started at `dpi` (the prefix's LogPixels until the test ends), Temp Files unticked, its
    // window shown; null when it does not come.
    RunningApp* StartAtDpi(UINT dpi) {
        logPixels_.emplace(dpi);
        SetDword(HKEY_CURRENT_USER, kWindowsKey, L"TempFiles", 0);
        RunningApp& app = StartShown();
        if (!app.Window()) return nullptr;
        app.ShownAtDpi(dpi);
        return &app;
    }

private:
    std::optional<ScopedLogPixels> logPixels_;
};

TEST_P(DisplayScale, TheMainWindowAndProgressDialogAreScaledAndAClickAtTheScaledPlaceTicksABox) {
    const UINT dpi = GetParam();
    const std::string tag = "dpi" + std::to_string(dpi);
    RunningApp* started = StartAtDpi(dpi);
    ASSERT_NE(started, nullptr);
    RunningApp& app = *started;
    const RECT main = app.WindowRect();
    // Windows keeps a window within what the screen can hold (200 % of 720 is more than 1280): it then fills
    // the screen's width.
    if (Scaled(720, dpi) <= GetSystemMetrics(SM_CXSCREEN)) EXPECT_EQ(Width(main), Scaled(720, dpi));
    else EXPECT_GE(Width(main), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(Height(main), Scaled(510, dpi));
    EXPECT_EQ(main.left, std::max(0, GetSystemMetrics(SM_CXSCREEN) / 2 - Scaled(351, dpi)));
    EXPECT_EQ(main.top, std::max(0, GetSystemMetrics(SM_CYSCREEN) / 2 - Scaled(251, dpi)));
    Shot(main, tag + "_main_window");

    // A real click at the scaled place of the box ticks it; Clean saves the flag and opens the progress dialog.
    ASSERT_TRUE(app.Click(L"windows_cleaning"));
    ASSERT_TRUE(app.Click(L"temp_files"));
    ASSERT_TRUE(app.Click(L"btn_panelClean"));
    HWND progress = NextDialog(app);
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kWindowsKey, L"TempFiles"), 1u);
    ExpectScaledAndCentred(progress, app.Window(), SIZE{440, 424}, dpi);
    Shot(WindowRectOf(progress), tag + "_progress_dialog");

    PostMessageW(progress, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Gone(progress));
}

TEST_P(DisplayScale, AMessageBoxIsScaledCentredAndClosedByAClickOnItsScaledButton) {
    const UINT dpi = GetParam();
    ScopedLogPixels logPixels(dpi);
    for (const wchar_t* item : {L"MediaPlayer", L"WordPad", L"MSPaint"}) SetDword(HKEY_CURRENT_USER, kWindowsKey, item, 0);

    RunningApp& app = StartShown();
    ASSERT_NE(app.Window(), nullptr);
    app.ShownAtDpi(dpi);
    // Nothing of Programs / Applications ticked: its Clean says so in a message box.
    ASSERT_TRUE(app.Click(L"windows_application"));
    ASSERT_TRUE(app.Click(L"btn_panelClean"));
    HWND box = NextDialog(app);
    ASSERT_NE(box, nullptr);
    ExpectScaledAndCentred(box, app.Window(), SIZE{340, 198}, dpi);
    Shot(WindowRectOf(box), "dpi" + std::to_string(dpi) + "_message_box");
    ClickAt(ScaledMiddle(box, htmlayout::kMsgBoxPageId, L"close_btn", dpi));
    EXPECT_TRUE(Gone(box));
}

INSTANTIATE_TEST_SUITE_P(LogPixels, DisplayScale, ::testing::Values(120u, 144u, 192u),
                         [](const ::testing::TestParamInfo<UINT>& info) { return std::to_string(info.param); });

// At the far ends, 75 % and 300 %, the program starts, lays its page out and keeps answering; a box whose
// scaled place the screen shows ticks on a real click (at 300 % the window is larger than the screen).
class DisplayScaleAtTheEnds : public DisplayScale {};

TEST_P(DisplayScaleAtTheEnds, TheProgramStartsLaysOutAndAnswersClicks) {
    const UINT dpi = GetParam();
    RunningApp* started = StartAtDpi(dpi);
    ASSERT_NE(started, nullptr);
    RunningApp& app = *started;
    const RECT main = app.WindowRect();
    EXPECT_GE(Width(main), std::min(Scaled(720, dpi), GetSystemMetrics(SM_CXSCREEN)));
    EXPECT_GE(Height(main), std::min(Scaled(510, dpi), GetSystemMetrics(SM_CYSCREEN)));
    Shot(main, "dpi" + std::to_string(dpi) + "_main_window");
    ASSERT_TRUE(app.Click(L"windows_cleaning"));
    auto onScreen = [&](const wchar_t* id) {
        const RECT rc = app.ScreenRect(id);
        return rc.bottom < GetSystemMetrics(SM_CYSCREEN) && rc.right < GetSystemMetrics(SM_CXSCREEN);
    };
    if (onScreen(L"temp_files") && onScreen(L"btn_panelClean")) {
        ASSERT_TRUE(app.Click(L"temp_files"));
        ASSERT_TRUE(app.Click(L"btn_panelClean"));
        HWND progress = NextDialog(app);
        ASSERT_NE(progress, nullptr);
        EXPECT_EQ(ReadDword(HKEY_CURRENT_USER, kWindowsKey, L"TempFiles"), 1u);
        PostMessageW(progress, WM_CLOSE, 0, 0);
        ASSERT_TRUE(Gone(progress));
    }
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutW(app.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_TRUE(app.Process().Running());
}

INSTANTIATE_TEST_SUITE_P(LogPixels, DisplayScaleAtTheEnds, ::testing::Values(72u, 288u),
                         [](const ::testing::TestParamInfo<UINT>& info) { return std::to_string(info.param); });

} // namespace
} // namespace app_test
