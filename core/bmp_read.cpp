// Bitmap file decoding. Every read goes through bounds-checked accessors and
// all size arithmetic is done in 64 bits after the dimension cap, so a hostile
// file can only ever end in BmpError.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "core/bmp.h"

namespace rastel {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;

constexpr std::size_t kFileHeaderSize = 14;

[[noreturn]] void Refuse(BmpRefusal why) { throw BmpError(why); }

// Reads past the end refuse the file; `shortly` says why (what ran out).
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t Size() const { return bytes_.size(); }
    bool Has(std::uint64_t offset, std::uint64_t n) const { return offset <= bytes_.size() && n <= bytes_.size() - offset; }
    std::uint8_t U8(std::uint64_t offset, BmpRefusal shortly = BmpRefusal::Truncated) const {
        if (!Has(offset, 1)) Refuse(shortly);
        return bytes_[offset];
    }
    std::uint16_t U16(std::uint64_t offset) const {
        if (!Has(offset, 2)) Refuse(BmpRefusal::Truncated);
        return std::uint16_t(bytes_[offset] | (bytes_[offset + 1] << 8));
    }
    std::uint32_t U32(std::uint64_t offset) const {
        if (!Has(offset, 4)) Refuse(BmpRefusal::Truncated);
        const std::uint8_t* p = bytes_.data() + offset;
        return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
    }
    std::int32_t I32(std::uint64_t offset) const { return std::int32_t(U32(offset)); }
    const std::uint8_t* At(std::uint64_t offset, std::uint64_t n, BmpRefusal shortly) const {
        if (!Has(offset, n)) Refuse(shortly);
        return bytes_.data() + offset;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

struct Header {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // always >= 0; topDown keeps the sign
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t colorsUsed = 0;
    std::array<std::uint32_t, 3> masks{};  // red, green, blue
    std::uint64_t headersEnd = 0;          // first byte after the headers and any separate masks
    std::uint64_t dataOffset = 0;
};

// A palette of 256 entries; indices the file does not define stay black.
using Palette = std::array<Bgr, 256>;

bool IsContiguous(std::uint32_t mask) {
    const std::uint32_t shifted = mask >> std::countr_zero(mask);
    return (shifted & (shifted + 1)) == 0;
}

Header ReadHeader(const ByteReader& in) {
    if (!in.Has(0, kFileHeaderSize + 4) || in.U8(0) != 'B' || in.U8(1) != 'M') Refuse(BmpRefusal::NotABitmap);
    Header h;
    h.dataOffset = in.U32(10);
    h.headerSize = in.U32(14);
    switch (h.headerSize) {
    case 12: case 40: case 52: case 56: case 108: case 124: break;
    default: Refuse(BmpRefusal::Unsupported);
    }
    if (!in.Has(kFileHeaderSize, h.headerSize)) Refuse(BmpRefusal::Truncated);

    unsigned planes = 0;
    if (h.headerSize == 12) {
        h.width = in.U16(18);
        h.height = in.U16(20);
        planes = in.U16(22);
        h.bitsPerPixel = in.U16(24);
        if (h.bitsPerPixel != 1 && h.bitsPerPixel != 4 && h.bitsPerPixel != 8 && h.bitsPerPixel != 24) Refuse(BmpRefusal::Unsupported);
    } else {
        h.width = in.I32(18);
        const std::int64_t height = in.I32(22);
        planes = in.U16(26);
        h.bitsPerPixel = in.U16(28);
        h.compression = in.U32(30);
        h.colorsUsed = in.U32(46);
        h.topDown = height < 0;
        h.height = height < 0 ? -height : height;
    }
    if (planes != 1) Refuse(BmpRefusal::Malformed);
    switch (h.bitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: Refuse(BmpRefusal::Unsupported);
    }
    switch (h.compression) {
    case kBiRgb: break;
    case kBiRle8: if (h.bitsPerPixel != 8) Refuse(BmpRefusal::Unsupported); break;
    case kBiRle4: if (h.bitsPerPixel != 4) Refuse(BmpRefusal::Unsupported); break;
    case kBiBitfields: if (h.bitsPerPixel != 16 && h.bitsPerPixel != 32) Refuse(BmpRefusal::Unsupported); break;
    default: Refuse(BmpRefusal::Unsupported);
    }
    const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
    if (rle && h.topDown) Refuse(BmpRefusal::Unsupported);
    if (h.width < 0) Refuse(BmpRefusal::Malformed);
    if (h.width > kMaxBmpSide || h.height > kMaxBmpSide || h.width * h.height > kMaxBmpPixels)
        Refuse(BmpRefusal::TooLarge);

    h.headersEnd = kFileHeaderSize + h.headerSize;
    if (h.compression == kBiBitfields) {
        // A 40-byte header keeps its three masks right after itself; the
        // larger ones hold them inside.
        const std::uint64_t at = kFileHeaderSize + 40;
        if (h.headerSize == 40) h.headersEnd += 12;
        h.masks = {in.U32(at), in.U32(at + 4), in.U32(at + 8)};
        const std::uint32_t limit = h.bitsPerPixel == 16 ? 0xFFFFu : 0xFFFFFFFFu;
        for (std::uint32_t m : h.masks)
            if (m == 0 || (m & ~limit) != 0 || !IsContiguous(m)) Refuse(BmpRefusal::Malformed);
        if ((h.masks[0] & h.masks[1]) | (h.masks[0] & h.masks[2]) | (h.masks[1] & h.masks[2]))
            Refuse(BmpRefusal::Malformed);
    } else if (h.bitsPerPixel == 16) {
        h.masks = {0x7C00, 0x03E0, 0x001F};
    } else if (h.bitsPerPixel == 32) {
        h.masks = {0xFF0000, 0xFF00, 0xFF};
    }
    // The pixels may not start inside the headers nor past the end of the file.
    if (h.dataOffset < h.headersEnd || h.dataOffset > in.Size()) Refuse(BmpRefusal::Malformed);
    return h;
}

Palette ReadPalette(const ByteReader& in, const Header& h) {
    Palette palette{};
    if (h.bitsPerPixel > 8) return palette;
    const std::uint64_t maxColors = std::uint64_t(1) << h.bitsPerPixel;
    const std::uint64_t count = h.colorsUsed == 0 ? maxColors : h.colorsUsed;
    if (count > maxColors) Refuse(BmpRefusal::BadPalette);
    const std::uint64_t entrySize = h.headerSize == 12 ? 3 : 4;
    const std::uint8_t* p = in.At(h.headersEnd, count * entrySize, BmpRefusal::BadPalette);
    for (std::uint64_t i = 0; i < count; ++i, p += entrySize) palette[i] = Bgr{p[0], p[1], p[2]};
    return palette;
}

// Converts one channel of a bit-field pixel to 8 bits, rounding to nearest:
// v -> (v*255 + max/2) / max, so a 5-bit 31 gives 255 and 16 gives 132.
class Channel {
public:
    explicit Channel(std::uint32_t mask) : mask_(mask), shift_(std::countr_zero(mask)) {
        const int bits = std::popcount(mask);
        max_ = (std::uint64_t(1) << bits) - 1;
        if (bits <= 16) {
            table_.resize(std::size_t(max_) + 1);
            for (std::uint64_t v = 0; v <= max_; ++v) table_[v] = Scale(v);
        }
    }
    std::uint8_t operator()(std::uint32_t pixel) const {
        const std::uint32_t v = (pixel & mask_) >> shift_;
        return table_.empty() ? Scale(v) : table_[v];
    }

private:
    std::uint8_t Scale(std::uint64_t v) const { return std::uint8_t((v * 255 + max_ / 2) / max_); }
    std::uint32_t mask_;
    int shift_;
    std::uint64_t max_;
    std::vector<std::uint8_t> table_;
};

BmpImage AllocateImage(const Header& h) {
    BmpImage img;
    img.width = int(h.width);
    img.height = int(h.height);
    img.bitsPerPixel = h.bitsPerPixel;
    img.stride = (std::size_t(h.width) * 3 + 3) & ~std::size_t(3);
    img.pixels.resize(img.stride * std::size_t(h.height));
    return img;
}

std::uint64_t RowBytes(const Header& h) { return (std::uint64_t(h.width) * std::uint64_t(h.bitsPerPixel) + 31) / 32 * 4; }

// The uncompressed pixel data; refuses a file that lacks any of it.
const std::uint8_t* PixelData(const ByteReader& in, const Header& h) {
    const std::uint64_t rowBits = std::uint64_t(h.width) * std::uint64_t(h.bitsPerPixel);
    // The last row's padding may be missing; its pixels may not.
    const std::uint64_t needed = RowBytes(h) * (std::uint64_t(h.height) - 1) + (rowBits + 7) / 8;
    return in.At(h.dataOffset, needed, BmpRefusal::MissingPixels);
}

// 1, 4 or 8 bits: indices packed from the most significant bit. The bit
// count is a constant here, so a large picture decodes in a few milliseconds.
template <unsigned Bits>
void IndexedRow(const std::uint8_t* src, std::uint64_t width, const Bgr* palette, std::uint8_t* out) {
    constexpr unsigned perByte = 8 / Bits, mask = (1u << Bits) - 1;
    for (std::uint64_t x = 0; x < width; ++x, out += 3) {
        const unsigned shift = 8 - Bits * unsigned(x % perByte + 1);
        const Bgr& c = palette[(src[x / perByte] >> shift) & mask];
        out[0] = c.b;
        out[1] = c.g;
        out[2] = c.r;
    }
}

void DecodeUncompressed(const std::uint8_t* data, const Header& h, const Palette& palette, BmpImage& img) {
    const std::uint64_t width = std::uint64_t(h.width);
    const std::uint64_t height = std::uint64_t(h.height);
    const std::uint64_t rowBytes = RowBytes(h);

    const bool plain32 = h.bitsPerPixel == 32 && h.masks == std::array<std::uint32_t, 3>{0xFF0000, 0xFF00, 0xFF};
    std::vector<Channel> channels;  // red, green, blue
    if (h.bitsPerPixel == 16 || (h.bitsPerPixel == 32 && !plain32))
        for (std::uint32_t m : h.masks) channels.emplace_back(m);

    for (std::uint64_t r = 0; r < height; ++r) {
        const std::uint8_t* src = data + r * rowBytes;
        std::uint8_t* out = img.pixels.data() + (h.topDown ? r : height - 1 - r) * img.stride;
        switch (h.bitsPerPixel) {
        case 24:
            std::memcpy(out, src, std::size_t(width) * 3);
            break;
        case 32:
            if (plain32) {
                for (std::uint64_t x = 0; x < width; ++x, src += 4, out += 3) {
                    out[0] = src[0];
                    out[1] = src[1];
                    out[2] = src[2];
                }
                break;
            }
            for (std::uint64_t x = 0; x < width; ++x, src += 4, out += 3) {
                const std::uint32_t v = std::uint32_t(src[0]) | (std::uint32_t(src[1]) << 8) |
                                        (std::uint32_t(src[2]) << 16) | (std::uint32_t(src[3]) << 24);
                out[0] = channels[2](v);
                out[1] = channels[1](v);
                out[2] = channels[0](v);
            }
            break;
        case 16:
            for (std::uint64_t x = 0; x < width; ++x, src += 2, out += 3) {
                const std::uint32_t v = std::uint32_t(src[0]) | (std::uint32_t(src[1]) << 8);
                out[0] = channels[2](v);
                out[1] = channels[1](v);
                out[2] = channels[0](v);
            }
            break;
        default:
            DecodeIndexedRow(src, width, unsigned(h.bitsPerPixel), palette.data(), out);
            break;
        }
    }
}

// Run-length streams (bottom-up only). Pixels the stream never reaches (after
// a delta, an early end of line or an early end of bitmap) keep the colour of
// palette entry 0.
void DecodeRle(const ByteReader& in, const Header& h, const Palette& palette, BmpImage& img) {
    constexpr BmpRefusal kBadRle = BmpRefusal::BadRunLength;
    const std::int64_t width = h.width;
    const std::int64_t height = h.height;
    const bool four = h.compression == kBiRle4;
    const Bgr background = palette[0];
    // One row by pixels, the others copied from it: a short stream may claim
    // a large picture, and this fill is then all the work.
    std::uint8_t* first = img.pixels.data();
    for (std::int64_t i = 0; i < width; ++i) {
        first[3 * i] = background.b;
        first[3 * i + 1] = background.g;
        first[3 * i + 2] = background.r;
    }
    for (std::int64_t row = 1; row < height; ++row)
        std::memcpy(first + std::size_t(row) * img.stride, first, std::size_t(width) * 3);
    auto put = [&](std::int64_t x, std::int64_t y, unsigned index) {
        std::uint8_t* out = img.pixels.data() + std::size_t(height - 1 - y) * img.stride + std::size_t(x) * 3;
        const Bgr c = palette[index];
        out[0] = c.b;
        out[1] = c.g;
        out[2] = c.r;
    };

    std::uint64_t pos = h.dataOffset;
    std::int64_t x = 0, y = 0;
    for (;;) {
        // Running out here means the stream has no end-of-bitmap marker.
        const unsigned first = in.U8(pos, kBadRle), second = in.U8(pos + 1, kBadRle);
        pos += 2;
        if (first > 0) {
            // Encoded run: `first` pixels of one index (two alternating ones for 4 bits).
            if (y >= height || x + first > width) Refuse(kBadRle);
            for (unsigned i = 0; i < first; ++i, ++x)
                put(x, y, four ? ((i & 1) ? (second & 0xF) : (second >> 4)) : second);
            continue;
        }
        switch (second) {
        case 0:  // end of line
            if (y >= height) Refuse(kBadRle);
            x = 0;
            ++y;
            break;
        case 1:  // end of bitmap
            return;
        case 2: {  // delta: move right and up
            const unsigned dx = in.U8(pos, kBadRle), dy = in.U8(pos + 1, kBadRle);
            pos += 2;
            if (x + dx > width || y + dy > height) Refuse(kBadRle);
            x += dx;
            y += dy;
            break;
        }
        default: {  // absolute run of `second` indices, padded to a 16-bit boundary
            const unsigned count = second;
            if (y >= height || x + count > width) Refuse(kBadRle);
            const std::uint64_t bytes = four ? (count + 1) / 2 : count;
            const std::uint8_t* p = in.At(pos, bytes, kBadRle);
            for (unsigned i = 0; i < count; ++i, ++x)
                put(x, y, four ? ((i & 1) ? (p[i / 2] & 0xF) : (p[i / 2] >> 4)) : p[i]);
            pos += bytes + (bytes & 1);
            break;
        }
        }
    }
}

}  // namespace

void DecodeIndexedRow(const std::uint8_t* row, std::uint64_t width, unsigned bitsPerPixel, const Bgr* palette,
                      std::uint8_t* out) {
    switch (bitsPerPixel) {
    case 8: IndexedRow<8>(row, width, palette, out); break;
    case 4: IndexedRow<4>(row, width, palette, out); break;
    default: IndexedRow<1>(row, width, palette, out); break;
    }
}

std::optional<BmpRows> StoredBmpRows(std::span<const std::uint8_t> file) {
    const ByteReader in(file);
    const Header h = ReadHeader(in);
    const Palette palette = ReadPalette(in, h);
    if (h.width == 0 || h.height == 0 || h.compression != kBiRgb) return std::nullopt;
    if (h.bitsPerPixel != 1 && h.bitsPerPixel != 4 && h.bitsPerPixel != 8 && h.bitsPerPixel != 24) return std::nullopt;
    const std::uint8_t* data = PixelData(in, h);
    BmpRows rows;
    rows.width = int(h.width);
    rows.height = int(h.height);
    rows.bitsPerPixel = h.bitsPerPixel;
    if (h.bitsPerPixel <= 8) rows.palette.assign(palette.begin(), palette.begin() + (std::size_t(1) << h.bitsPerPixel));
    const std::ptrdiff_t rowBytes = std::ptrdiff_t(RowBytes(h));
    rows.stride = h.topDown ? rowBytes : -rowBytes;
    rows.top = h.topDown ? data : data + rowBytes * std::ptrdiff_t(h.height - 1);
    rows.rowBytes = std::size_t((std::uint64_t(h.width) * std::uint64_t(h.bitsPerPixel) + 7) / 8);
    return rows;
}

BmpImage DecodeBmp(std::span<const std::uint8_t> file) {
    const ByteReader in(file);
    const Header h = ReadHeader(in);
    const Palette palette = ReadPalette(in, h);
    if (h.width == 0 || h.height == 0) {
        BmpImage empty;
        empty.bitsPerPixel = h.bitsPerPixel;
        return empty;
    }
    if (h.compression == kBiRle8 || h.compression == kBiRle4) {
        // A stream may legally skip pixels, so only the cap bounds what it costs.
        BmpImage img = AllocateImage(h);
        DecodeRle(in, h, palette, img);
        return img;
    }
    const std::uint8_t* data = PixelData(in, h);  // before the allocation
    BmpImage img = AllocateImage(h);
    DecodeUncompressed(data, h, palette, img);
    return img;
}

}  // namespace rastel
