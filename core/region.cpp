#include "core/region.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rastel {
namespace {

void* SystemReallocate(void* old, std::size_t newCapacity) {
    if (newCapacity == 0) {
        std::free(old);
        return nullptr;
    }
    return std::realloc(old, newCapacity);
}

inline void StoreLE32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

inline std::uint32_t LoadLE32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

constexpr std::size_t RoundUpToStep(std::size_t n) {
    return (n + kRegionBufferStep - 1) / kRegionBufferStep * kRegionBufferStep;
}

}  // namespace

RegionBuffer::RegionBuffer() : realloc_(SystemReallocate) {}

RegionBuffer::RegionBuffer(Reallocate realloc) : realloc_(realloc ? std::move(realloc) : Reallocate(SystemReallocate)) {}

RegionBuffer::~RegionBuffer() {
    if (data_) realloc_(data_, 0);
}

RegionBuffer::RegionBuffer(RegionBuffer&& other) noexcept
    : realloc_(std::move(other.realloc_)),
      data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {
    other.realloc_ = SystemReallocate;
}

RegionBuffer& RegionBuffer::operator=(RegionBuffer&& other) noexcept {
    if (this != &other) {
        std::swap(realloc_, other.realloc_);
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
    }
    return *this;
}

std::uint32_t RegionBuffer::Count() const { return size_ >= 12 ? LoadLE32(data_ + 8) : 0; }

void RegionBuffer::Grow(std::size_t needed) {
    // Geometric growth (at least doubling) keeps a scan of a large image from
    // copying the buffer again at every 8 KiB step; the capacity stays a
    // multiple of the step.
    constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max() / 2 - kRegionBufferStep;
    if (needed > kMax) throw RegionOutOfMemory();
    std::size_t target = RoundUpToStep(needed);
    if (capacity_ <= kMax / 2 && capacity_ * 2 > target) target = capacity_ * 2;
    void* grown = nullptr;
    try {
        grown = realloc_(data_, target);
    } catch (const std::bad_alloc&) {
        grown = nullptr;
    }
    if (!grown) throw RegionOutOfMemory();
    data_ = static_cast<std::uint8_t*>(grown);
    capacity_ = target;
}

void RegionBuffer::Write(const void* bytes, std::size_t n) {
    if (n == 0) return;
    if (n > capacity_ - size_) {
        if (n > std::numeric_limits<std::size_t>::max() - size_) throw RegionOutOfMemory();
        Grow(size_ + n);
    }
    std::memcpy(data_ + size_, bytes, n);
    size_ += n;
}

void RegionBuffer::WriteInt32(std::int32_t v) {
    std::uint8_t b[4];
    StoreLE32(b, std::uint32_t(v));
    Write(b, 4);
}

void RegionBuffer::PatchInt32(std::size_t offset, std::int32_t v) {
    if (offset > size_ || size_ - offset < 4) throw std::out_of_range("region buffer patch outside the data");
    StoreLE32(data_ + offset, std::uint32_t(v));
}

Bgr TransparentColorOf(ConstBgrView pixels, int bitsPerPixel) {
    if (bitsPerPixel == 1) return Bgr{255, 255, 255};
    if (pixels.width <= 0 || pixels.height <= 0 || !pixels.data) return Bgr{};
    const std::uint8_t* p = pixels.Row(pixels.height - 1);
    return Bgr{p[0], p[1], p[2]};
}

