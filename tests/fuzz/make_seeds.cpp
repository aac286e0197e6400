// Writes the fuzzer's seed pictures into a folder: small bitmaps of the kinds
// the decoder reads and a few it refuses, each a few hundred bytes, so the
// fuzzer spends its time on mutations rather than on large pictures.
// tests/fuzz/seeds holds exactly what this writes; scripts/fuzz checks it.
// The list is the set libFuzzer's -merge=1 keeps: a variant that adds no
// coverage to the others is left out.
//
//   make_seeds FOLDER
#include <array>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/bmp.h"
#include "tests/core/bmp_builder.h"

namespace {

using rastel::Bgr;
using rastel::BmpRefusal;
using rastel::testing::BmpFields;
using rastel::testing::BuildBmp;
using rastel::testing::PackRows;
using rastel::testing::PutLE;
using Bytes = std::vector<std::uint8_t>;
using Rows = std::vector<std::vector<std::uint32_t>>;

constexpr int kWidth = 21;  // past one 16-pixel step of the region scan, odd for padding
constexpr int kHeight = 6;

// A tiny grid: background 0, lines 1, crossings 2 and one odd pixel 3, so
// some rows repeat (bands merge) and one differs from its neighbours. The
// bottom-left pixel is background.
std::uint32_t Index(int x, int y) {
    if (x == kWidth - 1 && y == 3) return 3;
    const bool column = x % 5 == 2, row = y % 5 == 1;
    return column && row ? 2 : (column || row) ? 1 : 0;
}

Rows Indices(int width, int height, std::uint32_t levels) {
    Rows rows(std::size_t(height), std::vector<std::uint32_t>(std::size_t(width), 0));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) rows[std::size_t(y)][std::size_t(x)] = Index(x, y) % levels;
    return rows;
}

const std::vector<Bgr> kColours = {{255, 255, 255}, {235, 206, 135}, {128, 0, 0}, {0, 0, 255}};

// The picture's colours packed as pixel words by channel masks (red, green, blue).
Rows Words(const std::array<std::uint32_t, 3>& masks) {
    Rows rows = Indices(kWidth, kHeight, 4);
    for (auto& row : rows)
        for (auto& v : row) {
            const Bgr c = kColours[v];
            const std::uint32_t channel[3] = {c.r, c.g, c.b};
            std::uint32_t word = 0;
            for (int i = 0; i < 3; ++i) {
                const int shift = std::countr_zero(masks[i]);
                const std::uint64_t max = masks[i] >> shift;
                word |= std::uint32_t((channel[i] * max + 127) / 255) << shift;
            }
            v = word;
        }
    return rows;
}

constexpr std::array<std::uint32_t, 3> k555 = {0x7C00, 0x03E0, 0x001F};
constexpr std::array<std::uint32_t, 3> k565 = {0xF800, 0x07E0, 0x001F};
constexpr std::array<std::uint32_t, 3> k888 = {0xFF0000, 0xFF00, 0xFF};

BmpFields Paletted(int bits, std::uint32_t headerSize = 40) {
    BmpFields s;
    s.headerSize = headerSize;
    s.width = kWidth;
    s.height = kHeight;
    s.bitsPerPixel = std::uint16_t(bits);
    s.palette = kColours;
    s.palette.resize(std::size_t(1) << bits, Bgr{64, 64, 64});
    s.pixelData = PackRows(Indices(kWidth, kHeight, bits == 1 ? 2 : 4), bits);
    return s;
}

BmpFields Direct(int bits, const std::array<std::uint32_t, 3>& masks, std::uint32_t headerSize = 40) {
    BmpFields s;
    s.headerSize = headerSize;
    s.width = kWidth;
    s.height = kHeight;
    s.bitsPerPixel = std::uint16_t(bits);
    s.pixelData = PackRows(Words(masks), bits);
    return s;
}

BmpFields Fields(int bits, const std::array<std::uint32_t, 3>& masks, std::uint32_t headerSize) {
    BmpFields s = Direct(bits, masks, headerSize);
    s.compression = 3;
    s.masks = masks;
    return s;
}

