#include "core/blend.h"

#include <algorithm>

#include "core/blend_kernels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// 256-bit kernels only where GCC keeps 32-byte spills aligned: on Win64 it
// does not align the stack for them, so the Windows build stays on SSE2.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) && !defined(_WIN32)
#define RASTEL_BLEND_AVX2 1
#include <immintrin.h>
#endif

namespace rastel {
namespace blend {
namespace {

void DrawRowScalar(const std::uint8_t* src, std::uint8_t* dest, std::size_t n, unsigned c) {
    const unsigned w = 256 - c;
    for (std::size_t i = 0; i < n; ++i) dest[i] = std::uint8_t((src[i] * c + dest[i] * w) >> 8);
}

void FillRowScalar(std::uint8_t* row, std::size_t pixels, Bgr color, unsigned r) {
    const unsigned w = 256 - r;
    const unsigned b = (color.b * r) >> 8, g = (color.g * r) >> 8, red = (color.r * r) >> 8;
    for (std::size_t i = 0; i < pixels; ++i, row += 3) {
        row[0] = std::uint8_t(b + ((row[0] * w) >> 8));
        row[1] = std::uint8_t(g + ((row[1] * w) >> 8));
        row[2] = std::uint8_t(red + ((row[2] * w) >> 8));
    }
}

// The channel terms (C*r) >> 8 laid out for `bytes` bytes of pixels, so a
// vector of them lines up with a vector of row bytes.
template <std::size_t N>
void ColorTerms(std::uint8_t (&out)[N], Bgr color, unsigned r) {
    const std::uint8_t t[3] = {std::uint8_t((color.b * r) >> 8), std::uint8_t((color.g * r) >> 8),
                               std::uint8_t((color.r * r) >> 8)};
    for (std::size_t i = 0; i < N; ++i) out[i] = t[i % 3];
}

#if defined(__SSE2__)
// (s*c + d*w) >> 8 on 16-bit lanes; the sum stays below 65,281 so it fits.
inline __m128i BlendHalf(__m128i s, __m128i d, __m128i vc, __m128i vw) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(s, vc), _mm_mullo_epi16(d, vw)), 8);
}

void DrawRowSse2(const std::uint8_t* src, std::uint8_t* dest, std::size_t n, unsigned c) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i vc = _mm_set1_epi16(short(c));
    const __m128i vw = _mm_set1_epi16(short(256 - c));
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dest + i));
        const __m128i lo = BlendHalf(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), vc, vw);
        const __m128i hi = BlendHalf(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), vc, vw);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), _mm_packus_epi16(lo, hi));
    }
    DrawRowScalar(src + i, dest + i, n - i, c);
}

// ((p*w) >> 8) + term, each term truncated on its own; the sum stays <= 255.
inline __m128i FillVector(__m128i p, __m128i term, __m128i vw) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(p, zero), vw), 8);
    const __m128i hi = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(p, zero), vw), 8);
    return _mm_add_epi8(_mm_packus_epi16(lo, hi), term);
}

void FillRowSse2(std::uint8_t* row, std::size_t pixels, Bgr color, unsigned r) {
    alignas(16) std::uint8_t terms[48];
    ColorTerms(terms, color, r);
    const __m128i t0 = _mm_load_si128(reinterpret_cast<const __m128i*>(terms));
    const __m128i t1 = _mm_load_si128(reinterpret_cast<const __m128i*>(terms + 16));
    const __m128i t2 = _mm_load_si128(reinterpret_cast<const __m128i*>(terms + 32));
    const __m128i vw = _mm_set1_epi16(short(256 - r));
    std::size_t i = 0;
    for (; i + 16 <= pixels; i += 16, row += 48) {
        __m128i* p = reinterpret_cast<__m128i*>(row);
        _mm_storeu_si128(p, FillVector(_mm_loadu_si128(p), t0, vw));
        _mm_storeu_si128(p + 1, FillVector(_mm_loadu_si128(p + 1), t1, vw));
        _mm_storeu_si128(p + 2, FillVector(_mm_loadu_si128(p + 2), t2, vw));
    }
    FillRowScalar(row, pixels - i, color, r);
}
#endif

#if defined(RASTEL_BLEND_AVX2)
__attribute__((target("avx2"))) void DrawRowAvx2(const std::uint8_t* src, std::uint8_t* dest, std::size_t n,
                                                  unsigned c) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i vc = _mm256_set1_epi16(short(c));
    const __m256i vw = _mm256_set1_epi16(short(256 - c));
    std::size_t i = 0;
    // Unpack and pack both work within 128-bit lanes, so byte order survives.
    for (; i + 32 <= n; i += 32) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dest + i));
        const __m256i lo = _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(s, zero), vc),
                                                              _mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), vw)),
                                             8);
        const __m256i hi = _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(s, zero), vc),
                                                              _mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), vw)),
                                             8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i), _mm256_packus_epi16(lo, hi));
    }
    DrawRowScalar(src + i, dest + i, n - i, c);
}

