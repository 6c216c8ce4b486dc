#include "cleaning/item_measure.h"

#include "cleaners/browsers/chromium_cleaner.h"
#include "cleaners/browsers/chromium_targets.h"
#include "cleaners/browsers/firefox_targets.h"
#include "cleaners/browsers/ie_cleaner.h"
#include "cleaners/windows/folder_targets.h"
#include "cleaners/windows/registry_targets.h"

#include <windows.h>

namespace {

ItemFigures Measured(const FolderFigures& folders, uint64_t entries) {
    return {.measured = true, .files = folders.files, .bytes = folders.bytes, .entries = entries};
}

ItemFigures Registry(RegistryItem item) { return Measured({}, CountRegistryEntries(item)); }

ItemFigures RecycleBin() {
    const std::optional<RecycleBinFigures> bin = QueryRecycleBin();
    if (!bin) return {};
    return {.measured = true, .bytes = bin->bytes, .recycled = bin->items};
}

ItemFigures Clipboard() { return {.measured = true, .clipboard = ClipboardContentOf(ClipboardHolds())}; }

// The profiles of the step's browser as they are now: a scan and its re-check find the same ones as the
// cleaner, which reads them the same way.
ItemFigures Chromium(const CleaningStep& step, ChromiumItem item) {
    const ChromiumBrowser* browser = FindChromiumBrowser(static_cast<int32_t>(step.item->group));
    if (!browser) return {};
    return FromBrowser(MeasureChromiumItem(ChromiumCleaner(*browser).ProfileFolders(), item));
}

ItemFigures Firefox(FirefoxItem item) { return FromBrowser(MeasureFirefoxItem(ReadFirefoxProfiles(), item)); }
ItemFigures FirefoxCache() { return FromBrowser(MeasureFirefoxCache(ReadFirefoxProfiles())); }
ItemFigures FirefoxPasswords() { return FromBrowser(MeasureFirefoxPasswords(ReadFirefoxProfiles())); }

ItemFigures UrlCache(const UrlCacheFigures& figures, RecordKind kind) {
    return FromBrowser({.files = {.bytes = figures.bytes}, .rows = figures.entries, .kind = kind});
}

} // namespace

ItemFigures MeasureItem(const CleaningStep& step) {
    using A = CleanAction;
    switch (step.action) {
    case A::TempFiles: return Measured(MeasureFolderTargets(FolderTargetItem::TempFiles), 0);
    case A::Clipboard: return Clipboard();
    case A::RecycleBin: return RecycleBin();
    case A::OpenSaveHistory: return Registry(RegistryItem::OpenSaveHistory);
    case A::MediaPlayerHistory: return Registry(RegistryItem::MediaPlayerHistory);
    case A::PaintHistory: return Registry(RegistryItem::PaintHistory);
    case A::WordPadHistory: return Registry(RegistryItem::WordPadHistory);
    case A::RecentDocuments:
        return Measured(MeasureFolderTargets(FolderTargetItem::RecentDocuments),
                        CountRegistryEntries(RegistryItem::RecentDocuments));
    case A::RunHistory: return Registry(RegistryItem::RunHistory);
    case A::SearchHistory: return Registry(RegistryItem::SearchHistory);
    case A::FindComputerHistory: return Registry(RegistryItem::FindComputerHistory);
    case A::NetworkHistory: return Measured(MeasureFolderTargets(FolderTargetItem::NetworkHistory), 0);
    case A::LogonUserName: return Registry(RegistryItem::LogonUserName);
    case A::IeBrowserHistory: return FromBrowser(IECleaner::CountBrowserHistory());
    case A::IeCache: return UrlCache(IECleaner::CountCache(), RecordKind::CacheEntries);
    case A::IeCookies: return UrlCache(IECleaner::CountCookies(), RecordKind::Cookies);
    case A::IeTypedUrls: return Registry(RegistryItem::IeTypedUrls);
    case A::IeAutoFormsAndPasswords: return Registry(RegistryItem::IeAutoForms);
    case A::FfCookies: return Firefox(FirefoxItem::Cookies);
    case A::FfUrls: return Firefox(FirefoxItem::Urls);
    case A::FfAutoForms: return Firefox(FirefoxItem::AutoForms);
    case A::FfDownloadHistory: return Firefox(FirefoxItem::DownloadHistory);
    case A::FfLastSession: return Firefox(FirefoxItem::LastSession);
    case A::FfCache: return FirefoxCache();
    case A::FfPasswords: return FirefoxPasswords();
    case A::ChromiumCache: return Chromium(step, ChromiumItem::Cache);
    case A::ChromiumCookies: return Chromium(step, ChromiumItem::Cookies);
    case A::ChromiumUrls: return Chromium(step, ChromiumItem::History);
    case A::ChromiumDownloadHistory: return Chromium(step, ChromiumItem::DownloadHistory);
    case A::ChromiumPasswords: return Chromium(step, ChromiumItem::WebData);
    case A::ChromiumLastSession: return Chromium(step, ChromiumItem::LastSession);
    default: return {};
    }
}
