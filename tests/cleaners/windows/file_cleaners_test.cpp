#include "cleaners/windows/file_cleaners.h"

#include "file_fixture.h"
#include "support/clipboard_text.h"
#include "support/outside_sentinel.h"
#include "support/registry_fixture.h"
#include "support/shell_folder_redirect.h"
#include "support/test_folder.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using file_fixture::Exists;
using file_fixture::Watcher;
using file_fixture::Write;
using testing_support::OutsideSentinel;
using testing_support::PutTextOnClipboard;
using testing_support::ScopedShellFolder;
using testing_support::TestFolder;

const WindowsCleanContext kContext{};

TEST(PurgeFolder, EmptiesEveryFileButTheExactCaseFlkOnes) {
    TestFolder folder;
    Write(folder / L"p\\sub\\lock.flk", "lock data");
    Write(folder / L"p\\sub\\a.txt", "text");
    Write(folder / L"p\\sub\\UPPER.FLK", "upper");
    Write(folder / L"p\\top.dat", "top");
    Watcher flk(folder / L"p\\sub\\lock.flk"), text(folder / L"p\\sub\\a.txt"), upper(folder / L"p\\sub\\UPPER.FLK"),
        top(folder / L"p\\top.dat");
    PurgeFolder(kContext, folder / L"p");
    EXPECT_EQ(flk.Size(), 9);
    EXPECT_EQ(text.Size(), 0);
    EXPECT_EQ(upper.Size(), 0);
    EXPECT_EQ(top.Size(), 0);
}

// The handle that empties a file also deletes it, so what it may not empty it still only deletes.
TEST(PurgeFolder, EmptiesNoDataThatAnotherNameOrProgramHolds) {
    TestFolder folder;
    Write(folder / L"p\\shared.txt", "shared data");
    ASSERT_TRUE(CreateHardLinkW((folder / L"elsewhere.txt").c_str(), (folder / L"p\\shared.txt").c_str(), nullptr));
    Write(folder / L"p\\read-only.txt", "x", FILE_ATTRIBUTE_READONLY);
    Write(folder / L"p\\locked.txt", "in use");
    {
        file_fixture::Locked lock(folder / L"p\\locked.txt");
        PurgeFolder(kContext, folder / L"p");
    }
    EXPECT_FALSE(Exists(folder / L"p\\shared.txt"));
    EXPECT_EQ(file_fixture::Read(folder / L"elsewhere.txt"), "shared data");
    EXPECT_FALSE(Exists(folder / L"p\\read-only.txt"));
    EXPECT_EQ(file_fixture::Read(folder / L"p\\locked.txt"), "in use");
}

TEST(PurgeFolder, RemovesTheFolderWithItsFlkFilesAndNeverFollowsALink) {
    TestFolder folder;
    Write(folder / L"p\\sub\\lock.flk");
    Write(folder / L"p\\sub\\a.txt");
    Write(folder / L"p\\read-only.txt", "x", FILE_ATTRIBUTE_READONLY);
    PurgeFolder(kContext, folder / L"p");
    EXPECT_FALSE(Exists(folder / L"p"));

    Write(folder / L"q\\sub\\lock.flk");
    Write(folder / L"q\\a.txt");
    OutsideSentinel sentinel;
    ASSERT_TRUE(sentinel.PlantLinkAt(folder / L"q\\sub\\link"));
    PurgeFolder(kContext, folder / L"q");
    EXPECT_TRUE(sentinel.Intact());
    EXPECT_FALSE(Exists(folder / L"q\\a.txt"));
    EXPECT_FALSE(Exists(folder / L"q\\sub\\lock.flk"));

    Write(folder / L"single.txt");
    PurgeFolder(kContext, folder / L"single.txt");
    EXPECT_FALSE(Exists(folder / L"single.txt"));
    PurgeFolder(kContext, folder / L"missing"); // nothing there: nothing happens
}

TEST(PurgeTempFolder, EmptiesAndDeletesTopLevelFilesWhateverTheirNameAndKeepsTheFolder) {
    TestFolder folder;
    const std::wstring temp = folder / L"temp";
    Write(temp + L"\\x.flk", "x");
    Write(temp + L"\\y.FLK", "y");
    Write(temp + L"\\read-only.txt", "r", FILE_ATTRIBUTE_READONLY);
    Write(temp + L"\\sub\\lock.flk", "lock");
    Write(temp + L"\\sub\\a.txt", "a");
    OutsideSentinel sentinel;
    ASSERT_TRUE(sentinel.PlantLinkAt(temp + L"\\link"));
    {
        Watcher x(temp + L"\\x.flk"), y(temp + L"\\y.FLK"), lock(temp + L"\\sub\\lock.flk");
        PurgeTempFolder(kContext, temp);
        EXPECT_EQ(x.Size(), 0);
        EXPECT_EQ(y.Size(), 0);
        EXPECT_EQ(lock.Size(), 4);
    }
    EXPECT_TRUE(sentinel.Intact());
    EXPECT_TRUE(Exists(temp));
    EXPECT_FALSE(Exists(temp + L"\\x.flk"));
    EXPECT_FALSE(Exists(temp + L"\\read-only.txt"));
    EXPECT_FALSE(Exists(temp + L"\\sub\\a.txt"));
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, path);
    return std::wstring(path).substr(0, wcslen(path) - 1);
}

