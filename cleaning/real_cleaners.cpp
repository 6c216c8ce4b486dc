#include "cleaning/real_cleaners.h"

#include "cleaners/browsers/browser_process.h"
#include "cleaners/windows/registry_history_cleaners.h"
#include "cleaning/item_measure.h"

void RealCleaners::BeginWindowsPhase(HWND dialog) { windows_.emplace(WindowsCleanContext{dialog}); }

void RealCleaners::EndWindowsPhase() { windows_.reset(); }

void RealCleaners::BeginBrowserGroup(CleanGroup group) {
    switch (group) {
    case CleanGroup::InternetExplorer:
        TerminateBrowser(BrowserKind::InternetExplorer);
        ie_.emplace();
        break;
    case CleanGroup::Firefox:
        TerminateBrowser(BrowserKind::Firefox);
        firefox_.emplace();
        break;
    default:
        if (const ChromiumBrowser* browser = FindChromiumBrowser(static_cast<int32_t>(group))) {
            // The cleaner finds the profiles before the browser is ended.
            chromium_.emplace(*browser);
            TerminateBrowser(*browser);
        }
        break;
    }
}

void RealCleaners::EndBrowserGroup(CleanGroup) {
    ie_.reset();
    firefox_.reset();
    chromium_.reset();
}

void RealCleaners::Run(CleanAction action, HWND dialog) {
    using A = CleanAction;
    // A step whose phase or group was not begun has no cleaner to run, and so does nothing.
    const bool windows = windows_.has_value();
    switch (action) {
    case A::Nothing: break;
    case A::TempFiles: if (windows) CleanTempFiles(*windows_); break;
    case A::Clipboard: if (windows) CleanClipboard(*windows_); break;
    case A::RecycleBin: EmptyRecycleBin(); break;
    case A::OpenSaveHistory: CleanOpenSaveHistory(); break;
    case A::MediaPlayerHistory: CleanMediaPlayerHistory(); break;
    case A::PaintHistory: CleanPaintHistory(); break;
    case A::WordPadHistory: CleanWordPadHistory(); break;
    case A::RecentDocuments: CleanRecentDocuments(); break;
    case A::RunHistory: CleanRunHistory(); break;
    case A::SearchHistory: CleanSearchHistory(); break;
    case A::FindComputerHistory: CleanFindComputerHistory(); break;
    case A::NetworkHistory: CleanNetworkHistory(); break;
    case A::LogonUserName: CleanLogonUserName(); break;
    case A::IeAutoFormsAndPasswords: if (ie_) ie_->CleanAutoFormsAndPasswords(); break;
    case A::IeBrowserHistory: if (ie_) ie_->CleanBrowserHistory(dialog); break;
    case A::IeCache: if (ie_) ie_->CleanCache(1); break;
    case A::IeCookies: if (ie_) ie_->CleanCookies(1); break;
    case A::IeIndexFiles: if (ie_) ie_->CleanIndexFiles(); break;
    case A::IeTypedUrls: if (ie_) ie_->CleanTypedUrls(); break;
    case A::FfAutoForms: if (firefox_) firefox_->CleanAutoForms(); break;
    case A::FfCache: if (firefox_) firefox_->CleanCache(dialog); break;
    case A::FfCookies: if (firefox_) firefox_->CleanCookies(); break;
    case A::FfDownloadHistory: if (firefox_) firefox_->CleanDownloadHistory(); break;
    case A::FfLastSession: if (firefox_) firefox_->CleanLastSession(); break;
    case A::FfPasswords: if (firefox_) firefox_->CleanPasswords(); break;
    case A::FfUrls: if (firefox_) firefox_->CleanUrls(); break;
    case A::ChromiumCache: if (chromium_) chromium_->CleanCache(dialog); break;
    case A::ChromiumCookies: if (chromium_) chromium_->CleanProfileFile(ChromeFileKind::Cookies); break;
    case A::ChromiumDownloadHistory: if (chromium_) chromium_->CleanProfileFile(ChromeFileKind::DownloadHistory); break;
    case A::ChromiumPasswords: if (chromium_) chromium_->CleanProfileFile(ChromeFileKind::WebData); break;
    case A::ChromiumUrls: if (chromium_) chromium_->CleanProfileFile(ChromeFileKind::History); break;
    case A::ChromiumLastSession: if (chromium_) chromium_->CleanLastSession(); break;
    }
}

ItemFigures RealCleaners::Measure(const CleaningStep& step) { return MeasureItem(step); }
