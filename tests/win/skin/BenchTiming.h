// Timing for the benchmarks that run under Wine (Google Benchmark is built natively only):
// the median of five rounds, each repeating the work for at least a given time.
#pragma once

#include <algorithm>
#include <functional>
#include <vector>

#include <windows.h>

namespace benchtiming {

inline double Seconds() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Seconds per call of work: the median of five rounds of at least roundSeconds each.
inline double MedianSeconds(const std::function<void()>& work, double roundSeconds) {
    std::vector<double> rounds;
    for (int round = 0; round < 5; ++round) {
        int calls = 0;
        const double start = Seconds();
        double elapsed = 0;
        do {
            work();
            ++calls;
            elapsed = Seconds() - start;
        } while (elapsed < roundSeconds);
        rounds.push_back(elapsed / calls);
    }
    std::sort(rounds.begin(), rounds.end());
    return rounds[2];
}

} // namespace benchtiming
