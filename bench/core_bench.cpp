// Region scan and blend kernels, each beside a plain pass over the same bytes
// in the same run, all reported in bytes per second of picture.
#include <benchmark/benchmark.h>
#include <emmintrin.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/blend.h"
#include "core/blend_kernels.h"
#include "core/bmp.h"
#include "core/region.h"
#if defined(RASTEL_HAVE_GRID_IMAGES)
#include "tools/grid_images.h"
#endif

namespace {

using namespace rastel;

struct Picture {
    int width, height;
    std::size_t stride;
    std::vector<std::uint8_t> bytes;
    Picture(int w, int h, std::uint8_t fill)
        : width(w), height(h), stride((std::size_t(w) * 3 + 3) & ~std::size_t(3)), bytes(stride * h, fill) {}
    ConstBgrView View() const { return {bytes.data(), width, height, std::ptrdiff_t(stride)}; }
    BgrView View() { return {bytes.data(), width, height, std::ptrdiff_t(stride)}; }
};

// White with one-pixel sky-blue lines every 32 pixels, both ways.
Picture Grid4K() {
    Picture p(3840, 2160, 255);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (x % 32 == 31 || y % 32 == 31) {
                std::uint8_t* px = p.bytes.data() + std::size_t(y) * p.stride + std::size_t(x) * 3;
                px[0] = 235;
                px[1] = 206;
                px[2] = 135;
            }
    return p;
}

// Reads every byte once, 16 at a time, as fast as plain SSE2 loads go.
void ReadAll(const std::uint8_t* p, std::size_t n) {
    __m128i acc = _mm_setzero_si128();
    std::size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        acc = _mm_or_si128(acc, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
        acc = _mm_or_si128(acc, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 16)));
        acc = _mm_or_si128(acc, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 32)));
        acc = _mm_or_si128(acc, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 48)));
    }
    int tail = 0;
    for (; i < n; ++i) tail |= p[i];
    benchmark::DoNotOptimize(acc);
    benchmark::DoNotOptimize(tail);
}

const Picture& TheGrid() {
    static const Picture grid = Grid4K();
    return grid;
}

void BM_PlainRead_Grid4K(benchmark::State& state) {
    const Picture& g = TheGrid();
    for (auto _ : state) ReadAll(g.bytes.data(), g.bytes.size());
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(g.bytes.size()));
}
BENCHMARK(BM_PlainRead_Grid4K)->Unit(benchmark::kMillisecond);

void BM_RegionScan_Grid4K(benchmark::State& state) {
    const Picture& g = TheGrid();
    const Bgr white{255, 255, 255};
    std::uint32_t rects = 0;
    for (auto _ : state) {
        RegionBuffer buf = BuildRegionData(g.View(), white);
        rects = buf.Count();
        benchmark::DoNotOptimize(buf.Data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(g.bytes.size()));
    state.counters["rects"] = rects;
}
BENCHMARK(BM_RegionScan_Grid4K)->Unit(benchmark::kMillisecond);

#if defined(RASTEL_HAVE_GRID_IMAGES)
const std::vector<BmpImage>& DefaultImages() {
    static const std::vector<BmpImage> images = [] {
        std::vector<BmpImage> out;
        for (const GridImageFile& f : MakeDefaultGridImages()) out.push_back(DecodeBmp(f.bytes));
        return out;
    }();
    return images;
}

std::int64_t DefaultImageBytes() {
    std::int64_t n = 0;
    for (const BmpImage& img : DefaultImages()) n += std::int64_t(img.pixels.size());
    return n;
}

void BM_PlainRead_DefaultImages(benchmark::State& state) {
    for (auto _ : state)
        for (const BmpImage& img : DefaultImages()) ReadAll(img.pixels.data(), img.pixels.size());
    state.SetBytesProcessed(std::int64_t(state.iterations()) * DefaultImageBytes());
}
BENCHMARK(BM_PlainRead_DefaultImages)->Unit(benchmark::kMillisecond);

// All 27 files, each with its own transparent colour, as the program builds them.
void BM_RegionScan_DefaultImages(benchmark::State& state) {
    std::uint64_t rects = 0;
    for (auto _ : state) {
        rects = 0;
        for (const BmpImage& img : DefaultImages()) {
            RegionBuffer buf = BuildRegionData(img.View(), TransparentColorOf(img.View(), img.bitsPerPixel));
            rects += buf.Count();
            benchmark::DoNotOptimize(buf.Data());
        }
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * DefaultImageBytes());
    state.counters["rects"] = double(rects);
}
BENCHMARK(BM_RegionScan_DefaultImages)->Unit(benchmark::kMillisecond);
#endif

constexpr int kBlendW = 1920, kBlendH = 1080;

void BM_Memcpy_1080p(benchmark::State& state) {
    Picture src(kBlendW, kBlendH, 10), dest(kBlendW, kBlendH, 20);
    for (auto _ : state) {
        std::memcpy(dest.bytes.data(), src.bytes.data(), src.bytes.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(src.bytes.size()));
}
BENCHMARK(BM_Memcpy_1080p)->Unit(benchmark::kMicrosecond);

void BM_BlendDraw_1080p(benchmark::State& state) {
    Picture src(kBlendW, kBlendH, 200), dest(kBlendW, kBlendH, 100);
    for (auto _ : state) {
        BlendDraw(src.View(), 0, 0, kBlendW, kBlendH, dest.View(), 128);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(src.bytes.size()));
}
BENCHMARK(BM_BlendDraw_1080p)->Unit(benchmark::kMicrosecond);

void BM_BlendFill_1080p(benchmark::State& state) {
    Picture dest(kBlendW, kBlendH, 100);
    for (auto _ : state) {
        BlendFill(dest.View(), 0, 0, kBlendW, kBlendH, Bgr{200, 208, 212}, 128);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(dest.bytes.size()));
}
BENCHMARK(BM_BlendFill_1080p)->Unit(benchmark::kMicrosecond);

// Each row kernel on its own, so the SSE2 path that the Windows build ships
// is measured even on a machine with AVX2.
void KernelDraw(benchmark::State& state, blend::Kernel k) {
    Picture src(kBlendW, kBlendH, 200), dest(kBlendW, kBlendH, 100);
    for (auto _ : state) {
        for (int y = 0; y < kBlendH; ++y)
            k.draw(src.bytes.data() + std::size_t(y) * src.stride, dest.bytes.data() + std::size_t(y) * dest.stride,
                   std::size_t(kBlendW) * 3, 128);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(src.bytes.size()));
}

void KernelFill(benchmark::State& state, blend::Kernel k) {
    Picture dest(kBlendW, kBlendH, 100);
    for (auto _ : state) {
        for (int y = 0; y < kBlendH; ++y)
            k.fill(dest.bytes.data() + std::size_t(y) * dest.stride, kBlendW, Bgr{200, 208, 212}, 128);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(dest.bytes.size()));
}

const bool kRegistered = [] {
    for (const blend::Kernel& k : blend::AvailableKernels()) {
        benchmark::RegisterBenchmark((std::string("BM_BlendDrawRows_1080p/") + k.name).c_str(), KernelDraw, k)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("BM_BlendFillRows_1080p/") + k.name).c_str(), KernelFill, k)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
