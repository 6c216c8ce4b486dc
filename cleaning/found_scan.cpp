#include "cleaning/found_scan.h"

#include "cleaners/windows/walk_stop.h"

FoundScan::~FoundScan() { Stop(); }

bool FoundScan::Start(HWND window, UINT message, std::vector<CleaningStep> steps) {
    if (thread_) return false;
    window_ = window;
    message_ = message;
    steps_ = std::move(steps);
    figures_.assign(steps_.size(), {});
    thread_ = CreateThread(nullptr, 0, &FoundScan::ScanThread, this, 0, nullptr);
    return thread_ != nullptr;
}

void FoundScan::Stop() {
    stop_.store(true, std::memory_order_release);
    if (!thread_) return;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
}

ItemFigures FoundScan::Figures(size_t index) const {
    std::lock_guard guard(lock_);
    return index < figures_.size() ? figures_[index] : ItemFigures{};
}

DWORD WINAPI FoundScan::ScanThread(LPVOID self) {
    static_cast<FoundScan*>(self)->Scan();
    return 0;
}

void FoundScan::Scan() {
    // The folder walks of the measurement hear the stop between entries.
    const WalkStopScope walks(stop_);
    for (size_t i = 0; i < steps_.size(); ++i) {
        if (stop_.load(std::memory_order_acquire)) return;
        const ItemFigures figures = cleaners_.Measure(steps_[i]);
        // A count cut short by the stop is no count.
        if (walks.CutShort()) return;
        {
            std::lock_guard guard(lock_);
            figures_[i] = figures;
        }
        PostMessageW(window_, message_, i, 0);
    }
}