namespace {

// Collects the rectangles of one scan in a small batch and hands the batch to
// the buffer in one write; storing each rectangle straight through the
// buffer's write path costs a store-forwarding stall per rectangle.
class RectWriter {
public:
    explicit RectWriter(RegionBuffer& buffer) : buffer_(buffer) {}
    void Add(int left, int top, int right, int height = 1) {
        if (used_ == kBatch) Flush();
        std::int32_t* r = batch_ + 4 * used_++;
        r[0] = left;
        r[1] = top;
        r[2] = right;
        r[3] = top + height;
        ++count_;
    }
    void Flush() {
        if constexpr (std::endian::native != std::endian::little) {
            for (std::size_t i = 0; i < 4 * used_; ++i) {
                std::uint8_t b[4];
                StoreLE32(b, std::uint32_t(batch_[i]));
                std::memcpy(&batch_[i], b, 4);
            }
        }
        buffer_.Write(batch_, used_ * kRegionRectSize);
        used_ = 0;
    }
    std::uint32_t Count() const { return count_; }

private:
    static constexpr std::size_t kBatch = 256;
    RegionBuffer& buffer_;
    std::int32_t batch_[4 * kBatch];
    std::size_t used_ = 0;
    std::uint32_t count_ = 0;
};

inline bool IsHole(const std::uint8_t* p, Bgr t) { return p[0] == t.b && p[1] == t.g && p[2] == t.r; }

// Scans one row; `runStart` is -1 when no run is open.
void ScanRow(const std::uint8_t* row, int width, int y, Bgr t, RectWriter& out) {
    int runStart = -1;
    int x = 0;
#if defined(__SSE2__)
    // Sixteen pixels (48 bytes) per step, compared byte-wise against the
    // transparent colour laid out in the same 3-byte phase. A pixel is a hole
    // when all three of its byte-equal bits are set; bit 3*i of `holes` stands
    // for pixel i of the step.
    alignas(16) std::uint8_t pattern[48];
    for (int i = 0; i < 48; i += 3) {
        pattern[i] = t.b;
        pattern[i + 1] = t.g;
        pattern[i + 2] = t.r;
    }
    const __m128i p0 = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern));
    const __m128i p1 = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern + 16));
    const __m128i p2 = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern + 32));
    constexpr std::uint64_t kPixelBits = 0x249249249249ull;  // bits 0, 3, ..., 45
    for (; x + 16 <= width; x += 16) {
        const std::uint8_t* p = row + std::ptrdiff_t(x) * 3;
        const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
        const __m128i v2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32));
        const std::uint64_t eq = std::uint64_t(std::uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v0, p0)))) |
                                 (std::uint64_t(std::uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v1, p1)))) << 16) |
                                 (std::uint64_t(std::uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(v2, p2)))) << 32);
        const std::uint64_t holes = eq & (eq >> 1) & (eq >> 2) & kPixelBits;
        // Bit 3*i of `changes`: pixel i differs in kind from the pixel before
        // it (the one before the step for i = 0). Changes alternate between
        // opening and closing a run.
        std::uint64_t changes = (holes ^ ((holes << 3) | (runStart < 0 ? 1 : 0))) & kPixelBits;
        while (changes) {
            const int at = x + std::countr_zero(changes) / 3;
            changes &= changes - 1;
            if (runStart < 0) {
                runStart = at;
            } else {
                out.Add(runStart, y, at);
                runStart = -1;
            }
        }
    }
#endif
    for (; x < width; ++x) {
        const bool hole = IsHole(row + std::ptrdiff_t(x) * 3, t);
        if (!hole && runStart < 0) {
            runStart = x;
        } else if (hole && runStart >= 0) {
            out.Add(runStart, y, x);
            runStart = -1;
        }
    }
    if (runStart >= 0) out.Add(runStart, y, width);
}

void WriteHeader(RegionBuffer& buffer, int width, int height) {
    buffer.WriteInt32(std::int32_t(kRegionHeaderSize));
    buffer.WriteInt32(1);  // RDH_RECTANGLES
    buffer.WriteInt32(0);  // count, filled in after the scan
    buffer.WriteInt32(0);  // size hint, left unused
    buffer.WriteInt32(0);
    buffer.WriteInt32(0);
    buffer.WriteInt32(width);
    buffer.WriteInt32(height);
}

// One row of indices; `runStart` is -1 when no run is open.
void ScanIndexRow(const std::uint8_t* row, int width, int bits, const std::array<bool, 256>& hole, int y,
                  RectWriter& out) {
    int runStart = -1;
    auto pixel = [&](int x, bool isHole) {
        if (!isHole && runStart < 0) {
            runStart = x;
        } else if (isHole && runStart >= 0) {
            out.Add(runStart, y, x);
            runStart = -1;
        }
    };
    if (bits == 1) {
        // Eight pixels a byte; a byte that neither opens nor closes a run is passed over whole.
        const unsigned holeOf0 = hole[0] ? 0xFFu : 0u, holeOf1 = hole[1] ? 0xFFu : 0u;
        int x = 0;
        for (; x + 8 <= width; x += 8) {
            const unsigned b = row[x >> 3];
            const unsigned holes = ((b & holeOf1) | (~b & holeOf0)) & 0xFFu;
            if (holes == (runStart < 0 ? 0xFFu : 0u)) continue;
            for (int i = 0; i < 8; ++i) pixel(x + i, (holes >> (7 - i)) & 1u);
        }
        for (; x < width; ++x) pixel(x, hole[(row[x >> 3] >> (7 - (x & 7))) & 1u]);
    } else if (bits == 4) {
        for (int x = 0; x < width; ++x) pixel(x, hole[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu]);
    } else {
        for (int x = 0; x < width; ++x) pixel(x, hole[row[x]]);
    }
    if (runStart >= 0) out.Add(runStart, y, width);
}

