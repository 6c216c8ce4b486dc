#include "app/clean_commands.h"

#include "settings/clean_item_catalogue.h"
#include "settings/clean_selection.h"
#include "settings/settings_store.h"

namespace {

// FIXME: the cleaning progress dialog (htmlayout::MsgCleanerDlg, page 117) and the messages after it are
// not built yet; until they are, the clean buttons save what they save and clean nothing.
void RunCleaning(HWND /*owner*/, bool /*singleGroup*/, CleanGroup /*group*/) {}

} // namespace

void CleanCurrentTab(HWND owner, const TabGuidance& view) {
    CleanGroup group = CleanGroup::None;
    if (view.mainTab == 1) {
        // Every Windows group lives under the one "WindowsClean" key.
        SaveWindowsSelection();
        group = static_cast<CleanGroup>(view.windowsSubTab);
    } else if (view.mainTab == 2) {
        switch (view.browserSubTab) {
        case 1: SaveIeSelection(); group = CleanGroup::InternetExplorer; break;
        case 2: SaveGcSelection(); group = CleanGroup::Chrome; break;
        case 3: SaveFfSelection(); group = CleanGroup::Firefox; break;
        default: return; // no browser sub-tab chosen yet: no group to clean
        }
    } else {
        return;
    }
    RunCleaning(owner, true, group);
}

void CleanSelected(HWND owner) { RunCleaning(owner, false, CleanGroup::None); }

void CleanAll(HWND owner) {
    const SelectionRecord earlier = CleanSelection;
    SelectAllItems();
    RunCleaning(owner, false, CleanGroup::None);
    CleanSelection = earlier;
}
