// The real job over all 45 items on a prefix seeded with history for every item.
#include "cleaners/browsers/index_file_messages.h"
#include "job_dialog.h"
#include "real_job.h"
#include "settings/settings_store.h"
#include "support/browser_databases.h"
#include "support/clipboard_text.h"
#include "support/outside_sentinel.h"
#include "support/registry_fixture.h"
#include "support/shell_folder_redirect.h"
#include "support/test_folder.h"
#include "support/url_cache_fixture.h"

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace testing_support;

int messagesShown = 0;
int WINAPI CountMessage(HWND, LPCWSTR, LPCWSTR, UINT) {
    ++messagesShown;
    return IDOK;
}

const std::wstring kExplorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const std::wstring kBars =
    L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\";

// Keys whose whole tree is history.
const std::vector<std::wstring> kHistoryKeys = {
    kExplorer + L"ComDlg32\\LastVisitedPidlMRU",
    kExplorer + L"ComDlg32\\OpenSavePidlMRU",
    L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList",
    L"Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List",
    kExplorer + L"RunMRU",
    kExplorer + L"Doc Find Spec MRU",
    kBars + L"ContainingTextMRU",
    kBars + L"FilesNamedMRU",
    L"Software\\Microsoft\\Search Assistant\\ACMru\\5603",
    kExplorer + L"WordWheelQuery",
    kExplorer + L"FindComputerMRU",
    kBars + L"ComputerNameMRU",
    kExplorer + L"RecentDocs",
    L"Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW",
    L"Software\\Microsoft\\Internet Explorer\\IntelliForms\\Storage2",
};
const std::wstring kTypedUrls = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
const std::wstring kUserWinlogon = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

