#include "seeded_history.h"

#include "support/browser_databases.h"
#include "support/clipboard_text.h"
#include "support/registry_fixture.h"
#include "support/test_folder.h"

#include <shlobj.h>

namespace journey {
namespace {

using testing_support::PathExists;

const std::wstring kExplorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const std::wstring kBars =
    L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\";
const std::wstring kWinlogon = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const std::wstring kTypedUrls = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
const std::wstring kIntelliForms = L"Software\\Microsoft\\Internet Explorer\\IntelliForms\\";

std::wstring Folder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, path, csidl, TRUE);
    return path;
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH + 1] = L"";
    GetTempPathW(MAX_PATH + 1, path);
    std::wstring temp = path;
    if (!temp.empty() && temp.back() == L'\\') temp.pop_back();
    return temp;
}

void WriteFile(const std::wstring& path, const std::string& content = "trace") {
    testing_support::MakeFolders(path.substr(0, path.rfind(L'\\')));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace

SeededHistory::SeededHistory() {
    const std::wstring temp = TempFolder(), local = Folder(CSIDL_LOCAL_APPDATA), roaming = Folder(CSIDL_APPDATA);
    const std::wstring recent = Folder(CSIDL_RECENT), netHood = Folder(CSIDL_NETHOOD), history = Folder(CSIDL_HISTORY);
    const std::wstring firefox = roaming + L"\\Mozilla\\Firefox\\Profiles\\journey.default";
    const std::wstring firefoxLocal = local + L"\\Mozilla\\Firefox\\Profiles\\journey.default";
    const std::wstring chrome = local + L"\\Google\\Chrome\\User Data\\Default";
    const std::wstring chromeSecond = local + L"\\Google\\Chrome\\User Data\\Profile 2";
    const std::wstring edge = local + L"\\Microsoft\\Edge\\User Data\\Default";
    const std::wstring brave = local + L"\\BraveSoftware\\Brave-Browser\\User Data\\Default";
    WriteFile(roaming + L"\\Mozilla\\Firefox\\profiles.ini",
              "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
              "Path=Profiles/journey.default\r\n");

    using K = Kind;
    traces_ = {
        {L"temp_files", K::File, temp + L"\\journey\\session.tmp", L""},
        {L"temp_files", K::File, temp + L"\\journey\\nested\\deeper.tmp", L""},
        {L"temp_files", K::File, local + L"\\Temp\\journey-local.tmp", L""},
        {L"clip_board", K::Clipboard, L"", L""},
        {L"os_dialog", K::Key, kExplorer + L"ComDlg32\\LastVisitedPidlMRU", L""},
        {L"os_dialog", K::Key, kExplorer + L"ComDlg32\\OpenSavePidlMRU", L""},
        {L"media_player", K::Key, L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", L""},
        {L"media_player", K::Key, L"Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList", L""},
        {L"ms_paint", K::Key, L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List", L""},
        {L"word_pad", K::Key, L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List", L""},
        {L"recent_doc", K::Key, kExplorer + L"RecentDocs", L""},
        {L"recent_doc", K::File, recent + L"\\report.lnk", L""},
        {L"run_history", K::Value, kExplorer + L"RunMRU", L"a"},
        {L"window_search", K::Key, kExplorer + L"Doc Find Spec MRU", L""},
        {L"window_search", K::Key, kBars + L"ContainingTextMRU", L""},
        {L"window_search", K::Key, kExplorer + L"WordWheelQuery", L""},
        {L"find_comp", K::Key, kExplorer + L"FindComputerMRU", L""},
        {L"find_comp", K::Key, kBars + L"ComputerNameMRU", L""},
        {L"network_history", K::File, netHood + L"\\share.lnk", L""},
        {L"logon_user", K::Value, kWinlogon, L"DefaultUserName"},
        {L"ie_urls", K::Value, kTypedUrls, L"url1"},
        {L"ie_autoformsNpwd", K::FlatKey, kIntelliForms + L"SPW", L""},
        {L"ie_autoformsNpwd", K::FlatKey, kIntelliForms + L"Storage2", L""},
        {L"ie_browserhistory", K::File, history + L"\\History.IE5\\MSHist012026\\visit.url", L""},
        {L"ff_cookies", K::File, firefox + L"\\cookies.sqlite", L""},
        {L"ff_urls", K::Visits, firefox + L"\\places.sqlite", L""},
        {L"ff_autoform", K::File, firefox + L"\\formhistory.sqlite", L""},
        {L"ff_downloadhistory", K::File, firefox + L"\\downloads.sqlite", L""},
        {L"ff_lastsession", K::File, firefox + L"\\sessionstore.js", L""},
        {L"ff_pwd", K::File, firefox + L"\\signons.sqlite", L""},
        {L"ff_cache", K::File, firefoxLocal + L"\\cache2\\entries\\A1", L""},
        {L"gc_cookies", K::File, chrome + L"\\Cookies", L""},
        {L"gc_urls", K::File, chrome + L"\\History", L""},
        {L"gc_downloadhistory", K::File, chrome + L"\\Downloads.plist", L""},
        {L"gc_pwd", K::File, chrome + L"\\Login Data", L""},
        {L"gc_cache", K::File, chrome + L"\\Cache\\data_0", L""},
        {L"gc_urls", K::File, chromeSecond + L"\\History", L""},
        {L"gc_urls", K::File, chromeSecond + L"\\Top Sites", L""},
        {L"gc_cookies", K::File, chromeSecond + L"\\Network\\Cookies", L""},
        {L"me_cookies", K::File, edge + L"\\Network\\Cookies", L""},
        {L"me_urls", K::File, edge + L"\\History", L""},
        {L"me_downloadhistory", K::File, edge + L"\\Downloads.plist", L""},
        {L"me_pwd", K::File, edge + L"\\Login Data", L""},
        {L"me_cache", K::File, edge + L"\\Cache\\Cache_Data\\data_0", L""},
        {L"br_cookies", K::File, brave + L"\\Network\\Cookies", L""},
        {L"br_urls", K::File, brave + L"\\History", L""},
        {L"br_downloadhistory", K::File, brave + L"\\Downloads.plist", L""},
        {L"br_pwd", K::File, brave + L"\\Login Data", L""},
        {L"br_cache", K::File, brave + L"\\Cache\\Cache_Data\\data_0", L""},
    };
    for (const Trace& trace : traces_) Seed(trace);
    placesPath_ = firefox + L"\\places.sqlite";
    {
        testing_support::TestDatabase places(placesPath_);
        bookmarks_ = testing_support::ReadBookmarks(places);
    }

    keepers_ = {recent + L"\\desktop.ini", netHood + L"\\desktop.ini", firefox + L"\\prefs.js",
                chrome + L"\\Preferences", local + L"\\Google\\Chrome\\User Data\\Profile 1\\Cookies",
                chrome + L"\\Bookmarks", chromeSecond + L"\\Preferences", edge + L"\\Preferences",
                edge + L"\\Bookmarks", brave + L"\\Preferences"};
    for (const std::wstring& keeper : keepers_) WriteFile(keeper);
    testing_support::SetString(HKEY_CURRENT_USER, kWinlogon, L"Journey keep", L"1");
    keepers_.push_back(kWinlogon + L"|Journey keep");

    for (const std::wstring& folder : {temp + L"\\journey", local + L"\\Temp", recent, netHood, history, firefoxLocal,
                                       chrome + L"\\Cache", edge + L"\\Cache", brave + L"\\Cache\\Cache_Data"})
        outside_.PlantLinkAt(folder + L"\\outside-link");
}

void SeededHistory::AddCacheFiles(int count) {
    const std::wstring cache = Folder(CSIDL_LOCAL_APPDATA) + L"\\Google\\Chrome\\User Data\\Default\\Cache\\";
    for (int i = 0; i < count; ++i) {
        traces_.push_back({L"gc_cache", Kind::File, cache + L"f_" + std::to_wstring(i), L""});
        Seed(traces_.back());
    }
}

void SeededHistory::Seed(const Trace& trace) {
    switch (trace.kind) {
    case Kind::File: WriteFile(trace.where); break;
    case Kind::Visits:
        testing_support::MakePlacesDatabase(trace.where, {.pages = 60, .visits = 150, .bookmarks = 12, .downloads = 4});
        break;
    case Kind::Key: testing_support::SetString(HKEY_CURRENT_USER, trace.where + L"\\nested", L"a", L"trace"); break;
    case Kind::FlatKey: testing_support::SetString(HKEY_CURRENT_USER, trace.where, L"a", L"trace"); break;
    case Kind::Value: testing_support::SetString(HKEY_CURRENT_USER, trace.where, trace.name, L"trace"); break;
    case Kind::Clipboard: testing_support::PutTextOnClipboard(L"secret"); break;
    }
}

bool SeededHistory::Present(const Trace& trace) {
    switch (trace.kind) {
    case Kind::File: return PathExists(trace.where);
    case Kind::Visits: {
        testing_support::TestDatabase places(trace.where);
        return places.Count("moz_historyvisits") != 0;
    }
    case Kind::Key:
    case Kind::FlatKey: return testing_support::KeyExists(HKEY_CURRENT_USER, trace.where);
    case Kind::Value: return testing_support::ValueExists(HKEY_CURRENT_USER, trace.where, trace.name);
    case Kind::Clipboard: return testing_support::ClipboardHasText();
    }
    return false;
}

std::set<std::wstring> SeededHistory::ItemsWith(bool tracePresent) const {
    std::set<std::wstring> items;
    for (const Trace& trace : traces_)
        if (Present(trace) == tracePresent) items.insert(trace.item);
    return items;
}

std::set<std::wstring> SeededHistory::Items() const {
    std::set<std::wstring> items;
    for (const Trace& trace : traces_) items.insert(trace.item);
    return items;
}

std::vector<std::wstring> SeededHistory::MissingKeepers() const {
    std::vector<std::wstring> missing;
    for (const std::wstring& keeper : keepers_) {
        const size_t bar = keeper.find(L'|');
        const bool present = bar == std::wstring::npos
                                 ? PathExists(keeper)
                                 : testing_support::ValueExists(HKEY_CURRENT_USER, keeper.substr(0, bar),
                                                                keeper.substr(bar + 1));
        if (!present) missing.push_back(keeper);
    }
    testing_support::TestDatabase places(placesPath_);
    if (!places.IntegrityOk() || !(testing_support::ReadBookmarks(places) == bookmarks_))
        missing.push_back(placesPath_ + L" (bookmarks)");
    return missing;
}

} // namespace journey
