// Row kernels behind BlendDraw and BlendFill, exposed so tests can hold every
// vector path to the scalar one and benchmarks can time each of them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pixels.h"

namespace rastel::blend {

// dest[i] = (src[i]*c + dest[i]*(256-c)) >> 8 for n bytes; c in 1..255.
using DrawRowFn = void (*)(const std::uint8_t* src, std::uint8_t* dest, std::size_t n, unsigned c);
// Per pixel and channel p = ((C*r) >> 8) + ((p*(256-r)) >> 8); r in 0..255.
using FillRowFn = void (*)(std::uint8_t* row, std::size_t pixels, Bgr color, unsigned r);

struct Kernel {
    const char* name;
    DrawRowFn draw;
    FillRowFn fill;
};

// The plain byte-at-a-time reference.
const Kernel& ScalarKernel();
// Every kernel this CPU can run, the scalar one first.
std::vector<Kernel> AvailableKernels();
// The one BlendDraw and BlendFill use: the widest available.
const Kernel& ActiveKernel();

}  // namespace rastel::blend