TEST(FullJob, EverySeededTraceGoesAndNothingBeyond) {
    TestFolder root;
    const std::wstring roaming = root.MakeFolder(L"Roaming"), local = root.MakeFolder(L"Local");
    const std::wstring recent = root.MakeFolder(L"Recent"), nethood = root.MakeFolder(L"NetHood");
    const std::wstring cache = root.MakeFolder(L"INetCache"), cookies = root.MakeFolder(L"INetCookies");
    const std::wstring history = root.MakeFolder(L"History");
    ScopedShellFolder folders[] = {{L"AppData", roaming}, {L"Local AppData", local}, {L"Recent", recent},
                                   {L"NetHood", nethood}, {L"Cache", cache},         {L"Cookies", cookies},
                                   {L"History", history}};
    OutsideSentinel sentinel;
    const MessageBoxFunction replaced = ReplaceIndexFileMessageBox(CountMessage);

    // Files of every file-system item, each folder with a link to the outside.
    wchar_t tempPath[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, tempPath);
    TestFolder temp(std::wstring(tempPath) + L"tracewipe-full-job");
    const std::wstring profile = roaming + L"\\Mozilla\\Firefox\\Profiles\\abc.default";
    const std::wstring chrome = local + L"\\Google\\Chrome\\User Data\\Default";
    // As current versions write it: an unused profile listed first, the one in use named by the installation.
    root.Write(L"Roaming\\Mozilla\\Firefox\\profiles.ini", "[Profile1]\r\nName=default\r\nIsRelative=1\r\n"
                                                          "Path=Profiles/unused.default\r\nDefault=1\r\n\r\n"
                                                          "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\n"
                                                          "Path=Profiles/abc.default\r\n\r\n"
                                                          "[Install308046B0AF4A39CB]\r\n"
                                                          "Default=Profiles/abc.default\r\nLocked=1\r\n");
    const std::wstring places = profile + L"\\places.sqlite";
    MakeFolders(profile);
    PlacesContent content;
    content.pages = 500, content.visits = 2000, content.bookmarks = 50, content.downloads = 10;
    const PlacesBookmarks bookmarks = MakePlacesDatabase(places, content);
    const std::vector<std::wstring> traces = {
        temp.Write(L"session.tmp"), temp.Write(L"nested\\deeper\\x.tmp"),
        root.Write(L"Local\\Temp\\local.tmp"), root.Write(L"Local\\Temp\\sub\\cache.flk"),
        root.Write(L"Recent\\report.lnk"), root.Write(L"NetHood\\share.lnk"),
        root.Write(L"History\\History.IE5\\MSHist012026\\visit.url"),
        root.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\cookies.sqlite"),
        root.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\cookies.sqlite-wal"),
        root.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\sessionstore.jsonlz4"),
        root.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\sessionstore-backups\\recovery.jsonlz4"),
        root.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\logins.json"),
        root.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\formhistory.sqlite"),
        root.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\downloads.sqlite"),
        root.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\sessionstore.js"),
        root.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\signons.sqlite"),
        root.Write(L"Local\\Mozilla\\Firefox\\Profiles\\abc.default\\cache2\\entries\\A1"),
        root.Write(L"Local\\Google\\Chrome\\User Data\\Default\\Cookies"),
        root.Write(L"Local\\Google\\Chrome\\User Data\\Default\\History"),
        root.Write(L"Local\\Google\\Chrome\\User Data\\Default\\Downloads.plist"),
        root.Write(L"Local\\Google\\Chrome\\User Data\\Default\\Cache\\data_0"),
        root.Write(L"Local\\Google\\Chrome\\User Data\\Default\\Network\\Cookies"),
        root.Write(L"Local\\Google\\Chrome\\User Data\\Default\\History-journal"),
        root.Write(L"Local\\Google\\Chrome\\User Data\\Default\\Visited Links"),
        root.Write(L"Local\\Google\\Chrome\\User Data\\Default\\Login Data"),
        root.Write(L"Local\\Google\\Chrome\\User Data\\Default\\Code Cache\\js\\index"),
        root.Write(L"Local\\Google\\Chrome\\User Data\\Default\\GPUCache\\data_0"),
        root.Write(L"Local\\Google\\Chrome\\User Data\\Default\\Sessions\\Session_13350000000000001"),
        root.Write(L"Local\\Google\\Chrome\\User Data\\Default\\Current Session"),
        root.Write(L"Local\\Google\\Chrome\\User Data\\Profile 2\\History"),
        root.Write(L"Local\\Google\\Chrome\\User Data\\Profile 2\\Top Sites"),
        root.Write(L"Local\\Microsoft\\Edge\\User Data\\Default\\Cookies"),
        root.Write(L"Local\\Microsoft\\Edge\\User Data\\Default\\History"),
        root.Write(L"Local\\Microsoft\\Edge\\User Data\\Default\\Cache\\Cache_Data\\data_0"),
        root.Write(L"Local\\BraveSoftware\\Brave-Browser\\User Data\\Default\\History"),
        root.Write(L"Local\\BraveSoftware\\Brave-Browser\\User Data\\Profile 1\\Network\\Cookies"),
        root.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\unused.default\\cookies.sqlite"),
    };
    const std::vector<std::wstring> kept = {
        root.Write(L"Recent\\desktop.ini"), root.Write(L"NetHood\\desktop.ini"), profile + L"\\prefs.js",
        root.Write(L"Local\\Google\\Chrome\\User Data\\Profile 1\\Cookies"), chrome + L"\\Preferences",
        root.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\key4.db"),
        root.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\cert9.db"),
        root.Write(L"Local\\Google\\Chrome\\User Data\\Default\\Bookmarks"), places,
        // No database: nothing in it can be told apart from the addresses and cards it may hold.
        root.Write(L"Local\\Google\\Chrome\\User Data\\Default\\Web Data"),
        root.Write(L"Local\\Microsoft\\Edge\\User Data\\Default\\Bookmarks"),
        root.Write(L"Local\\Microsoft\\Edge\\User Data\\Local State", "{}")};
    root.Write(L"Roaming\\Mozilla\\Firefox\\Profiles\\abc.default\\prefs.js");
    for (const auto& profile : {L"Google\\Chrome\\User Data\\Default", L"Google\\Chrome\\User Data\\Profile 2",
                                L"Microsoft\\Edge\\User Data\\Default", L"BraveSoftware\\Brave-Browser\\User Data\\Default",
                                L"BraveSoftware\\Brave-Browser\\User Data\\Profile 1"}) {
        root.Write(L"Local\\" + std::wstring(profile) + L"\\Preferences");
        ASSERT_TRUE(sentinel.PlantLinkAt(local + L"\\" + profile + L"\\outside-link"));
    }
    for (const std::wstring& folder : {temp.Path(), local + L"\\Temp", recent, nethood, history,
                                       local + L"\\Mozilla\\Firefox\\Profiles\\abc.default",
                                       chrome + L"\\Cache", chrome + L"\\Sessions",
                                       profile + L"\\sessionstore-backups"})
        ASSERT_TRUE(sentinel.PlantLinkAt(folder + L"\\outside-link"));

    // Registry history of every registry item, beside values that are not history.
    std::vector<std::unique_ptr<ScopedKeyTree>> fresh;
    for (const auto& key : kHistoryKeys) fresh.push_back(std::make_unique<ScopedKeyTree>(HKEY_CURRENT_USER, key));
    for (const auto& key : kHistoryKeys) {
        SetString(HKEY_CURRENT_USER, key, L"a", L"trace");
        // These three are removed only while they have no subkeys, as they are found on Windows.
        const bool flat = key.ends_with(L"RunMRU") || key.ends_with(L"SPW") || key.ends_with(L"Storage2");
        if (!flat) SetString(HKEY_CURRENT_USER, key + L"\\nested", L"a", L"trace");
    }
    SetString(HKEY_CURRENT_USER, kTypedUrls, L"url1", L"http://tracewipe.test/");
    SetString(HKEY_CURRENT_USER, kTypedUrls, L"url2", L"http://tracewipe.test/2");
    SetString(HKEY_CURRENT_USER, kUserWinlogon, L"DefaultUserName", L"alice");
    SetString(HKEY_CURRENT_USER, kUserWinlogon, L"AltDefaultUserName", L"alice");
    SetString(HKEY_CURRENT_USER, kUserWinlogon, L"Tracewipe keep", L"1");
    SetString(HKEY_CURRENT_USER, kExplorer, L"Tracewipe keep", L"1");

    const std::wstring page = L"http://tracewipe.test/full-job", cookie = L"Cookie:user@tracewipe.test/";
    ASSERT_TRUE(MakeCacheEntry(page, NORMAL_CACHE_ENTRY));
    ASSERT_TRUE(MakeCacheEntry(cookie, COOKIE_CACHE_ENTRY));
    ASSERT_TRUE(PutTextOnClipboard(L"secret"));

    CleanSelection = {};
    SelectAllItems();
    RealJob real;
    CleaningJob& job = real.job;
    JobDialog dialog(job);
    ASSERT_TRUE(job.StartJob(dialog.Window()));
    ASSERT_TRUE(dialog.RunUntilClosed(120000));
    EXPECT_EQ(job.jobResult, 1);
    EXPECT_EQ(doneSteps, 45);

    EXPECT_TRUE(sentinel.Intact());
    for (const auto& path : traces) EXPECT_FALSE(PathExists(path)) << std::string(path.begin(), path.end());
    for (const auto& path : kept) EXPECT_TRUE(PathExists(path)) << std::string(path.begin(), path.end());
    EXPECT_TRUE(PathExists(local + L"\\Temp")) << "the temporary folders themselves stay";
    for (const auto& key : kHistoryKeys)
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key)) << std::string(key.begin(), key.end());
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kTypedUrls, L"url1"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kTypedUrls, L"url2"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kUserWinlogon, L"DefaultUserName"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kUserWinlogon, L"AltDefaultUserName"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kUserWinlogon, L"Tracewipe keep"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kExplorer, L"Tracewipe keep"));
    EXPECT_FALSE(HasCacheEntry(page));
    EXPECT_FALSE(HasCacheEntry(cookie));
    EXPECT_FALSE(ClipboardHasText());
    EXPECT_EQ(messagesShown, 0) << "no index file was unopenable";
    {
        TestDatabase after(places);
        EXPECT_TRUE(after.IntegrityOk());
        EXPECT_EQ(bookmarks, ReadBookmarks(after)) << "cleaning history never costs a bookmark";
        EXPECT_EQ(0, after.Count("moz_historyvisits"));
    }

    DeleteValue(HKEY_CURRENT_USER, kUserWinlogon, L"Tracewipe keep");
    DeleteValue(HKEY_CURRENT_USER, kExplorer, L"Tracewipe keep");
    DeleteTree(HKEY_CURRENT_USER, kTypedUrls);
    ReplaceIndexFileMessageBox(replaced);
    CleanSelection = {};
}

