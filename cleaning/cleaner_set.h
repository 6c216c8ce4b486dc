#pragma once
// The cleaners as the cleaning job sees them. The program binds the real cleaners; tests bind recorders.
#include "cleaning/cleaning_steps.h"
#include "cleaning/item_figures.h"

#include <windows.h>

class CleanerSet {
public:
    virtual ~CleanerSet() = default;
    // The Windows phase holds the context of the Windows cleaners; `dialog` owns what they open.
    virtual void BeginWindowsPhase(HWND dialog) = 0;
    virtual void EndWindowsPhase() = 0;
    // Ends the group's browser before its items run (Chrome's cleaner reads its profile first).
    virtual void BeginBrowserGroup(CleanGroup group) = 0;
    virtual void EndBrowserGroup(CleanGroup group) = 0;
    virtual void Run(CleanAction action, HWND dialog) = 0;
    // What the step would remove, read only; any thread. Not measured unless a set counts it.
    virtual ItemFigures Measure(const CleaningStep&) { return {}; }
};