std::wstring LocalTempFolder() {
    PWSTR local = nullptr;
    SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local);
    std::wstring path = std::wstring(local) + L"\\Temp";
    CoTaskMemFree(local);
    return path;
}

// Runs on the prefix's real temporary folders; what it plants has names of its own, and a link in each.
TEST(CleanTempFiles, CleansBothTemporaryFoldersButNotALockedFileOrALinkedFolder) {
    const std::wstring temp = TempFolder(), localTemp = LocalTempFolder();
    file_fixture::MakeFolders(localTemp);
    std::wstring deep = temp + L"\\tw-deep";
    for (int i = 0; i < 10; ++i) deep += L"\\" + std::wstring(30, static_cast<wchar_t>(L'a' + i));
    const std::vector<std::wstring> planted = {
        temp + L"\\tw-a.tmp",          temp + L"\\desktop.ini",          temp + L"\\tw-sub\\b.tmp",
        deep + L"\\\u0444\u0430\u0439\u043b.tmp", localTemp + L"\\tw-c.FLK", localTemp + L"\\tw-sub\\d.txt",
        localTemp + L"\\tw-sub\\e.flk"};
    for (const auto& path : planted) ASSERT_TRUE(Write(path)) << testing::PrintToString(path);
    Write(temp + L"\\tw-read-only.tmp", "x", FILE_ATTRIBUTE_READONLY);
    Write(temp + L"\\tw-locked.tmp", "in use");
    OutsideSentinel sentinel;
    ASSERT_TRUE(sentinel.PlantLinkAt(temp + L"\\tw-link"));
    ASSERT_TRUE(sentinel.PlantLinkAt(localTemp + L"\\tw-link"));
    {
        Watcher sub(localTemp + L"\\tw-sub\\d.txt"), flk(localTemp + L"\\tw-sub\\e.flk");
        file_fixture::Locked lock(temp + L"\\tw-locked.tmp");
        CleanTempFiles(kContext);
        if (localTemp != temp) { // as under Wine: then only the second pass, with its own rules, reaches these
            EXPECT_EQ(sub.Size(), 0);
            EXPECT_EQ(flk.Size(), 5);
        }
    }
    RemoveDirectoryW((localTemp + L"\\tw-sub").c_str()); // the watchers kept its files until now
    EXPECT_TRUE(sentinel.Intact());
    EXPECT_EQ(file_fixture::Read(temp + L"\\tw-locked.tmp"), "in use");
    DeleteFileW((temp + L"\\tw-locked.tmp").c_str());
    for (const auto& path : planted) EXPECT_FALSE(Exists(path)) << testing::PrintToString(path);
    EXPECT_FALSE(Exists(temp + L"\\tw-read-only.tmp"));
    EXPECT_FALSE(Exists(temp + L"\\tw-sub"));
    EXPECT_TRUE(Exists(temp));
    EXPECT_TRUE(Exists(localTemp));
}

TEST(CleanClipboard, EmptiesItAndLeavesItClosed) {
    ASSERT_TRUE(PutTextOnClipboard(L"copied password"));
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    {
        const RemovedTally tally;
        CleanClipboard(kContext);
        EXPECT_EQ(tally.Counts().clipboard, ClipboardData::Text);
    }
    EXPECT_EQ(CountClipboardFormats(), 0);
    ASSERT_TRUE(OpenClipboard(nullptr)); // not left open
    CloseClipboard();
    const RemovedTally tally;
    CleanClipboard(kContext); // already empty: returns normally, and emptied nothing
    EXPECT_EQ(CountClipboardFormats(), 0);
    EXPECT_EQ(tally.Counts().clipboard, ClipboardData::None);
}

// Another thread holds the clipboard open until `release` is set, or for `holdMs` at most.
class ClipboardHolder {
public:
    explicit ClipboardHolder(DWORD holdMs) {
        holder_ = std::thread([this, holdMs] {
            // A window of its own: Wine lets any thread reopen a clipboard that was opened without one.
            HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            const bool held = OpenClipboard(window);
            SetEvent(opened_);
            WaitForSingleObject(release_, holdMs);
            if (held) CloseClipboard();
            DestroyWindow(window);
        });
        WaitForSingleObject(opened_, 10000);
    }
    ~ClipboardHolder() {
        SetEvent(release_);
        holder_.join();
        CloseHandle(opened_);
        CloseHandle(release_);
    }

private:
    HANDLE opened_ = CreateEventW(nullptr, TRUE, FALSE, nullptr), release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder_;
};

