#pragma once
// The cleaning job's cleaners in the program: the Windows and browser cleaners themselves.
#include "cleaning/cleaner_set.h"

#include "cleaners/browsers/chromium_cleaner.h"
#include "cleaners/browsers/firefox_cleaner.h"
#include "cleaners/browsers/ie_cleaner.h"
#include "cleaners/windows/file_cleaners.h"

#include <optional>

class RealCleaners : public CleanerSet {
public:
    void BeginWindowsPhase(HWND dialog) override;
    void EndWindowsPhase() override;
    void BeginBrowserGroup(CleanGroup group) override;
    void EndBrowserGroup(CleanGroup group) override;
    void Run(CleanAction action, HWND dialog) override;
    ItemFigures Measure(const CleaningStep& step) override;

private:
    // Each lives for its phase or group only.
    std::optional<WindowsCleanContext> windows_;
    std::optional<IECleaner> ie_;
    std::optional<FirefoxCleaner> firefox_;
    std::optional<ChromiumCleaner> chromium_; // of the Chromium-family browser whose group runs
};
