// The About dialog over a real owner: its link areas open the maker's pages through the system's http
// handler, which the test registers in its prefix (a program of ours that notes the address it was given).
#include "dialog_driver.h"
#include "page_window.h"
#include "support/real_input.h"
#include "support/registry_fixture.h"
#include "support/test_folder.h"
#include "support/unix_side.h"
#include "ui/about_dlg.h"
#include "ui/element_ops.h"
#include "ui/resource_ids.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ui_test::DialogDriver;
using ui_test::ScreenPointOf;
using ui_test::WaitFor;

// Wine's shell reads the machine-wide classes only, so the handler goes there, and back afterwards.
const std::wstring kHttpOpenCommand = L"http\\shell\\open\\command";

class ScopedHttpHandler {
public:
    explicit ScopedHttpHandler(const std::wstring& command) {
        wchar_t buffer[1024] = L"";
        DWORD size = sizeof buffer;
        if (RegGetValueW(HKEY_CLASSES_ROOT, kHttpOpenCommand.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) ==
            ERROR_SUCCESS)
            previous_ = buffer;
        testing_support::SetString(HKEY_CLASSES_ROOT, kHttpOpenCommand, L"", command);
    }
    ~ScopedHttpHandler() {
        if (previous_.empty())
            testing_support::DeleteValue(HKEY_CLASSES_ROOT, kHttpOpenCommand, L"");
        else
            testing_support::SetString(HKEY_CLASSES_ROOT, kHttpOpenCommand, L"", previous_);
    }

private:
    std::wstring previous_;
};

// The addresses the handler noted, one per start.
std::vector<std::wstring> Opened(const std::wstring& file) {
    std::string bytes = testing_support::ReadAll(file);
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    std::vector<std::wstring> lines;
    for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// Raises a click event on an element without an id, from the dialog's own thread.
class TestAboutDlg : public htmlayout::AboutDlg {
public:
    using AboutDlg::AboutDlg;
    static constexpr UINT kClickNameless = WM_APP + 1;

protected:
    bool on_message(UINT message, WPARAM, LPARAM, INT_PTR& result) override {
        if (message != kClickNameless) return false;
        htmlayout::scoped_element nameless = htmlayout::FindFirst(root, L".name");
        int handled = 0;
        HTMLayoutSendEvent(nameless, HYPERLINK_CLICK, nameless, 0, &handled);
        HTMLayoutSendEvent(nameless, BUTTON_CLICK, nameless, 0, &handled);
        result = 0;
        return true;
    }
};

struct About : ::testing::Test {
    testing_support::TestFolder folder;
    std::wstring noted = folder / L"opened.txt";
    ScopedHttpHandler handler{L"\"" + testing_support::DosPathOf(HTTP_RECORDER_EXE) + L"\" \"" + noted + L"\" \"%1\""};
    ui_test::PageWindow owner{9002, RECT{150, 100, 950, 700}};
};

TEST_F(About, ContactOpensItsAddressOnceAndLeavesTheDialogOpenAClickElsewhereClosesIt) {
    TestAboutDlg about(owner.hwnd());
    bool openAfterNameless = false, openAfterContact = false, ownerDisabled = false;
    std::vector<std::wstring> afterNameless, afterContact;
    DialogDriver driver([&](HWND dialog) {
        RECT rc{};
        GetWindowRect(dialog, &rc);
        testing_support::SaveScreenshot(ui_test::ScreenshotFolder(), "about_dlg", rc);
        ownerDisabled = !IsWindowEnabled(owner.hwnd());

        SendMessageW(dialog, TestAboutDlg::kClickNameless, 0, 0);
        Sleep(500);
        afterNameless = Opened(noted);
        openAfterNameless = IsWindow(dialog);

        testing_support::ClickAt(ScreenPointOf(dialog, L"contact"));
        WaitFor([&] { return !Opened(noted).empty(); }, 10000);
        Sleep(1000); // a second start would have come by now
        afterContact = Opened(noted);
        openAfterContact = IsWindow(dialog) && IsWindowVisible(dialog);

        testing_support::ClickAt(POINT{rc.left + 30, rc.top + 60});
    });
    EXPECT_EQ(about.run(htmlayout::kAboutPageId), 2);
    driver.Join();
    ASSERT_TRUE(driver.SawDialog());
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(afterNameless.empty()) << "a click event on an element without an id opens nothing";
    EXPECT_TRUE(openAfterNameless);
    EXPECT_EQ(afterContact, std::vector<std::wstring>{L"http://www.example.com/buylinks/tracewipe.php?url=contact"});
    EXPECT_TRUE(openAfterContact);
    EXPECT_FALSE(driver.LeftOpen()) << "a click on the picture outside the link areas closes the dialog";
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
}

} // namespace