// "exit" while the temporary files go: the walk stops after the file at hand, the step does not count, the
// job does not finish, and every file that stays is whole. (The time it takes is the job stop benchmark's.)
TEST(FullJob, ExitWhileAFolderEmptiesStopsAfterTheFileAtHand) {
    TestFolder root;
    const std::wstring local = root.MakeFolder(L"Local");
    ScopedShellFolder redirect(L"Local AppData", local);
    const std::wstring files = root.MakeFolder(L"Local\\Temp\\many");
    const std::string content(100, 'x');
    constexpr int kFiles = 1000;
    for (int i = 0; i < kFiles; ++i) root.Write(L"Local\\Temp\\many\\f" + std::to_wstring(i) + L".tmp", content);
    OutsideSentinel sentinel;
    ASSERT_TRUE(sentinel.PlantLinkAt(local + L"\\Temp\\outside-link"));

    CleanSelection = {};
    CleanSelection.temp_files = 1;
    RealJob real;
    CleaningJob& job = real.job;
    JobDialog dialog(job);
    // The user presses "exit" as soon as the first of the files is gone.
    HANDLE firstGone = FindFirstChangeNotificationW(files.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    ASSERT_NE(firstGone, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(job.StartJob(dialog.Window()));
    std::thread user([&] {
        WaitForSingleObject(firstGone, 30000);
        PostMessageW(dialog.Window(), WM_APP, 0, 0);
    });
    ASSERT_TRUE(dialog.RunUntilClosed(120000));
    user.join();
    FindCloseChangeNotification(firstGone);
    EXPECT_EQ(job.jobResult, 0);
    EXPECT_EQ(doneSteps, 0);

    int whole = 0;
    for (int i = 0; i < kFiles; ++i) {
        const std::wstring file = files + L"\\f" + std::to_wstring(i) + L".tmp";
        if (!PathExists(file)) continue;
        ASSERT_EQ(ReadAll(file), content) << "never left half emptied";
        ++whole;
    }
    EXPECT_GT(whole, 0) << "the walk went on to the end";
    EXPECT_LT(whole, kFiles);
    EXPECT_TRUE(sentinel.Intact());
    CleanSelection = {};
}

} // namespace
