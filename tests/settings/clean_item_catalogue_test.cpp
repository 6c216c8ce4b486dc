#include "settings/clean_item_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::vector<std::wstring> BoxIds(const std::vector<const CatalogueEntry*>& entries) {
    std::vector<std::wstring> ids;
    for (auto e : entries) ids.emplace_back(e->boxId);
    return ids;
}

TEST(CleanItemCatalogue, EveryFlagOfTheRecordHasExactlyOneEntry) {
    static SelectionRecord probe;
    std::set<const int32_t*> flags;
    std::set<std::wstring> ids, lines;
    for (const auto& e : Catalogue()) {
        EXPECT_TRUE(flags.insert(&(probe.*(e.flag))).second);
        EXPECT_TRUE(ids.insert(std::wstring(e.boxId)).second);
        if (e.IsCleanItem()) {
            EXPECT_TRUE(lines.insert(std::wstring(e.lineId)).second);
        }
    }
    EXPECT_EQ(flags.size(), 47u);
    EXPECT_EQ(lines.size(), 45u);
    // The flag named after each box is that box's field.
    SelectionRecord record{};
    record.ie_autoformsNpwd = 7;
    EXPECT_EQ(record.*(FindByBoxId(L"ie_autoformsNpwd")->flag), 7);
}

TEST(CleanItemCatalogue, RunOrderOfEveryGroup) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(BoxIds(ItemsInRunOrder(CleanGroup::WindowsCleaning)),
              (V{L"temp_files", L"clip_board", L"recycle_bin", L"os_dialog"}));
    EXPECT_EQ(BoxIds(ItemsInRunOrder(CleanGroup::Programs)), (V{L"media_player", L"ms_paint", L"word_pad"}));
    EXPECT_EQ(BoxIds(ItemsInRunOrder(CleanGroup::StartMenu)),
              (V{L"recent_doc", L"run_history", L"window_search", L"find_comp", L"network_history", L"logon_user"}));
    EXPECT_EQ(BoxIds(ItemsInRunOrder(CleanGroup::InternetExplorer)),
              (V{L"ie_autoformsNpwd", L"ie_browserhistory", L"ie_cache", L"ie_cookies", L"ie_downloadlocation",
                 L"ie_index", L"ie_urls"}));
    EXPECT_EQ(BoxIds(ItemsInRunOrder(CleanGroup::Firefox)),
              (V{L"ff_autoform", L"ff_cache", L"ff_cookies", L"ff_downloadhistory", L"ff_lastsession", L"ff_pwd",
                 L"ff_urls"}));
    EXPECT_EQ(BoxIds(ItemsInRunOrder(CleanGroup::Chrome)),
              (V{L"gc_cache", L"gc_cookies", L"gc_downloadhistory", L"gc_pwd", L"gc_urls", L"gc_lastsession"}));
    EXPECT_EQ(BoxIds(ItemsInRunOrder(CleanGroup::MicrosoftEdge)),
              (V{L"me_cache", L"me_cookies", L"me_downloadhistory", L"me_pwd", L"me_urls", L"me_lastsession"}));
    EXPECT_EQ(BoxIds(ItemsInRunOrder(CleanGroup::Brave)),
              (V{L"br_cache", L"br_cookies", L"br_downloadhistory", L"br_pwd", L"br_urls", L"br_lastsession"}));
    EXPECT_TRUE(ItemsInRunOrder(CleanGroup::None).empty());
}

TEST(CleanItemCatalogue, PageOrderOfTheBoxes) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(BoxIds(EntriesOfKey(SettingsKey::WindowsClean)),
              (V{L"temp_files", L"recycle_bin", L"clip_board", L"os_dialog", L"media_player", L"word_pad", L"ms_paint",
                 L"recent_doc", L"find_comp", L"run_history", L"network_history", L"window_search", L"logon_user"}));
    EXPECT_EQ(BoxIds(EntriesOfKey(SettingsKey::BrowserGc)),
              (V{L"gc_cache", L"gc_pwd", L"gc_cookies", L"gc_lastsession", L"gc_urls", L"gc_downloadhistory"}));
    EXPECT_EQ(BoxIds(EntriesOfKey(SettingsKey::BrowserMe)),
              (V{L"me_cache", L"me_pwd", L"me_cookies", L"me_lastsession", L"me_urls", L"me_downloadhistory"}));
    EXPECT_EQ(BoxIds(EntriesOfKey(SettingsKey::BrowserBr)),
              (V{L"br_cache", L"br_pwd", L"br_cookies", L"br_lastsession", L"br_urls", L"br_downloadhistory"}));
    EXPECT_EQ(BoxIds(EntriesOfKey(SettingsKey::Setting)), (V{L"load_startup", L"hot_key"}));
}

