#pragma once
// The check boxes of the option panels kept in agreement with CleanSelection, and the guidance or Clean
// button shown for the tab on view.
#include "ui/scoped_element.h"

#include <cstdint>

// The tab on view and the elements that tell the user what to do there; the main window holds one.
struct TabGuidance {
    int32_t mainTab = 1;       // 1 Windows History, 2 Browser History, 3 Settings, 4 Store
    int32_t windowsSubTab = 0; // group code 1-3 of the Windows sub-tab last shown, 0 before any
    int32_t browserSubTab = 0; // 1 Internet Explorer, 2 Google Chrome, 3 Mozilla Firefox, 4 Microsoft Edge,
                               // 5 Brave, 0 before any
    htmlayout::scoped_element guide;     // pannel_guide: the arrow and its text
    htmlayout::scoped_element guideText; // pannel_guide_text
    htmlayout::scoped_element panelNote; // panel_note
    htmlayout::scoped_element cleanButton;       // btn_panelClean
    htmlayout::scoped_element windowsTabMessage; // win_tab_msg
    htmlayout::scoped_element browserTabMessage; // brow_tab_msg
};

// Finds the guidance elements under `root` and shows what the Windows History tab shows before any
// sub-tab is chosen: the arrow, its text as the page has it, the introduction; no note, no Clean button.
void InitTabGuidance(TabGuidance& view, HELEMENT root);

// Each sets its boxes' checked state from their flags; a box the page lacks is skipped.
void SyncWindowsBoxes(HELEMENT root);
void SyncIeBoxes(HELEMENT root);
void SyncFfBoxes(HELEMENT root);
void SyncGcBoxes(HELEMENT root);
void SyncMeBoxes(HELEMENT root);
void SyncBrBoxes(HELEMENT root);
void SyncSettingBoxes(HELEMENT root);

// A box changed state: flips the flag its id names (any other element: nothing). The box's new state is
// not read; the syncs made flag and box agree.
void ToggleItemById(HELEMENT element);

// A tab became current: records it and shows the guidance, or the note and the Clean button.
void OnTabExpanded(TabGuidance& view, HELEMENT element);
