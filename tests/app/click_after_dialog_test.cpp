// The first real click on the main window right after one of its modal dialogs went, where that dialog
// stood: the message box closed by a click on Close or by Escape, and the progress dialog closed by its
// exit. Each dialog runs its modal loop inside the main window's handling of the Clean button's release.
#include "app_fixture.h"
#include "box_look.h"
#include "dialog_stage.h"
#include "real_input.h"
#include "support/real_input.h"
#include "ui/resource_ids.h"

#include <gtest/gtest.h>

namespace app_test {
namespace {

using namespace testing_support;

// Nothing of Windows Cleaning ticked but `ticked`; the Windows Cleaning sub-tab open.
class ClickAfterDialog : public AppTest {
protected:
    void Open(const wchar_t* ticked = nullptr) {
        for (const wchar_t* item : {L"TempFiles", L"Clipboard", L"RecyleBin", L"OpenSaveDialog"})
            SetDword(HKEY_CURRENT_USER, kWindowsKey, item, ticked && std::wstring(ticked) == item ? 1 : 0);
        app_ = &StartShown();
        ASSERT_NE(app_->Window(), nullptr);
        ASSERT_TRUE(app_->Click(L"windows_cleaning"));
        unticked_ = Mark(L"temp_files");
    }
    HWND PressCleanForDialog() {
        if (!app_->Click(L"btn_panelClean")) return nullptr;
        HWND dialog = cleaning_test::WaitForDialog(GetWindowThreadProcessId(app_->Window(), nullptr), nullptr, 10000);
        Sleep(300); // drawn
        return dialog;
    }
    static bool Gone(HWND dialog) {
        return cleaning_test::WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 8000);
    }
    // A real click on the box at once, where the dialog stood, then whether it shows ticked.
    bool ClickTicks(const wchar_t* id) {
        const RECT box = app_->ScreenRect(id);
        ClickAt(POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2});
        return !SamePixels(Mark(id), unticked_);
    }

    RunningApp* app_ = nullptr;

private:
    // The box's check mark with nothing hovered, once the program has handled what it was sent.
    ScreenPixels Mark(const wchar_t* id) {
        MovePointerTo(POINT{1, 1});
        app_->Settle(300);
        const RECT box = app_->ScreenRect(id);
        return Capture(RECT{box.left, box.top + 6, box.left + 16, box.top + 22});
    }

    ScreenPixels unticked_;
};

TEST_F(ClickAfterDialog, AMessageBoxClosedByAClickOnClose) {
    ASSERT_NO_FATAL_FAILURE(Open());
    HWND box = PressCleanForDialog();
    ASSERT_NE(box, nullptr);
    ClickAt(Middle(On(box, OffsetIn(htmlayout::kMsgBoxPageId, L"close_btn"))));
    ASSERT_TRUE(Gone(box));
    EXPECT_TRUE(ClickTicks(L"temp_files")) << "the first click after the box ticks";
    EXPECT_TRUE(ClickTicks(L"os_dialog")) << "and the next";
}

TEST_F(ClickAfterDialog, AMessageBoxClosedByEscape) {
    ASSERT_NO_FATAL_FAILURE(Open());
    HWND box = PressCleanForDialog();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(PressKeys(box, "Escape"));
    ASSERT_TRUE(Gone(box));
    EXPECT_TRUE(ClickTicks(L"temp_files"));
}

TEST_F(ClickAfterDialog, TheProgressDialogClosedByItsExit) {
    ASSERT_NO_FATAL_FAILURE(Open(L"Clipboard"));
    HWND progress = PressCleanForDialog();
    ASSERT_NE(progress, nullptr);
    ClickAt(Middle(On(progress, OffsetIn(htmlayout::kProgressPageId, L"exit"))));
    ASSERT_TRUE(Gone(progress));
    EXPECT_TRUE(ClickTicks(L"temp_files"));
}

} // namespace
} // namespace app_test
