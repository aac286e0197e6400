// Bitmap file writers: bottom-up rows, 40-byte info header, no compression.
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <unordered_map>

#include "core/bmp.h"

namespace rastel {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dpi

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t v) {
    out[at] = std::uint8_t(v);
    out[at + 1] = std::uint8_t(v >> 8);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = std::uint8_t(v >> (8 * i));
}

std::uint32_t Key(Bgr c) { return std::uint32_t(c.b) | (std::uint32_t(c.g) << 8) | (std::uint32_t(c.r) << 16); }

Bgr PixelAt(const std::uint8_t* row, int x) { return {row[3 * x], row[3 * x + 1], row[3 * x + 2]}; }

// Lays out headers and palette and returns the file with zeroed pixel rows.
// Sizes are checked so that every header field fits its 32 bits.
struct Layout {
    std::vector<std::uint8_t> file;
    std::size_t stride = 0;
    std::size_t pixelsAt = 0;
};

Layout StartFile(ConstBgrView src, int bitsPerPixel, const std::vector<Bgr>& palette) {
    if (src.width <= 0 || src.height <= 0 || src.data == nullptr)
        throw std::invalid_argument("bitmap to write has no pixels");
    const std::uint64_t rowBits = std::uint64_t(src.width) * std::uint64_t(bitsPerPixel);
    const std::uint64_t stride = (rowBits + 31) / 32 * 4;
    const std::uint64_t imageSize = stride * std::uint64_t(src.height);
    const std::uint64_t pixelsAt = kFileHeaderSize + kInfoHeaderSize + 4 * std::uint64_t(palette.size());
    const std::uint64_t fileSize = pixelsAt + imageSize;
    if (fileSize > std::numeric_limits<std::uint32_t>::max() ||
        std::uint64_t(src.height) > std::uint64_t(std::numeric_limits<std::int32_t>::max()))
        throw std::invalid_argument("bitmap too large for a .bmp file");

    Layout l;
    l.stride = std::size_t(stride);
    l.pixelsAt = std::size_t(pixelsAt);
    l.file.assign(std::size_t(fileSize), 0);
    auto& f = l.file;
    f[0] = 'B';
    f[1] = 'M';
    Put32(f, 2, std::uint32_t(fileSize));
    Put32(f, 10, std::uint32_t(pixelsAt));
    Put32(f, 14, kInfoHeaderSize);
    Put32(f, 18, std::uint32_t(src.width));
    Put32(f, 22, std::uint32_t(src.height));  // positive: bottom-up
    Put16(f, 26, 1);
    Put16(f, 28, std::uint16_t(bitsPerPixel));
    Put32(f, 30, 0);  // BI_RGB
    Put32(f, 34, std::uint32_t(imageSize));
    Put32(f, 38, std::uint32_t(kPixelsPerMetre));
    Put32(f, 42, std::uint32_t(kPixelsPerMetre));
    Put32(f, 46, std::uint32_t(palette.size()));
    Put32(f, 50, 0);
    std::size_t at = kFileHeaderSize + kInfoHeaderSize;
    for (Bgr c : palette) {
        f[at] = c.b;
        f[at + 1] = c.g;
        f[at + 2] = c.r;
        at += 4;
    }
    return l;
}

// File row for image row y (the file stores the bottom row first).
std::uint8_t* FileRow(Layout& l, int height, int y) {
    return l.file.data() + l.pixelsAt + std::size_t(height - 1 - y) * l.stride;
}

// Palette in order of first appearance from the top row, so equal pictures
// give equal files; 4 or 8 bits per index.
std::vector<std::uint8_t> EncodeIndexed(ConstBgrView pixels, int bitsPerPixel) {
    if (pixels.width <= 0 || pixels.height <= 0 || pixels.data == nullptr)
        throw std::invalid_argument("bitmap to write has no pixels");
    const std::size_t limit = std::size_t(1) << bitsPerPixel;
    std::vector<Bgr> palette;
    std::unordered_map<std::uint32_t, std::uint8_t> index;
    std::vector<std::uint8_t> indices(std::size_t(pixels.width) * std::size_t(pixels.height));
    std::size_t n = 0;
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint8_t* src = pixels.Row(y);
        std::uint32_t lastKey = 0xFFFFFFFF;
        std::uint8_t lastIndex = 0;
        for (int x = 0; x < pixels.width; ++x, ++n) {
            const Bgr c = PixelAt(src, x);
            const std::uint32_t k = Key(c);
            if (k != lastKey) {
                auto it = index.find(k);
                if (it == index.end()) {
                    if (palette.size() == limit)
                        throw std::invalid_argument("more than " + std::to_string(limit) + " colours for a " +
                                                    std::to_string(bitsPerPixel) + "-bit bitmap");
                    it = index.emplace(k, std::uint8_t(palette.size())).first;
                    palette.push_back(c);
                }
                lastKey = k;
                lastIndex = it->second;
            }
            indices[n] = lastIndex;
        }
    }
    Layout l = StartFile(pixels, bitsPerPixel, palette);
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint8_t* src = indices.data() + std::size_t(y) * std::size_t(pixels.width);
        std::uint8_t* dst = FileRow(l, pixels.height, y);
        if (bitsPerPixel == 8) {
            std::memcpy(dst, src, std::size_t(pixels.width));
        } else {
            for (int x = 0; x < pixels.width; ++x) dst[x >> 1] |= std::uint8_t(x & 1 ? src[x] : src[x] << 4);
        }
    }
    return std::move(l.file);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp1(ConstBgrView pixels, Bgr white, Bgr ink) {
    Layout l = StartFile(pixels, 1, {ink, Bgr{255, 255, 255}});
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint8_t* src = pixels.Row(y);
        std::uint8_t* dst = FileRow(l, pixels.height, y);
        for (int x = 0; x < pixels.width; ++x)
            if (PixelAt(src, x) == white) dst[x >> 3] |= std::uint8_t(0x80 >> (x & 7));
    }
    return std::move(l.file);
}

std::vector<std::uint8_t> EncodeBmp4(ConstBgrView pixels) { return EncodeIndexed(pixels, 4); }
std::vector<std::uint8_t> EncodeBmp8(ConstBgrView pixels) { return EncodeIndexed(pixels, 8); }

std::vector<std::uint8_t> EncodeBmp24(ConstBgrView pixels) {
    Layout l = StartFile(pixels, 24, {});
    for (int y = 0; y < pixels.height; ++y)
        std::memcpy(FileRow(l, pixels.height, y), pixels.Row(y), std::size_t(pixels.width) * 3);
    return std::move(l.file);
}

}  // namespace rastel
