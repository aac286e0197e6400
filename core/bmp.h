// Bitmap file reading and writing on byte spans.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "pixels.h"

namespace rastel {

inline constexpr const char* kInvalidBitmapText = "ビットマップイメージが不正です";

// Why a file was refused. The user sees the same text for all of them.
enum class BmpRefusal {
    NotABitmap,     // no "BM" signature, or shorter than the file header
    Truncated,      // the headers or the bit-field masks end early
    Unsupported,    // header size, bit count or compression this reader does not take
    Malformed,      // planes, a negative width, bad masks, a data offset inside the headers or past the end
    TooLarge,       // beyond kMaxBmpSide or kMaxBmpPixels
    BadPalette,     // more entries than the bit count allows, or cut short
    MissingPixels,  // uncompressed pixel data shorter than the picture
    BadRunLength,   // an RLE stream running past its row or the image, or ending without its marker
};

// Raised for every malformed or unsupported file; what() is kInvalidBitmapText.
class BmpError : public std::runtime_error {
public:
    explicit BmpError(BmpRefusal reason) : std::runtime_error(kInvalidBitmapText), reason_(reason) {}
    BmpRefusal Reason() const { return reason_; }

private:
    BmpRefusal reason_;
};

// Largest image the reader accepts: each side at most kMaxBmpSide and at most
// kMaxBmpPixels pixels in all (192 MiB of 24-bit pixels).
inline constexpr std::int64_t kMaxBmpSide = 32768;
inline constexpr std::int64_t kMaxBmpPixels = std::int64_t(1) << 26;

// A decoded bitmap: 24-bit BGR rows, top row first, rows packed at 4-byte
// aligned stride. bitsPerPixel is the file's own bit count (1 for a
// monochrome file, whose transparent colour is white).
struct BmpImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    std::size_t stride = 0;
    std::vector<std::uint8_t> pixels;
    bool Empty() const { return width == 0 || height == 0; }
    BgrView View() { return {pixels.data(), width, height, std::ptrdiff_t(stride)}; }
    ConstBgrView View() const { return {pixels.data(), width, height, std::ptrdiff_t(stride)}; }
};

// Decodes a whole .bmp file. Throws BmpError on anything malformed; never
// reads outside `file`.
// - Headers of 12, 40, 52, 56, 108 and 124 bytes; 1, 4, 8, 16, 24 and 32 bits
//   per pixel; uncompressed, RLE8, RLE4 and bit fields (16 and 32 bits).
// - A width or height of 0 gives an empty image (0 x 0), not an error; a
//   negative width, a size beyond the cap and a top-down RLE file are refused.
// - Bit-field channels scale to 8 bits rounding to nearest,
//   v -> (v*255 + max/2) / max (a 5-bit 16 gives 132). Without bit fields,
//   16 bits are 5-5-5 and 32 bits 8-8-8; the remaining bits are ignored.
// - A palette index beyond the file's palette reads as black.
// - RLE pixels the stream skips (delta, early end of line or of bitmap) keep
//   the colour of palette entry 0. A run past its row, a move past the image
//   or a stream without its end-of-bitmap marker is refused.
// - The last row's padding may be missing; its pixels may not. Uncompressed
//   pixel data is checked to be there before anything is allocated for it,
//   so a short file claiming a large picture costs nothing.
BmpImage DecodeBmp(std::span<const std::uint8_t> file);

// One row of palette indices of 1, 4 or 8 bits, packed from the most
// significant bit, as `width` BGR triples; `palette` has 256 entries.
void DecodeIndexedRow(const std::uint8_t* row, std::uint64_t width, unsigned bitsPerPixel, const Bgr* palette,
                      std::uint8_t* out);

// The pixels of an uncompressed file of 1, 4, 8 or 24 bits as the file
// stores them: palette indices packed from the most significant bit, or BGR
// triples. They point into the file's bytes.
struct BmpRows {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    // 1 << bitsPerPixel entries (those the file leaves out black); none for 24 bits.
    std::vector<Bgr> palette;
    const std::uint8_t* top = nullptr;  // the top row
    std::ptrdiff_t stride = 0;          // from a row to the one below it; negative in a bottom-up file
    std::size_t rowBytes = 0;           // bytes of a row that hold pixels; the padding after them may be missing
    const std::uint8_t* Row(int y) const { return top + std::ptrdiff_t(y) * stride; }
};

// Those rows, without decoding them; nullopt when the pixels need decoding
// (run lengths, bit fields, 16 or 32 bits) or there are none (0 x 0). A file
// refused here is refused by DecodeBmp too, and DecodeBmp turns a file that
// gives rows into exactly the colours of those rows.
std::optional<BmpRows> StoredBmpRows(std::span<const std::uint8_t> file);

// Writers, bottom-up, BITMAPINFOHEADER (40 bytes), uncompressed.
// 1-bit: pixels equal to `white` become palette entry 1 (white), others entry 0 (`ink`).
std::vector<std::uint8_t> EncodeBmp1(ConstBgrView pixels, Bgr white, Bgr ink);
// 4- and 8-bit palette, sized to the colours used in order of first
// appearance: at most 16 or 256 distinct colours, else std::invalid_argument.
std::vector<std::uint8_t> EncodeBmp4(ConstBgrView pixels);
std::vector<std::uint8_t> EncodeBmp8(ConstBgrView pixels);
std::vector<std::uint8_t> EncodeBmp24(ConstBgrView pixels);

}  // namespace rastel
