#include "settings/clean_item_catalogue.h"

#include <algorithm>

namespace {

using G = CleanGroup;
using K = SettingsKey;
using R = SelectionRecord;

// Labels, ids and value names are the page's and the stored settings' own, misspellings included.
constexpr CatalogueEntry kCatalogue[] = {
    // box id, label, disabled, group, key, value, default, line id, run, flag
    {L"temp_files", L"TEMP Files / folders", false, G::WindowsCleaning, K::WindowsClean, L"TempFiles", 1, L"temp_files", 1, &R::temp_files},
    {L"recycle_bin", L"Empty Recyle bin", false, G::WindowsCleaning, K::WindowsClean, L"RecyleBin", 1, L"recylebin", 3, &R::recycle_bin},
    {L"clip_board", L"Clipboard", false, G::WindowsCleaning, K::WindowsClean, L"Clipboard", 1, L"clipboard", 2, &R::clip_board},
    {L"os_dialog", L"Open/Save Dialog", false, G::WindowsCleaning, K::WindowsClean, L"OpenSaveDialog", 1, L"opensavedialog", 4, &R::os_dialog},
    {L"media_player", L"Media Player History", false, G::Programs, K::WindowsClean, L"MediaPlayer", 1, L"mediaplayer", 1, &R::media_player},
    {L"word_pad", L"WordPad History", false, G::Programs, K::WindowsClean, L"WordPad", 1, L"wordpad", 3, &R::word_pad},
    {L"ms_paint", L"MS Paint History", false, G::Programs, K::WindowsClean, L"MSPaint", 1, L"mspaint", 2, &R::ms_paint},
    {L"recent_doc", L"Recent Document History", false, G::StartMenu, K::WindowsClean, L"RecentDocuments", 1, L"recentdoc", 1, &R::recent_doc},
    {L"find_comp", L"Find Computer History", false, G::StartMenu, K::WindowsClean, L"FindComputer", 1, L"findcomputer", 4, &R::find_comp},
    {L"run_history", L"Run History ", false, G::StartMenu, K::WindowsClean, L"RunHistory", 1, L"run", 2, &R::run_history},
    {L"network_history", L"Newtwork History", false, G::StartMenu, K::WindowsClean, L"NetworkHistory", 1, L"network", 5, &R::network_history},
    {L"window_search", L"Windows Search history", false, G::StartMenu, K::WindowsClean, L"WindowSearch", 1, L"windowssearch", 3, &R::window_search},
    {L"logon_user", L"LogOn User History", false, G::StartMenu, K::WindowsClean, L"LogonUser", 1, L"logon", 6, &R::logon_user},

    {L"ie_urls", L"Type URLs", false, G::InternetExplorer, K::BrowserIe, L"TypeURLS", 1, L"ie_url", 7, &R::ie_urls},
    {L"ie_cache", L"Internet Cache", false, G::InternetExplorer, K::BrowserIe, L"Cache", 1, L"ie_cache", 3, &R::ie_cache},
    {L"ie_cookies", L"Cookies", false, G::InternetExplorer, K::BrowserIe, L"Cookies", 1, L"ie_cookies", 4, &R::ie_cookies},
    {L"ie_index", L"Index.dat", false, G::InternetExplorer, K::BrowserIe, L"Index", 1, L"ie_index", 6, &R::ie_index},
    {L"ie_browserhistory", L"Browser History", false, G::InternetExplorer, K::BrowserIe, L"BrowserHistory", 1, L"ie_browserhistory", 2, &R::ie_browserhistory},
    {L"ie_downloadlocation", L"Last Download Location", true, G::InternetExplorer, K::BrowserIe, L"Downloadloction", 0, L"ie_downloadlocation", 5, &R::ie_downloadlocation},
    {L"ie_autoformsNpwd", L"Auto Complete Forms & Passwords", false, G::InternetExplorer, K::BrowserIe, L"AutoFormNPwd", 1, L"ie_autoform", 1, &R::ie_autoformsNpwd},

    {L"ff_cache", L"Cache", false, G::Firefox, K::BrowserFf, L"Cache", 1, L"ff_cache", 2, &R::ff_cache},
    {L"ff_autoform", L"Auto Complete Forms", false, G::Firefox, K::BrowserFf, L"AutoForm", 1, L"ff_autoforms", 1, &R::ff_autoform},
    {L"ff_cookies", L"Cookies", false, G::Firefox, K::BrowserFf, L"Cookies", 1, L"ff_cookies", 3, &R::ff_cookies},
    {L"ff_downloadhistory", L"Download History", false, G::Firefox, K::BrowserFf, L"DownloadHistory", 1, L"ff_downloadhistory", 4, &R::ff_downloadhistory},
    {L"ff_urls", L"URLs", false, G::Firefox, K::BrowserFf, L"TypeURLS", 1, L"ff_url", 7, &R::ff_urls},
    {L"ff_pwd", L"Passwords", true, G::Firefox, K::BrowserFf, L"Pwd", 0, L"ff_passwords", 6, &R::ff_pwd},
    {L"ff_lastsession", L"Last Session", false, G::Firefox, K::BrowserFf, L"LastSession", 1, L"ff_lastsesion", 5, &R::ff_lastsession},

    {L"gc_cache", L"Cache", false, G::Chrome, K::BrowserGc, L"Cache", 1, L"gc_cache", 1, &R::gc_cache},
    {L"gc_pwd", L"Password", true, G::Chrome, K::BrowserGc, L"Pwd", 0, L"gc_password", 4, &R::gc_pwd},
    {L"gc_cookies", L"Cookies", false, G::Chrome, K::BrowserGc, L"Cookies", 1, L"gc_cookies", 2, &R::gc_cookies},
    {L"gc_lastsession", L"Last Session", true, G::Chrome, K::BrowserGc, L"LastSession", 0, L"gc_lastsession", 6, &R::gc_lastsession},
    {L"gc_urls", L"URLs", false, G::Chrome, K::BrowserGc, L"TypeURLS", 1, L"gc_url", 5, &R::gc_urls},
    {L"gc_downloadhistory", L"Download History", false, G::Chrome, K::BrowserGc, L"DownloadHistory", 1, L"gc_downloadhistory", 3, &R::gc_downloadhistory},

    {L"me_cache", L"Cache", false, G::MicrosoftEdge, K::BrowserMe, L"Cache", 1, L"me_cache", 1, &R::me_cache},
    {L"me_pwd", L"Password", true, G::MicrosoftEdge, K::BrowserMe, L"Pwd", 0, L"me_password", 4, &R::me_pwd},
    {L"me_cookies", L"Cookies", false, G::MicrosoftEdge, K::BrowserMe, L"Cookies", 1, L"me_cookies", 2, &R::me_cookies},
    {L"me_lastsession", L"Last Session", true, G::MicrosoftEdge, K::BrowserMe, L"LastSession", 0, L"me_lastsession", 6, &R::me_lastsession},
    {L"me_urls", L"URLs", false, G::MicrosoftEdge, K::BrowserMe, L"TypeURLS", 1, L"me_url", 5, &R::me_urls},
    {L"me_downloadhistory", L"Download History", false, G::MicrosoftEdge, K::BrowserMe, L"DownloadHistory", 1, L"me_downloadhistory", 3, &R::me_downloadhistory},

    {L"br_cache", L"Cache", false, G::Brave, K::BrowserBr, L"Cache", 1, L"br_cache", 1, &R::br_cache},
    {L"br_pwd", L"Password", true, G::Brave, K::BrowserBr, L"Pwd", 0, L"br_password", 4, &R::br_pwd},
    {L"br_cookies", L"Cookies", false, G::Brave, K::BrowserBr, L"Cookies", 1, L"br_cookies", 2, &R::br_cookies},
    {L"br_lastsession", L"Last Session", true, G::Brave, K::BrowserBr, L"LastSession", 0, L"br_lastsession", 6, &R::br_lastsession},
    {L"br_urls", L"URLs", false, G::Brave, K::BrowserBr, L"TypeURLS", 1, L"br_url", 5, &R::br_urls},
    {L"br_downloadhistory", L"Download History", false, G::Brave, K::BrowserBr, L"DownloadHistory", 1, L"br_downloadhistory", 3, &R::br_downloadhistory},

    {L"load_startup", L"Load at Window Startup", false, G::None, K::Setting, L"Startup", 1, L"", 0, &R::load_startup},
    {L"hot_key", L"Hot keys (ctrl+shift H)", false, G::None, K::Setting, L"HotKey", 0, L"", 0, &R::hot_key},
};

constexpr CleanGroupInfo kGroups[] = {
    {G::WindowsCleaning, L"Windows Cleaning", L"Windows Cleanning", L"Windows Cleaning", L"windos_cleaning_list", L"windows_history_list"},
    {G::Programs, L"Programs / Applications", L"Programs / Applications", L"Programs / Applications", L"windos_program_list", L"windows_history_list"},
    {G::StartMenu, L"Start Menu Cleaning", L"Start Menu Cleanning", L"Start Menu Cleaning", L"windos_startmenu_list", L"windows_history_list"},
    {G::InternetExplorer, L"Internet Explorer", L"Internet Explorer\nHistory", L"Internet Explorer", L"browser_ie_list", L"browser_history_list"},
    {G::Firefox, L"Mozilla Firefox", L"Mozilla Firefox\nHistory", L"Mozilla Firefox", L"browser_ff_list", L"browser_history_list"},
    {G::Chrome, L"Google Chrome", L"Google Chrome\nHistory", L"Google Chrome", L"browser_gc_list", L"browser_history_list"},
    {G::MicrosoftEdge, L"Microsoft Edge", L"Microsoft Edge\nHistory", L"Microsoft Edge", L"browser_me_list", L"browser_history_list"},
    {G::Brave, L"Brave", L"Brave\nHistory", L"Brave", L"browser_br_list", L"browser_history_list"},
};

constexpr bool CountsMatch() {
    int items = 0;
    for (const auto& e : kCatalogue) items += e.group != G::None;
    return items == kCleanItemCount && std::size(kCatalogue) == kCleanItemCount + 2;
}
static_assert(CountsMatch());

} // namespace