// Rows top to bottom become file rows bottom to top, with negative height.
BmpFields TopDown(BmpFields s) {
    const std::size_t row = s.pixelData.size() / std::size_t(s.height);
    Bytes flipped;
    for (std::size_t r = std::size_t(s.height); r-- > 0;)
        flipped.insert(flipped.end(), s.pixelData.begin() + std::ptrdiff_t(r * row),
                       s.pixelData.begin() + std::ptrdiff_t((r + 1) * row));
    s.pixelData = flipped;
    s.height = -s.height;
    return s;
}

// The picture as an RLE stream, bottom row first: runs of equal pixels as
// encoded runs, the row with the odd pixel as one absolute run (odd, so
// padded), the bottom row's leading background as a delta, each row's
// trailing background left to its end of line and the top row's to the end
// of the bitmap.
Bytes RleStream(bool four) {
    const Rows rows = Indices(kWidth, kHeight, 4);
    Bytes s;
    for (int y = kHeight - 1; y >= 0; --y) {
        const auto& row = rows[std::size_t(y)];
        int end = kWidth;
        while (end > 0 && row[std::size_t(end) - 1] == 0) --end;
        int x = 0;
        if (y == kHeight - 1) {
            while (row[std::size_t(x)] == 0) ++x;
            s.insert(s.end(), {0, 2, std::uint8_t(x), 0});
        }
        if (y == 3) {
            s.insert(s.end(), {0, std::uint8_t(end)});
            if (four) {
                for (int i = 0; i < end; i += 2)
                    s.push_back(std::uint8_t(row[std::size_t(i)] << 4 | (i + 1 < end ? row[std::size_t(i) + 1] : 0)));
            } else {
                for (int i = 0; i < end; ++i) s.push_back(std::uint8_t(row[std::size_t(i)]));
            }
            if (s.size() % 2) s.push_back(0);
            x = end;
        }
        while (x < end) {
            int n = 1;
            while (x + n < end && row[std::size_t(x + n)] == row[std::size_t(x)]) ++n;
            const std::uint32_t v = row[std::size_t(x)];
            s.insert(s.end(), {std::uint8_t(n), std::uint8_t(four ? v << 4 | v : v)});
            x += n;
        }
        if (y > 0) s.insert(s.end(), {0, 0});
    }
    s.insert(s.end(), {0, 1});
    return s;
}

BmpFields RleBitmap(bool four) {
    BmpFields s = Paletted(four ? 4 : 8);
    s.compression = four ? 2 : 1;
    s.colorsUsed = 4;
    s.palette.resize(4);
    s.pixelData = RleStream(four);
    return s;
}

struct Seed {
    std::string name;
    Bytes bytes;
    std::optional<BmpRefusal> refusal;  // what the decoder must say, if it refuses
};

