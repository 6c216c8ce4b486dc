#pragma once
// Timing for benchmark programs: one run of some work in milliseconds, and the median of many.

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace testing_support {

inline double TimeMs(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace testing_support