std::span<const CatalogueEntry> Catalogue() { return kCatalogue; }
std::span<const CleanGroupInfo> CleanGroups() { return kGroups; }

const CatalogueEntry* FindByBoxId(std::wstring_view boxId) {
    for (const auto& e : kCatalogue)
        if (e.boxId == boxId) return &e;
    return nullptr;
}

std::vector<const CatalogueEntry*> ItemsInRunOrder(CleanGroup group) {
    std::vector<const CatalogueEntry*> items;
    for (const auto& e : kCatalogue)
        if (e.group == group && group != G::None) items.push_back(&e);
    std::sort(items.begin(), items.end(), [](auto a, auto b) { return a->runPosition < b->runPosition; });
    return items;
}

std::vector<const CatalogueEntry*> EntriesOfKey(SettingsKey key) {
    std::vector<const CatalogueEntry*> entries;
    for (const auto& e : kCatalogue)
        if (e.key == key) entries.push_back(&e);
    return entries;
}

std::wstring_view SettingsKeyPath(SettingsKey key) {
    switch (key) {
    case K::WindowsClean: return L"Software\\Quellbyte\\Freeweare\\Tracewipe\\WindowsClean";
    case K::BrowserIe: return L"Software\\Quellbyte\\Freeweare\\Tracewipe\\Browser\\IE";
    case K::BrowserFf: return L"Software\\Quellbyte\\Freeweare\\Tracewipe\\Browser\\FF";
    case K::BrowserGc: return L"Software\\Quellbyte\\Freeweare\\Tracewipe\\Browser\\GC";
    case K::BrowserMe: return L"Software\\Quellbyte\\Freeweare\\Tracewipe\\Browser\\ME";
    case K::BrowserBr: return L"Software\\Quellbyte\\Freeweare\\Tracewipe\\Browser\\BR";
    case K::Setting: return L"Software\\Quellbyte\\Freeweare\\Tracewipe\\Setting";
    }
    return {};
}

bool AnySelected(CleanGroup group) {
    for (const auto& e : kCatalogue)
        if (e.group == group && e.Selected()) return true;
    return false;
}