TEST(CleanClipboard, LeavesAClipboardThatAnotherHoldsOpen) {
    ASSERT_TRUE(PutTextOnClipboard(L"still there"));
    {
        ClipboardHolder holder(10000);
        CleanClipboard(kContext);
    }
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    CleanClipboard(kContext);
}

// A clipboard manager holds it for a moment after each copy; the copied text must still go.
TEST(CleanClipboard, EmptiesAClipboardHeldOpenForAMoment) {
    ASSERT_TRUE(PutTextOnClipboard(L"copied password"));
    ClipboardHolder holder(300);
    CleanClipboard(kContext);
    EXPECT_EQ(CountClipboardFormats(), 0);
}

// Wine keeps the bin in the unix user's XDG trash; the test program's ctest entry points it into the build.
TEST(EmptyRecycleBin, EmptiesEveryBinAndAcceptsAnEmptyOne) {
    wchar_t xdg[MAX_PATH];
    if (!GetEnvironmentVariableW(L"XDG_DATA_HOME", xdg, MAX_PATH)) GTEST_SKIP() << "would empty the user's own trash";
    TestFolder folder;
    const std::wstring doomed = Write(folder / L"to-the-bin.txt") ? folder / L"to-the-bin.txt" : L"";
    const std::wstring from = doomed + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    ASSERT_EQ(SHFileOperationW(&op), 0);
    SHQUERYRBINFO info{sizeof info};
    ASSERT_EQ(SHQueryRecycleBinW(nullptr, &info), S_OK);
    ASSERT_GT(info.i64NumItems, 0);
    const RemovedCounts bin{.bytes = static_cast<uint64_t>(info.i64Size), .recycled = static_cast<uint64_t>(info.i64NumItems)};
    {
        const RemovedTally tally;
        EmptyRecycleBin();
        EXPECT_EQ(tally.Counts(), bin) << "what the bin held is what its step counts";
    }
    ASSERT_EQ(SHQueryRecycleBinW(nullptr, &info), S_OK);
    EXPECT_EQ(info.i64NumItems, 0);
    const RemovedTally tally;
    EmptyRecycleBin();
    EXPECT_EQ(tally.Counts(), RemovedCounts{});
}

const std::wstring kRecentDocs = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";

// The shortcut folders keep "desktop.ini" and every folder holding one; the rest goes, links untouched.
void ExpectShortcutFolderCleaned(const wchar_t* shellFolder, void (*cleaner)()) {
    TestFolder folder;
    ScopedShellFolder redirect(shellFolder, folder.Path());
    Write(folder / L"report.docx.lnk");
    Write(folder / L"Desktop.ini");
    Write(folder / L"with-ini\\desktop.ini");
    Write(folder / L"with-ini\\b.lnk");
    Write(folder / L"plain\\c.lnk");
    OutsideSentinel sentinel;
    ASSERT_TRUE(sentinel.PlantLinkAt(folder / L"plain\\link"));
    cleaner();
    EXPECT_TRUE(sentinel.Intact());
    EXPECT_TRUE(Exists(folder / L"Desktop.ini"));
    EXPECT_TRUE(Exists(folder / L"with-ini\\desktop.ini"));
    for (const wchar_t* gone : {L"report.docx.lnk", L"with-ini\\b.lnk", L"plain\\c.lnk"})
        EXPECT_FALSE(Exists(folder / gone)) << testing::PrintToString(gone);
}

TEST(CleanRecentDocuments, CleansTheFolderTheKeyAndTheShellList) {
    testing_support::ScopedKeyTree key(HKEY_CURRENT_USER, kRecentDocs);
    testing_support::SetString(HKEY_CURRENT_USER, kRecentDocs + L"\\.docx", L"0", L"report.docx");
    ExpectShortcutFolderCleaned(L"Recent", CleanRecentDocuments);
    EXPECT_FALSE(testing_support::KeyExists(HKEY_CURRENT_USER, kRecentDocs));
}

TEST(CleanRecentDocuments, MissingFolderStillClearsTheKey) {
    testing_support::ScopedKeyTree key(HKEY_CURRENT_USER, kRecentDocs);
    for (const std::wstring& missing : {std::wstring(L"C:\\tracewipe-tests\\no-such-folder"), std::wstring()}) {
        testing_support::SetString(HKEY_CURRENT_USER, kRecentDocs, L"MRUListEx", L"x");
        ScopedShellFolder redirect(L"Recent", missing);
        CleanRecentDocuments();
        EXPECT_FALSE(testing_support::KeyExists(HKEY_CURRENT_USER, kRecentDocs));
        EXPECT_FALSE(Exists(L"C:\\tracewipe-tests\\no-such-folder"));
    }
}

TEST(CleanNetworkHistory, CleansTheShortcutsFolder) { ExpectShortcutFolderCleaned(L"NetHood", CleanNetworkHistory); }

} // namespace
