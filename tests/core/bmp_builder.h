// Test files for the reader: every header field can be set, right or wrong.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/pixels.h"

namespace rastel::testing {

struct BmpFields {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<Bgr> palette;                      // written as given (3 bytes each for a 12-byte header)
    std::optional<std::array<std::uint32_t, 3>> masks;  // red, green, blue; inside the header or after a 40-byte one
    std::vector<std::uint8_t> pixelData;           // written after the palette
    std::optional<std::uint32_t> dataOffset;       // default: where the pixel data starts
};

inline void PutLE(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + i] = std::uint8_t(v >> (8 * i));
}

inline std::vector<std::uint8_t> BuildBmp(const BmpFields& s) {
    std::vector<std::uint8_t> f(14 + s.headerSize, 0);
    f[0] = 'B';
    f[1] = 'M';
    PutLE(f, 14, s.headerSize, 4);
    if (s.headerSize == 12) {
        PutLE(f, 18, std::uint32_t(s.width), 2);
        PutLE(f, 20, std::uint32_t(s.height), 2);
        PutLE(f, 22, s.planes, 2);
        PutLE(f, 24, s.bitsPerPixel, 2);
    } else if (s.headerSize >= 40) {
        PutLE(f, 18, std::uint32_t(s.width), 4);
        PutLE(f, 22, std::uint32_t(s.height), 4);
        PutLE(f, 26, s.planes, 2);
        PutLE(f, 28, s.bitsPerPixel, 2);
        PutLE(f, 30, s.compression, 4);
        PutLE(f, 34, std::uint32_t(s.pixelData.size()), 4);
        PutLE(f, 46, s.colorsUsed, 4);
        if (s.masks && s.headerSize >= 52)
            for (int i = 0; i < 3; ++i) PutLE(f, 54 + 4 * i, (*s.masks)[i], 4);
    }
    if (s.masks && s.headerSize == 40)
        for (std::uint32_t m : *s.masks)
            for (int i = 0; i < 4; ++i) f.push_back(std::uint8_t(m >> (8 * i)));
    for (Bgr c : s.palette) {
        f.push_back(c.b);
        f.push_back(c.g);
        f.push_back(c.r);
        if (s.headerSize != 12) f.push_back(0);
    }
    PutLE(f, 10, s.dataOffset.value_or(std::uint32_t(f.size())), 4);
    f.insert(f.end(), s.pixelData.begin(), s.pixelData.end());
    PutLE(f, 2, std::uint32_t(f.size()), 4);
    return f;
}

// Packs rows of values (palette indices, or 16/24/32-bit pixel words) into
// uncompressed file rows, bottom row first, each padded to 4 bytes. rows[0] is
// the top row of the picture.
inline std::vector<std::uint8_t> PackRows(const std::vector<std::vector<std::uint32_t>>& rows, int bitsPerPixel) {
    std::vector<std::uint8_t> out;
    for (auto r = rows.rbegin(); r != rows.rend(); ++r) {
        std::vector<std::uint8_t> line;
        if (bitsPerPixel < 8) {
            const int perByte = 8 / bitsPerPixel;
            line.assign((r->size() + perByte - 1) / perByte, 0);
            for (std::size_t x = 0; x < r->size(); ++x)
                line[x / perByte] |= std::uint8_t((*r)[x] << (8 - bitsPerPixel * (int(x % perByte) + 1)));
        } else {
            for (std::uint32_t v : *r)
                for (int i = 0; i < bitsPerPixel / 8; ++i) line.push_back(std::uint8_t(v >> (8 * i)));
        }
        while (line.size() % 4) line.push_back(0);
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

}  // namespace rastel::testing