// The header, then scanRow(y, width, out) for each row, then the count.
template <class ScanRow>
RegionBuffer BuildRows(int width, int height, bool hasPixels, RegionBuffer::Reallocate realloc, ScanRow scanRow) {
    RegionBuffer buffer(std::move(realloc));
    width = width > 0 ? width : 0;
    height = height > 0 ? height : 0;
    WriteHeader(buffer, width, height);
    if (!hasPixels || width == 0) return buffer;
    RectWriter out(buffer);
    for (int y = 0; y < height; ++y) scanRow(y, width, out);
    out.Flush();
    buffer.PatchInt32(8, std::int32_t(out.Count()));
    return buffer;
}

}  // namespace

RegionBuffer BuildRegionDataFromIndices(IndexRows pixels, const std::array<bool, 256>& hole,
                                        RegionBuffer::Reallocate realloc) {
    return BuildRows(pixels.width, pixels.height, pixels.data != nullptr, std::move(realloc),
                     [&](int y, int width, RectWriter& out) {
                         ScanIndexRow(pixels.data + std::ptrdiff_t(y) * pixels.stride, width, pixels.bitsPerPixel,
                                      hole, y, out);
                     });
}

RegionBuffer BuildRegionData(ConstBgrView pixels, Bgr transparent) {
    return BuildRegionData(pixels, transparent, RegionBuffer::Reallocate{});
}

RegionBuffer BuildRegionData(ConstBgrView pixels, Bgr transparent, RegionBuffer::Reallocate realloc) {
    return BuildRows(pixels.width, pixels.height, pixels.data != nullptr, std::move(realloc),
                     [&](int y, int width, RectWriter& out) { ScanRow(pixels.Row(y), width, y, transparent, out); });
}

namespace {

// The rectangles of a description grouped by row: rectangles come row by row
// and are maximal runs, so a row's run list is the slice of rectangles with
// its top, and two adjacent rows with equal slices belong to one band.
class RowSlices {
public:
    explicit RowSlices(const RegionBuffer& data) {
        if (data.Size() < kRegionHeaderSize) return;
        rects_ = data.Data() + kRegionHeaderSize;
        count_ = std::min<std::size_t>(data.Count(), (data.Size() - kRegionHeaderSize) / kRegionRectSize);
    }
    std::size_t Count() const { return count_; }
    const std::uint8_t* Rect(std::size_t i) const { return rects_ + i * kRegionRectSize; }
    std::int32_t Top(std::size_t i) const { return std::int32_t(LoadLE32(Rect(i) + 4)); }
    // One past the last rectangle of the row that starts at `start`.
    std::size_t RowEnd(std::size_t start) const {
        const std::int32_t y = Top(start);
        std::size_t end = start + 1;
        while (end < count_ && Top(end) == y) ++end;
        return end;
    }
    // Whether row [start, end) continues the band of row [prevStart, prevEnd)
    // that ends at `bandBottom`: right below it, with the same runs.
    bool Continues(std::size_t prevStart, std::size_t prevEnd, std::int32_t bandBottom, std::size_t start,
                   std::size_t end) const {
        if (Top(start) != bandBottom || prevEnd - prevStart != end - start) return false;
        for (std::size_t i = 0; i < end - start; ++i)
            if (std::memcmp(Rect(prevStart + i), Rect(start + i), 4) != 0 ||
                std::memcmp(Rect(prevStart + i) + 8, Rect(start + i) + 8, 4) != 0)
                return false;
        return true;
    }

private:
    const std::uint8_t* rects_ = nullptr;
    std::size_t count_ = 0;
};

// band(first, end, top, bottom) for each band, top first: its runs are the
// rectangles [first, end) of its first row, its rows top to bottom - 1.
template <class Band>
void ForEachBand(const RowSlices& rows, Band band) {
    std::size_t bandStart = 0, bandEnd = 0;  // the open band's first row; empty: none open
    std::int32_t bandBottom = 0;
    for (std::size_t start = 0; start < rows.Count();) {
        const std::size_t end = rows.RowEnd(start);
        if (bandEnd != 0 && rows.Continues(bandStart, bandEnd, bandBottom, start, end)) {
            ++bandBottom;
        } else {
            if (bandEnd != 0) band(bandStart, bandEnd, rows.Top(bandStart), bandBottom);
            bandStart = start;
            bandEnd = end;
            bandBottom = rows.Top(start) + 1;
        }
        start = end;
    }
    if (bandEnd != 0) band(bandStart, bandEnd, rows.Top(bandStart), bandBottom);
}

}  // namespace

