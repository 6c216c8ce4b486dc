#pragma once
// The one table of the 45 clean items and the two program settings: every other part of the program
// names an item by its check-box id and learns the rest here.
#include "settings/clean_selection.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

enum class CleanGroup : int32_t {
    None = 0, // the two program settings
    WindowsCleaning = 1,
    Programs = 2,
    StartMenu = 3,
    InternetExplorer = 4,
    Firefox = 5,
    Chrome = 6,
    MicrosoftEdge = 7,
    Brave = 8,
};

// The per-user settings keys below "Software\Quellbyte\Freeweare\Tracewipe".
enum class SettingsKey { WindowsClean, BrowserIe, BrowserFf, BrowserGc, BrowserMe, BrowserBr, Setting };

struct CatalogueEntry {
    std::wstring_view boxId; // check-box id on the main page, also the name of the flag
    std::wstring_view label;
    bool disabled;           // the page declares the box disabled
    CleanGroup group;
    SettingsKey key;
    std::wstring_view valueName;
    int32_t defaultValue;
    std::wstring_view lineId; // line on the progress page; empty for the settings
    int runPosition;          // position in the group's run order, from 1; 0 for the settings
    int32_t SelectionRecord::*flag;

    bool IsCleanItem() const { return group != CleanGroup::None; }
    bool Selected() const { return CleanSelection.*flag != 0; }
};

struct CleanGroupInfo {
    CleanGroup code;
    std::wstring_view name;
    std::wstring_view subTabLabel;
    std::wstring_view listHeading;
    std::wstring_view listId;    // container of the group's lines on the progress page
    std::wstring_view sectionId; // the history section holding that container
};

constexpr int kCleanItemCount = 45;

// Page order: within each settings key, the order of the boxes on the main page.
std::span<const CatalogueEntry> Catalogue();
// In the order the cleaning job runs the groups.
std::span<const CleanGroupInfo> CleanGroups();

// nullptr when no entry has that id (exact, case-sensitive).
const CatalogueEntry* FindByBoxId(std::wstring_view boxId);
// The group's items in the order the cleaning job runs them.
std::vector<const CatalogueEntry*> ItemsInRunOrder(CleanGroup group);
// Whether any item of the group is selected.
bool AnySelected(CleanGroup group);
// The entries stored under one settings key, in page order.
std::vector<const CatalogueEntry*> EntriesOfKey(SettingsKey key);
// The full subkey path below HKEY_CURRENT_USER.
std::wstring_view SettingsKeyPath(SettingsKey key);

inline bool IsBrowserGroup(CleanGroup g) { return g >= CleanGroup::InternetExplorer; }