std::vector<Seed> Seeds() {
    std::vector<Seed> seeds;
    auto add = [&](std::string name, const BmpFields& s, std::optional<BmpRefusal> refusal = std::nullopt) {
        seeds.push_back({std::move(name), BuildBmp(s), refusal});
    };

    // Palettes of 2, 16 and 256 entries and one cut short (indices past it
    // read black); the old 12-byte header with 3-byte entries.
    add("1bit-topdown.bmp", TopDown(Paletted(1)));
    add("1bit-core.bmp", Paletted(1, 12));
    add("4bit.bmp", Paletted(4));
    {
        BmpFields s = Paletted(4);
        s.colorsUsed = 3;
        s.palette.resize(3);
        add("4bit-short-palette.bmp", s);
    }
    add("8bit-core.bmp", Paletted(8, 12));
    // A 1-bit picture wider than the client area, so only part of it counts.
    {
        BmpFields s;
        s.width = 760;
        s.height = 3;
        s.bitsPerPixel = 1;
        s.palette = {kColours[0], kColours[1]};
        s.pixelData = PackRows(Indices(s.width, s.height, 2), 1);
        add("1bit-wide.bmp", s);
    }

    // Direct colour: 16 bits 5-5-5 by default or by masks inside the larger
    // headers, 24 bits in old and new headers, 32 bits plain, by masks after
    // the 40-byte header and by wide channels (past the lookup tables).
    add("16bit.bmp", Direct(16, k555));
    add("16bit-565-v2.bmp", Fields(16, k565, 52));
    add("16bit-444-v3.bmp", Fields(16, {0x0F00, 0x00F0, 0x000F}, 56));
    add("24bit-core.bmp", Direct(24, k888, 12));
    add("24bit-v4.bmp", Direct(24, k888, 108));
    add("24bit-v5.bmp", Direct(24, k888, 124));
    add("32bit.bmp", Direct(32, k888));
    add("32bit-fields-101010.bmp", Fields(32, {0x3FF00000, 0x000FFC00, 0x000003FF}, 40));
    add("32bit-fields-wide-v5.bmp", TopDown(Fields(32, {0xFFFFE000, 0x00001FE0, 0x0000001F}, 124)));

    add("rle8.bmp", RleBitmap(false));
    add("rle4.bmp", RleBitmap(true));
    {
        BmpFields s = Paletted(1);
        s.width = 0;
        s.pixelData.clear();
        add("empty.bmp", s);
    }

    // Refused: every reason, some at more than one place.
    using R = BmpRefusal;
    {
        Bytes b = BuildBmp(Direct(24, k888));
        b[1] = 'A';
        seeds.push_back({"refused-signature.bmp", b, R::NotABitmap});
    }
    {
        BmpFields s = Direct(24, k888);
        s.headerSize = 64;  // the OS/2 2.x header
        add("refused-header-64.bmp", s, R::Unsupported);
    }
    {
        Bytes b = BuildBmp(Direct(24, k888));
        b.resize(30);
        seeds.push_back({"refused-header-cut.bmp", b, R::Truncated});
    }
    {
        BmpFields s = Direct(24, k888);
        s.compression = 4;  // JPEG
        add("refused-jpeg.bmp", s, R::Unsupported);
    }
    {
        BmpFields s = Paletted(4);
        s.bitsPerPixel = 2;
        add("refused-2bit.bmp", s, R::Unsupported);
    }
    {
        BmpFields s = Direct(24, k888);
        s.planes = 3;
        add("refused-planes.bmp", s, R::Malformed);
    }
    {
        BmpFields s = Fields(16, k565, 40);
        s.masks = std::array<std::uint32_t, 3>{0xF800, 0x0FE0, 0x001F};
        add("refused-masks-overlap.bmp", s, R::Malformed);
    }
    {
        BmpFields s = Direct(24, k888);
        s.dataOffset = 20;
        add("refused-data-offset.bmp", s, R::Malformed);
    }
    {
        BmpFields s = Direct(24, k888);
        s.width = 40000;
        add("refused-too-wide.bmp", s, R::TooLarge);
    }
    {
        BmpFields s = Paletted(1);
        s.colorsUsed = 3;
        add("refused-palette-count.bmp", s, R::BadPalette);
    }
    {
        BmpFields s = Direct(24, k888);
        s.pixelData.resize(s.pixelData.size() - 2);
        add("refused-pixels-cut.bmp", s, R::MissingPixels);
    }
    {
        BmpFields s = RleBitmap(false);
        s.height = -s.height;
        add("refused-rle-topdown.bmp", s, R::Unsupported);
    }
    {
        BmpFields s = RleBitmap(false);
        s.pixelData = {kWidth + 1, 1, 0, 1};
        add("refused-rle-past-row.bmp", s, R::BadRunLength);
    }
    {
        BmpFields s = RleBitmap(true);
        s.pixelData.resize(s.pixelData.size() - 2);  // no end of bitmap
        add("refused-rle-no-end.bmp", s, R::BadRunLength);
    }
    return seeds;
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "make_seeds: %s\n", what.c_str());
    std::exit(1);
}

// Each seed must still be what its name says once the decoder has read it.
void Check(const Seed& seed) {
    try {
        rastel::DecodeBmp(seed.bytes);
        if (seed.refusal) Fail(seed.name + " decodes but should be refused");
    } catch (const rastel::BmpError& e) {
        if (!seed.refusal) Fail(seed.name + " is refused");
        if (e.Reason() != *seed.refusal) Fail(seed.name + " is refused for another reason");
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds FOLDER\n");
        return 2;
    }
    for (const Seed& seed : Seeds()) {
        Check(seed);
        const std::string path = std::string(argv[1]) + "/" + seed.name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(seed.bytes.data()), std::streamsize(seed.bytes.size()));
        if (!out) Fail("cannot write " + path);
    }
    return 0;
}
