#pragma once
// The three clean buttons of the main window.
#include "settings/option_panels.h"

#include <windows.h>

// "Clean": saves the settings key of the sub-tab on view, then cleans that sub-tab's group.
void CleanCurrentTab(HWND owner, const TabGuidance& view);
// "Clean Now": cleans every group with the current selection; saves nothing.
void CleanSelected(HWND owner);
// "Clean All": cleans every item, then puts the earlier selection back, so that flags and boxes agree.
void CleanAll(HWND owner);
