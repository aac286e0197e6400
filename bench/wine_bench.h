// What the Windows-side benchmarks share: a clock, the median of samples, a
// message pump and whole-file reads and writes.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Handles.h"

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

// The whole file in one ReadFile, as the program reads a grid image (paths
// are plain ASCII here).
inline std::vector<std::uint8_t> ReadWhole(const std::string& path) {
    const HANDLE opened = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
    const UniqueFile h(opened);
    LARGE_INTEGER size{};
    GetFileSizeEx(h.get(), &size);
    std::vector<std::uint8_t> data(std::size_t(size.QuadPart));
    DWORD got = 0;
    const BOOL ok = data.empty() || ReadFile(h.get(), data.data(), DWORD(data.size()), &got, nullptr);
    if (!ok || got != data.size()) throw std::runtime_error("cannot read " + path);
    return data;
}

inline void WriteWhole(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const HANDLE opened =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
    DWORD written = 0;
    {
        const UniqueFile h(opened);
        WriteFile(h.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr);
    }
    if (written != bytes.size()) throw std::runtime_error("cannot write " + path);
}

}  // namespace wine_bench