std::size_t MergedRectangleCount(const RegionBuffer& data) {
    std::size_t merged = 0;
    ForEachBand(RowSlices(data), [&](std::size_t first, std::size_t end, std::int32_t, std::int32_t) {
        merged += end - first;
    });
    return merged;
}

RegionBuffer MergeRows(const RegionBuffer& data) { return MergeRows(data, RegionBuffer::Reallocate{}); }

RegionBuffer MergeRows(const RegionBuffer& data, RegionBuffer::Reallocate realloc) {
    RegionBuffer out(std::move(realloc));
    out.Write(data.Data(), std::min(data.Size(), kRegionHeaderSize));
    const RowSlices rows(data);
    RectWriter writer(out);
    ForEachBand(rows, [&](std::size_t first, std::size_t end, std::int32_t top, std::int32_t bottom) {
        for (std::size_t i = first; i < end; ++i) {
            const std::uint8_t* r = rows.Rect(i);
            writer.Add(std::int32_t(LoadLE32(r)), top, std::int32_t(LoadLE32(r + 8)), bottom - top);
        }
    });
    writer.Flush();
    if (out.Size() >= kRegionHeaderSize) out.PatchInt32(8, std::int32_t(writer.Count()));
    return out;
}

RegionBuffer WithRectangle(const RegionBuffer& data, RegionRect rect, RegionBuffer::Reallocate realloc) {
    RegionBuffer out(std::move(realloc));
    if (data.Size() < kRegionHeaderSize) return out;
    const bool empty = rect.left >= rect.right || rect.top >= rect.bottom;
    std::int32_t bounds[4];
    for (int i = 0; i < 4; ++i) bounds[i] = std::int32_t(LoadLE32(data.Data() + 16 + 4 * i));
    if (!empty) {
        const bool none = bounds[0] >= bounds[2] || bounds[1] >= bounds[3];
        bounds[0] = none ? rect.left : std::min(bounds[0], rect.left);
        bounds[1] = none ? rect.top : std::min(bounds[1], rect.top);
        bounds[2] = none ? rect.right : std::max(bounds[2], rect.right);
        bounds[3] = none ? rect.bottom : std::max(bounds[3], rect.bottom);
    }
    out.Write(data.Data(), 16);
    for (std::int32_t b : bounds) out.WriteInt32(b);

    const RowSlices rows(data);
    RectWriter writer(out);
    auto copyRow = [&](std::size_t start, std::size_t end) {
        for (std::size_t i = start; i < end; ++i) {
            const std::uint8_t* r = rows.Rect(i);
            writer.Add(std::int32_t(LoadLE32(r)), rows.Top(i), std::int32_t(LoadLE32(r + 8)));
        }
    };
    // The row's runs [start, end) with the rectangle's span put in order;
    // runs it overlaps or touches are swallowed into it.
    auto uniteRow = [&](std::int32_t y, std::size_t start, std::size_t end) {
        std::int32_t left = rect.left, right = rect.right;
        std::size_t i = start;
        for (; i < end; ++i) {
            const std::uint8_t* r = rows.Rect(i);
            const std::int32_t l = std::int32_t(LoadLE32(r)), rr = std::int32_t(LoadLE32(r + 8));
            if (rr < left) {
                writer.Add(l, y, rr);
            } else if (l > right) {
                break;
            } else {
                left = std::min(left, l);
                right = std::max(right, rr);
            }
        }
        writer.Add(left, y, right);
        copyRow(i, end);
    };
    std::int32_t nextY = rect.top;  // the rectangle's first row not written yet
    for (std::size_t start = 0; start < rows.Count();) {
        const std::size_t end = rows.RowEnd(start);
        const std::int32_t y = rows.Top(start);
        if (!empty)
            for (; nextY < rect.bottom && nextY < y; ++nextY) uniteRow(nextY, 0, 0);
        if (!empty && y >= rect.top && y < rect.bottom) {
            uniteRow(y, start, end);
            nextY = y + 1;
        } else {
            copyRow(start, end);
        }
        start = end;
    }
    if (!empty)
        for (; nextY < rect.bottom; ++nextY) uniteRow(nextY, 0, 0);
    writer.Flush();
    out.PatchInt32(8, std::int32_t(writer.Count()));
    return out;
}

}  // namespace rastel
