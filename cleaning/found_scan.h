#pragma once
// The count, before a run, of what each shown item would remove: on a thread of its own, item after item in
// run order, each figure posted to the dialog as soon as it is known.
#include "cleaning/cleaner_set.h"
#include "cleaning/item_figures.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <vector>

class FoundScan {
public:
    explicit FoundScan(CleanerSet& cleaners) : cleaners_(cleaners) {}
    // Stops the scan and waits for its thread.
    ~FoundScan();
    FoundScan(const FoundScan&) = delete;
    FoundScan& operator=(const FoundScan&) = delete;

    // Counts `steps` and posts `message` to `window` with the step's index as wParam after each. One scan
    // per object; false when its thread could not be made.
    bool Start(HWND window, UINT message, std::vector<CleaningStep> steps);
    // Returns once the thread has ended: a folder walk stops after the entry at hand. Unfinished items keep
    // no figure.
    void Stop();
    // The figures of step `index`, once its message has come; not measured before.
    ItemFigures Figures(size_t index) const;
    const CleaningStep& Step(size_t index) const { return steps_[index]; }

private:
    static DWORD WINAPI ScanThread(LPVOID self);
    void Scan();

    CleanerSet& cleaners_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    std::vector<CleaningStep> steps_;
    mutable std::mutex lock_;
    std::vector<ItemFigures> figures_;
    std::atomic<bool> stop_{false};
    HANDLE thread_ = nullptr;
};