__attribute__((target("avx2"))) inline __m256i FillVectorAvx2(__m256i p, __m256i term, __m256i vw) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lo = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(p, zero), vw), 8);
    const __m256i hi = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(p, zero), vw), 8);
    return _mm256_add_epi8(_mm256_packus_epi16(lo, hi), term);
}

__attribute__((target("avx2"))) void FillRowAvx2(std::uint8_t* row, std::size_t pixels, Bgr color, unsigned r) {
    alignas(32) std::uint8_t terms[96];
    ColorTerms(terms, color, r);
    const __m256i t0 = _mm256_load_si256(reinterpret_cast<const __m256i*>(terms));
    const __m256i t1 = _mm256_load_si256(reinterpret_cast<const __m256i*>(terms + 32));
    const __m256i t2 = _mm256_load_si256(reinterpret_cast<const __m256i*>(terms + 64));
    const __m256i vw = _mm256_set1_epi16(short(256 - r));
    std::size_t i = 0;
    for (; i + 32 <= pixels; i += 32, row += 96) {
        __m256i* p = reinterpret_cast<__m256i*>(row);
        _mm256_storeu_si256(p, FillVectorAvx2(_mm256_loadu_si256(p), t0, vw));
        _mm256_storeu_si256(p + 1, FillVectorAvx2(_mm256_loadu_si256(p + 1), t1, vw));
        _mm256_storeu_si256(p + 2, FillVectorAvx2(_mm256_loadu_si256(p + 2), t2, vw));
    }
    FillRowScalar(row, pixels - i, color, r);
}

bool CpuHasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}
#endif

constexpr Kernel kScalar{"scalar", DrawRowScalar, FillRowScalar};

}  // namespace

const Kernel& ScalarKernel() { return kScalar; }

std::vector<Kernel> AvailableKernels() {
    std::vector<Kernel> kernels{kScalar};
#if defined(__SSE2__)
    kernels.push_back({"sse2", DrawRowSse2, FillRowSse2});
#endif
#if defined(RASTEL_BLEND_AVX2)
    if (CpuHasAvx2()) kernels.push_back({"avx2", DrawRowAvx2, FillRowAvx2});
#endif
    return kernels;
}

const Kernel& ActiveKernel() {
    static const Kernel active = AvailableKernels().back();
    return active;
}

}  // namespace blend

// A column or row range [first, last) in 64 bits, so that x + width cannot wrap.
struct Span64 {
    std::int64_t first, last;
    bool Empty() const { return last <= first; }
};

bool BlendDraw(ConstBgrView src, int x, int y, int width, int height, BgrView dest, unsigned ratio) {
    if (ratio == 0) return false;
    const unsigned c = std::min(ratio, 255u);
    // Never read past the source: it covers at most its own size.
    const std::int64_t w = std::min<std::int64_t>(width, std::max(src.width, 0));
    const std::int64_t h = std::min<std::int64_t>(height, std::max(src.height, 0));
    // Destination columns and rows that receive pixels; a negative x or y skips
    // the source's leading columns or rows.
    const Span64 cols{std::max<std::int64_t>(x, 0), std::min<std::int64_t>(std::int64_t(x) + w, std::max(dest.width, 0))};
    if (cols.Empty() || !src.data || !dest.data) return false;
    const Span64 rows{std::max<std::int64_t>(y, 0), std::min<std::int64_t>(std::int64_t(y) + h, std::max(dest.height, 0))};
    const std::size_t n = std::size_t(cols.last - cols.first) * 3;
    const std::size_t srcOffset = std::size_t(cols.first - x) * 3;
    const std::size_t destOffset = std::size_t(cols.first) * 3;
    const blend::DrawRowFn draw = blend::ActiveKernel().draw;
    for (std::int64_t row = rows.first; row < rows.last; ++row)
        draw(src.Row(int(row - y)) + srcOffset, dest.Row(int(row)) + destOffset, n, c);
    // Modified whenever some column is in range, even with no row in range.
    return true;
}

void BlendFill(BgrView dest, int x, int y, int width, int height, Bgr color, std::uint8_t ratio) {
    if (width <= 0 || height <= 0 || !dest.data) return;
    const Span64 cols{std::max<std::int64_t>(x, 0), std::min<std::int64_t>(std::int64_t(x) + width, dest.width)};
    const Span64 rows{std::max<std::int64_t>(y, 0), std::min<std::int64_t>(std::int64_t(y) + height, dest.height)};
    if (cols.Empty() || rows.Empty()) return;
    const blend::FillRowFn fill = blend::ActiveKernel().fill;
    const std::size_t pixels = std::size_t(cols.last - cols.first);
    for (std::int64_t row = rows.first; row < rows.last; ++row)
        fill(dest.Row(int(row)) + std::size_t(cols.first) * 3, pixels, color, ratio);
}

Bgr ColorToBgr(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return Bgr{BlueOf(rgb), GreenOf(rgb), RedOf(rgb)};
}

}  // namespace rastel
