#pragma once
// Hands every message waiting for this thread's windows to its window procedure, without waiting.

#include <windows.h>

namespace testing_support {

inline void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

} // namespace testing_support
