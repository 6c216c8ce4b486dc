#pragma once
// The current user's browser folders moved into one test folder for a test, each holding a link to a
// folder outside the prefix, and the index-file message box replaced by a recorder.
#include "cleaners/browsers/index_file_messages.h"
#include "support/shell_folder_redirect.h"
#include "support/outside_sentinel.h"
#include "support/test_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace browser_tests {

struct ShownMessage {
    std::wstring caption;
    std::wstring text;
    UINT type;
};

class MessageRecorder {
  public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<ShownMessage>& Shown() const;
    // The texts only, for the common check.
    std::vector<std::wstring> Texts() const;

  private:
    MessageBoxFunction replaced_;
};

// The full path of this test program: the caption of every index-file message.
std::wstring ProgramPath();

class BrowserFoldersTest : public ::testing::Test {
  protected:
    testing_support::TestFolder root_;
    const std::wstring cache_ = root_.MakeFolder(L"INetCache");
    const std::wstring cookies_ = root_.MakeFolder(L"INetCookies");
    const std::wstring history_ = root_.MakeFolder(L"History");
    const std::wstring appData_ = root_.MakeFolder(L"Roaming");
    const std::wstring localAppData_ = root_.MakeFolder(L"Local");
    testing_support::ScopedShellFolder cacheFolder_{L"Cache", cache_};
    testing_support::ScopedShellFolder cookiesFolder_{L"Cookies", cookies_};
    testing_support::ScopedShellFolder historyFolder_{L"History", history_};
    testing_support::ScopedShellFolder appDataFolder_{L"AppData", appData_};
    testing_support::ScopedShellFolder localAppDataFolder_{L"Local AppData", localAppData_};
    testing_support::OutsideSentinel sentinel_;
    MessageRecorder messages_;

    // Creates the folder and plants the outside link in it.
    void PlantLinkIn(const std::wstring& folder);
};

} // namespace browser_tests
