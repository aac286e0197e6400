// Region description (RGNDATA layout) built from pixels, as 24-bit colours or
// as palette indices: one one-pixel-high rectangle per horizontal run of
// non-transparent pixels. Also what a platform keeps of such a description
// (its bands), and the description with one more rectangle united into it.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>

#include "pixels.h"

namespace rastel {

inline constexpr const char* kRegionOutOfMemoryText = "メモリストリームの拡大中にメモリが足りなくなりました";
inline constexpr std::size_t kRegionBufferStep = 8192;
inline constexpr std::size_t kRegionHeaderSize = 32;
inline constexpr std::size_t kRegionRectSize = 16;

class RegionOutOfMemory : public std::runtime_error {
public:
    RegionOutOfMemory() : std::runtime_error(kRegionOutOfMemoryText) {}
};

// Raised by the program when the platform cannot show a shape of so many rectangles.
inline constexpr const char* kShapeTooComplexText = "この画像は形が細かすぎて表示できません";

class ShapeTooComplex : public std::runtime_error {
public:
    ShapeTooComplex() : std::runtime_error(kShapeTooComplexText) {}
};

// Growable byte buffer whose capacity is always a multiple of kRegionBufferStep.
// Growth is geometric (at least doubling, rounded up to the step) so large
// images do not copy the whole buffer again at every step. The allocation
// hook lets tests make growth fail; on failure RegionOutOfMemory is raised and
// the buffer keeps what it had.
class RegionBuffer {
public:
    // Behaves as std::realloc: returns the moved block, or null on failure with
    // `old` untouched. A newCapacity of 0 frees `old` and returns null.
    using Reallocate = std::function<void*(void* old, std::size_t newCapacity)>;
    RegionBuffer();
    explicit RegionBuffer(Reallocate realloc);
    ~RegionBuffer();
    RegionBuffer(RegionBuffer&& other) noexcept;
    RegionBuffer& operator=(RegionBuffer&& other) noexcept;
    RegionBuffer(const RegionBuffer&) = delete;
    RegionBuffer& operator=(const RegionBuffer&) = delete;

    const std::uint8_t* Data() const { return data_; }
    std::size_t Size() const { return size_; }
    std::size_t Capacity() const { return capacity_; }
    std::uint32_t Count() const;  // rectangle count field

    void Write(const void* bytes, std::size_t n);
    void WriteInt32(std::int32_t v);
    void PatchInt32(std::size_t offset, std::int32_t v);

private:
    void Grow(std::size_t needed);
    Reallocate realloc_;
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// Transparent colour of a grid image: its bottom-left pixel, or white for a
// bitmap of one bit per pixel. An empty image gives black.
Bgr TransparentColorOf(ConstBgrView pixels, int bitsPerPixel);

// Builds the region description: 32-byte header (size 32, type 1, count,
// size hint 0, bounds 0,0,width,height), then the rectangles row by row, left
// to right, never merged across rows.
RegionBuffer BuildRegionData(ConstBgrView pixels, Bgr transparent);
RegionBuffer BuildRegionData(ConstBgrView pixels, Bgr transparent, RegionBuffer::Reallocate realloc);

// Rows of palette indices of 1, 4 or 8 bits, packed from the most
// significant bit; row 0 at `data`, the next one `stride` bytes on.
struct IndexRows {
    const std::uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    int bitsPerPixel = 8;
};

// The same description from palette indices, without turning them into
// colours: a pixel is a hole where `hole` is set for its index.
RegionBuffer BuildRegionDataFromIndices(IndexRows pixels, const std::array<bool, 256>& hole,
                                        RegionBuffer::Reallocate realloc = {});

// The rectangles a platform region keeps of this description: adjacent rows
// with the same runs merge into one band of those runs.
std::size_t MergedRectangleCount(const RegionBuffer& data);

// Those rectangles themselves: the same header, then one rectangle per run
// of each band, as high as the band, bands top first, runs left to right.
// Its count is MergedRectangleCount(data). RegionOutOfMemory as for building.
RegionBuffer MergeRows(const RegionBuffer& data);
RegionBuffer MergeRows(const RegionBuffer& data, RegionBuffer::Reallocate realloc);

// A rectangle, right and bottom exclusive.
struct RegionRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The description of `data`'s area united with `rect`, still one rectangle
// per maximal run of each row (runs that overlap or touch become one), rows
// top first; the bounds grow to hold the rectangle. An empty rectangle
// changes nothing. RegionOutOfMemory as for building.
RegionBuffer WithRectangle(const RegionBuffer& data, RegionRect rect, RegionBuffer::Reallocate realloc = {});

}  // namespace rastel
