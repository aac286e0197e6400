// A fixed-seed generator for tests that draw random pictures: the same
// numbers on every machine and every run, so a failing round replays.
#pragma once
#include <cstdint>

namespace rastel::testing {

class TestRandom {
public:
    explicit TestRandom(std::uint32_t seed) : seed_(seed) {}
    // The next 24 bits (the low bits of this generator repeat too soon).
    std::uint32_t operator()() {
        seed_ = seed_ * 1664525u + 1013904223u;
        return seed_ >> 8;
    }

private:
    std::uint32_t seed_;
};

}  // namespace rastel::testing
