// What the Windows-side benchmarks share: a clock, the median of samples and
// a message pump.
#pragma once
#include <windows.h>

#include <algorithm>
#include <vector>

namespace wine_bench {

// Milliseconds of the performance counter, which Wine reads from the
// system's monotonic clock.
inline double NowMs() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return double(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / perMs;
}

// The upper median; samples are never empty here.
inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Dispatches what is waiting, as the program's message loop would.
inline void Pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

}  // namespace wine_bench
