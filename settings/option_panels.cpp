#include "settings/option_panels.h"

#include "settings/clean_item_catalogue.h"
#include "ui/element_ops.h"

#include <string>
#include <string_view>

namespace {

using htmlayout::Show;

constexpr wchar_t kWindowsGuidance[] = L"Select \"Windows History\" options you want to clean...";
constexpr wchar_t kBrowserGuidance[] = L"Select \"Browser History\" options you want to clean...";

struct SubTab {
    std::wstring_view id;
    int32_t TabGuidance::*field;
    int32_t value;
};

constexpr SubTab kSubTabs[] = {
    {L"windows_cleaning", &TabGuidance::windowsSubTab, 1},
    {L"windows_application", &TabGuidance::windowsSubTab, 2},
    {L"windows_startmenu", &TabGuidance::windowsSubTab, 3},
    {L"browser_ie", &TabGuidance::browserSubTab, 1},
    {L"browser_chrome", &TabGuidance::browserSubTab, 2},
    {L"browser_firefox", &TabGuidance::browserSubTab, 3},
    {L"browser_edge", &TabGuidance::browserSubTab, 4},
    {L"browser_brave", &TabGuidance::browserSubTab, 5},
};

void SyncBoxes(HELEMENT root, SettingsKey key) {
    for (const CatalogueEntry* entry : EntriesOfKey(key)) {
        htmlayout::scoped_element box = htmlayout::FindById(root, entry->boxId);
        if (!box) continue;
        if (entry->Selected())
            htmlayout::SetStates(box, STATE_CHECKED, 0);
        else
            htmlayout::SetStates(box, 0, STATE_CHECKED);
    }
}

void ShowGuidance(const TabGuidance& view, const wchar_t* text, bool windows) {
    Show(view.guide, true);
    htmlayout::SetText(view.guideText, text);
    Show(view.windowsTabMessage, windows);
    Show(view.browserTabMessage, !windows);
}

void ShowCleanButton(const TabGuidance& view) {
    Show(view.panelNote, true);
    Show(view.cleanButton, true);
}

} // namespace

void InitTabGuidance(TabGuidance& view, HELEMENT root) {
    view.panelNote = htmlayout::FindById(root, L"panel_note");
    view.cleanButton = htmlayout::FindById(root, L"btn_panelClean");
    view.guide = htmlayout::FindById(root, L"pannel_guide");
    view.guideText = htmlayout::FindById(root, L"pannel_guide_text");
    view.windowsTabMessage = htmlayout::FindById(root, L"win_tab_msg");
    view.browserTabMessage = htmlayout::FindById(root, L"brow_tab_msg");
    view.mainTab = 1;
    view.windowsSubTab = 0;
    view.browserSubTab = 0;
    Show(view.panelNote, false);
    Show(view.cleanButton, false);
    Show(view.guide, true);
    Show(view.windowsTabMessage, true);
    Show(view.browserTabMessage, false);
}

void SyncWindowsBoxes(HELEMENT root) { SyncBoxes(root, SettingsKey::WindowsClean); }
void SyncIeBoxes(HELEMENT root) { SyncBoxes(root, SettingsKey::BrowserIe); }
void SyncFfBoxes(HELEMENT root) { SyncBoxes(root, SettingsKey::BrowserFf); }
void SyncGcBoxes(HELEMENT root) { SyncBoxes(root, SettingsKey::BrowserGc); }
void SyncMeBoxes(HELEMENT root) { SyncBoxes(root, SettingsKey::BrowserMe); }
void SyncBrBoxes(HELEMENT root) { SyncBoxes(root, SettingsKey::BrowserBr); }
void SyncSettingBoxes(HELEMENT root) { SyncBoxes(root, SettingsKey::Setting); }

void ToggleItemById(HELEMENT element) {
    const std::wstring id = htmlayout::IdOf(element);
    if (const CatalogueEntry* entry = FindByBoxId(id)) {
        int32_t& flag = CleanSelection.*(entry->flag);
        flag = flag == 0 ? 1 : 0;
    }
}

void OnTabExpanded(TabGuidance& view, HELEMENT element) {
    const std::wstring id = htmlayout::IdOf(element);
    Show(view.guide, false);
    Show(view.panelNote, false);
    Show(view.cleanButton, false);
    Show(view.windowsTabMessage, false);
    Show(view.browserTabMessage, false);

    if (id == L"main_panel_window") {
        view.mainTab = 1;
        if (view.windowsSubTab == 0)
            ShowGuidance(view, kWindowsGuidance, true);
        else
            ShowCleanButton(view);
    } else if (id == L"main_panel_browser") {
        view.mainTab = 2;
        if (view.browserSubTab == 0)
            ShowGuidance(view, kBrowserGuidance, false);
        else
            ShowCleanButton(view);
    } else if (id == L"main_panel_setting") {
        view.mainTab = 3;
    } else if (id == L"main_panel_store") {
        view.mainTab = 4;
    } else {
        for (const SubTab& tab : kSubTabs) {
            if (id != tab.id) continue;
            view.*(tab.field) = tab.value;
            ShowCleanButton(view);
            break;
        }
    }
}