TEST(CleanItemCatalogue, DisabledItemsAreTheEightThatDefaultToOff) {
    std::set<std::wstring> disabled, offByDefault;
    for (const auto& e : Catalogue()) {
        if (e.disabled) disabled.insert(std::wstring(e.boxId));
        if (e.IsCleanItem() && !e.defaultValue) offByDefault.insert(std::wstring(e.boxId));
    }
    std::set<std::wstring> expected{L"ie_downloadlocation", L"ff_pwd",         L"gc_pwd", L"gc_lastsession",
                                    L"me_pwd",              L"me_lastsession", L"br_pwd", L"br_lastsession"};
    EXPECT_EQ(disabled, expected);
    EXPECT_EQ(offByDefault, expected);
}

TEST(CleanItemCatalogue, LookupIsExactAndCaseSensitive) {
    EXPECT_NE(FindByBoxId(L"ie_autoformsNpwd"), nullptr);
    EXPECT_EQ(FindByBoxId(L"ie_autoformsnpwd"), nullptr);
    EXPECT_EQ(FindByBoxId(L"temp_files "), nullptr);
    EXPECT_EQ(FindByBoxId(L""), nullptr);
    EXPECT_EQ(FindByBoxId(L"recycle_bin")->lineId, L"recylebin");
    EXPECT_EQ(FindByBoxId(L"ff_lastsession")->lineId, L"ff_lastsesion");
}

// The launcher registers Ctrl+Shift+H (its process test presses exactly that); the page shows this label.
TEST(CleanItemCatalogue, HotKeyLabelNamesTheKeyTheLauncherRegisters) {
    EXPECT_EQ(FindByBoxId(L"hot_key")->label, L"Hot keys (ctrl+shift H)");
}

// Edge and Brave are Chrome's items under their own ids, keys and lines: same labels, states, defaults and
// value names; the groups run in the catalogue's order, the new ones after Chrome.
TEST(CleanItemCatalogue, EdgeAndBraveMirrorChrome) {
    for (const auto& [prefix, key] : {std::pair{L"me_", SettingsKey::BrowserMe}, std::pair{L"br_", SettingsKey::BrowserBr}}) {
        const auto chrome = EntriesOfKey(SettingsKey::BrowserGc), mirror = EntriesOfKey(key);
        ASSERT_EQ(chrome.size(), mirror.size());
        for (size_t i = 0; i < chrome.size(); ++i) {
            EXPECT_EQ(std::wstring(mirror[i]->boxId), prefix + std::wstring(chrome[i]->boxId.substr(3)));
            EXPECT_EQ(std::wstring(mirror[i]->lineId), prefix + std::wstring(chrome[i]->lineId.substr(3)));
            EXPECT_EQ(mirror[i]->label, chrome[i]->label);
            EXPECT_EQ(mirror[i]->disabled, chrome[i]->disabled);
            EXPECT_EQ(mirror[i]->defaultValue, chrome[i]->defaultValue);
            EXPECT_EQ(mirror[i]->valueName, chrome[i]->valueName);
            EXPECT_EQ(mirror[i]->runPosition, chrome[i]->runPosition);
        }
    }
    EXPECT_EQ(SettingsKeyPath(SettingsKey::BrowserMe), L"Software\\Quellbyte\\Freeweare\\Tracewipe\\Browser\\ME");
    EXPECT_EQ(SettingsKeyPath(SettingsKey::BrowserBr), L"Software\\Quellbyte\\Freeweare\\Tracewipe\\Browser\\BR");
    std::vector<CleanGroup> order;
    for (const auto& info : CleanGroups()) order.push_back(info.code);
    EXPECT_EQ(order, (std::vector<CleanGroup>{CleanGroup::WindowsCleaning, CleanGroup::Programs, CleanGroup::StartMenu,
                                              CleanGroup::InternetExplorer, CleanGroup::Firefox, CleanGroup::Chrome,
                                              CleanGroup::MicrosoftEdge, CleanGroup::Brave}));
}

} // namespace
