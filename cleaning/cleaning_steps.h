#pragma once
// What the cleaning job runs for each clean item: one table, bound to the real cleaners by the program
// and to recording actions by the tests.
#include "settings/clean_item_catalogue.h"

#include <span>
#include <string_view>
#include <vector>

enum class CleanAction {
    Nothing, // the item's turn only advances the progress
    TempFiles, Clipboard, RecycleBin, OpenSaveHistory,
    MediaPlayerHistory, PaintHistory, WordPadHistory,
    RecentDocuments, RunHistory, SearchHistory, FindComputerHistory, NetworkHistory, LogonUserName,
    IeAutoFormsAndPasswords, IeBrowserHistory, IeCache, IeCookies, IeIndexFiles, IeTypedUrls,
    FfAutoForms, FfCache, FfCookies, FfDownloadHistory, FfLastSession, FfPasswords, FfUrls,
    // The items of every Chromium-family browser, run by the cleaner of the group at hand.
    ChromiumCache, ChromiumCookies, ChromiumDownloadHistory, ChromiumPasswords, ChromiumUrls, ChromiumLastSession,
};

struct CleaningStep {
    const CatalogueEntry* item;
    CleanAction action;
};

// The steps of one group in run order.
std::vector<CleaningStep> StepsOfGroup(CleanGroup group);
// The three Windows groups, then the browser groups: the catalogue's order, in which groups run.
std::span<const CleanGroup> GroupsInRunOrder();
