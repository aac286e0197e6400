// Damaged files: the reader either decodes them or raises BmpError, and the
// rows it hands over undecoded agree with decoding. Anything else (a crash, a
// sanitizer report, another exception) fails the run.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "bmp_builder.h"
#include "core/bmp.h"
#if defined(RASTEL_HAVE_GRID_IMAGES)
#include "tools/grid_images.h"
#endif

namespace rastel {
namespace {

using testing::BmpFields;
using testing::BuildBmp;
using testing::PackRows;

// Small deterministic generator, so every run damages the same bytes.
class Prng {
public:
    explicit Prng(std::uint64_t seed) : s_(seed ? seed : 1) {}
    std::uint64_t Next() {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 7;
        s_ ^= s_ << 17;
        return s_;
    }
    std::size_t Below(std::size_t n) { return n ? std::size_t(Next() % n) : 0; }

private:
    std::uint64_t s_;
};

struct Seed {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

std::vector<std::vector<std::uint32_t>> RandomRows(Prng& rng, int width, int height, std::uint32_t limit) {
    std::vector<std::vector<std::uint32_t>> rows(height, std::vector<std::uint32_t>(width));
    for (auto& row : rows)
        for (auto& v : row) v = std::uint32_t(rng.Next() % limit);
    return rows;
}

// Rows of `width` pixels as alternating encoded and absolute runs, a delta,
// and the end-of-bitmap marker.
std::vector<std::uint8_t> RleStream(Prng& rng, int width, int height, bool four) {
    std::vector<std::uint8_t> s;
    for (int y = 0; y < height; ++y) {
        int x = 0;
        bool absolute = false;
        while (x < width) {
            const int n = std::min(width - x, 3 + int(rng.Below(6)));
            if (absolute) {
                s.push_back(0);
                s.push_back(std::uint8_t(n));
                const int bytes = four ? (n + 1) / 2 : n;
                for (int i = 0; i < bytes; ++i) s.push_back(std::uint8_t(rng.Next() & (four ? 0xFF : 0x0F)));
                if (bytes & 1) s.push_back(0);
            } else {
                s.push_back(std::uint8_t(n));
                s.push_back(std::uint8_t(rng.Next() & 0x0F));
            }
            x += n;
            absolute = !absolute;
        }
        s.push_back(0);
        s.push_back(0);
    }
    s.push_back(0);
    s.push_back(1);
    return s;
}

// One small file of every kind the reader knows.
std::vector<Seed> OwnSeeds() {
    Prng rng(7);
    const int w = 37, h = 23;
    std::vector<Seed> seeds;
    std::vector<Bgr> palette256;
    for (int i = 0; i < 256; ++i) palette256.push_back(Bgr{std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7)});
    for (int bits : {1, 4, 8}) {
        for (std::uint32_t header : {12u, 40u, 124u}) {
            BmpFields s;
            s.headerSize = header;
            s.width = w;
            s.height = h;
            s.bitsPerPixel = std::uint16_t(bits);
            s.palette.assign(palette256.begin(), palette256.begin() + (1 << bits));
            s.pixelData = PackRows(RandomRows(rng, w, h, 1u << bits), bits);
            seeds.push_back({"indexed " + std::to_string(bits) + "/" + std::to_string(header), BuildBmp(s)});
        }
    }
    for (std::uint32_t header : {40u, 56u, 108u}) {
        BmpFields s;
        s.headerSize = header;
        s.width = w;
        s.height = header == 56 ? -h : h;
        s.pixelData = PackRows(RandomRows(rng, w, h, 1u << 24), 24);
        seeds.push_back({"24-bit/" + std::to_string(header), BuildBmp(s)});
    }
    {
        BmpFields s;
        s.width = w;
        s.height = h;
        s.bitsPerPixel = 16;
        s.pixelData = PackRows(RandomRows(rng, w, h, 1u << 16), 16);
        seeds.push_back({"16-bit 555", BuildBmp(s)});
        s.compression = 3;
        s.masks = {{0xF800, 0x07E0, 0x001F}};
        seeds.push_back({"16-bit fields/40", BuildBmp(s)});
        s.headerSize = 108;
        seeds.push_back({"16-bit fields/108", BuildBmp(s)});
    }
    {
        BmpFields s;
        s.width = w;
        s.height = -h;
        s.bitsPerPixel = 32;
        s.pixelData = PackRows(RandomRows(rng, w, h, 0xFFFFFFFFu), 32);
        seeds.push_back({"32-bit", BuildBmp(s)});
        s.compression = 3;
        s.masks = {{0x3FF00000u, 0x000FFC00u, 0x000003FFu}};
        seeds.push_back({"32-bit fields", BuildBmp(s)});
    }
    for (bool four : {false, true}) {
        BmpFields s;
        s.width = w;
        s.height = h;
        s.bitsPerPixel = four ? 4 : 8;
        s.compression = four ? 2 : 1;
        s.palette.assign(palette256.begin(), palette256.begin() + 16);
        s.colorsUsed = 16;
        s.pixelData = RleStream(rng, w, h, four);
        seeds.push_back({four ? "RLE4" : "RLE8", BuildBmp(s)});
    }
    return seeds;
}

struct Outcome {
    int decoded = 0;
    int refused = 0;
    int stored = 0;  // given as stored rows
};

// The colour of pixel (x, y) of rows kept as the file stores them.
Bgr StoredPixel(const BmpRows& rows, int x, int y) {
    const std::uint8_t* row = rows.Row(y);
    if (rows.bitsPerPixel == 24) return Bgr{row[3 * x], row[3 * x + 1], row[3 * x + 2]};
    const unsigned bit = unsigned(x) * unsigned(rows.bitsPerPixel);
    return rows.palette[(row[bit >> 3] >> (8 - (bit & 7) - unsigned(rows.bitsPerPixel))) & ((1u << rows.bitsPerPixel) - 1)];
}

// Besides decoding: the rows the file stores are refused only where decoding
// refuses, lie inside the file, and hold the colours decoding gives.
void Exercise(std::span<const std::uint8_t> file, Outcome& outcome) {
    std::optional<BmpImage> img;
    try {
        img = DecodeBmp(file);
        if (!img->Empty()) {
            ASSERT_GE(img->stride, std::size_t(img->width) * 3);
            ASSERT_EQ(img->pixels.size(), img->stride * std::size_t(img->height));
        }
        ++outcome.decoded;
    } catch (const BmpError&) {
        ++outcome.refused;
    }
    std::optional<BmpRows> rows;
    try {
        rows = StoredBmpRows(file);
    } catch (const BmpError&) {
        ASSERT_FALSE(img) << "stored rows refused, decoding not";
        return;
    }
    if (!rows) return;
    ++outcome.stored;
    ASSERT_TRUE(img) << "stored rows given, decoding refused";
    ASSERT_EQ(rows->width, img->width);
    ASSERT_EQ(rows->height, img->height);
    ASSERT_EQ(rows->palette.size(), rows->bitsPerPixel == 24 ? 0u : std::size_t(1) << rows->bitsPerPixel);
    for (int y = 0; y < rows->height; ++y) {
        ASSERT_TRUE(rows->Row(y) >= file.data() && rows->Row(y) + rows->rowBytes <= file.data() + file.size())
            << "row " << y << " outside the file";
        const std::uint8_t* p = img->pixels.data() + std::size_t(y) * img->stride;
        int x = 0;
        while (x < rows->width && StoredPixel(*rows, x, y) == Bgr{p[3 * x], p[3 * x + 1], p[3 * x + 2]}) ++x;
        ASSERT_EQ(x, rows->width) << "pixel " << x << "," << y << " differs";
    }
}

// Damages `seed` in place in three ways and restores it after each try:
// files cut short, single header bytes replaced, and a few bytes anywhere
// flipped. `tries` bounds the work for large files.
void Damage(std::vector<std::uint8_t>& file, Prng& rng, int tries, Outcome& outcome) {
    const std::size_t size = file.size();
    const std::span<const std::uint8_t> whole(file);
    // Cut short: every length through the headers and palette, then spread out.
    const std::size_t dense = std::min<std::size_t>(size, 160);
    for (std::size_t n = 0; n < dense; n += (tries >= 64 ? 1 : 4)) Exercise(whole.first(n), outcome);
    for (int i = 0; i < tries; ++i) Exercise(whole.first(dense + rng.Below(size - dense + 1)), outcome);
    // Header bytes set to telling values.
    const std::uint8_t values[] = {0x00, 0xFF, 0x80, 0x7F, 0x01};
    for (int i = 0; i < tries * 2; ++i) {
        const std::size_t at = rng.Below(std::min<std::size_t>(size, 160));
        const std::uint8_t old = file[at];
        file[at] = (i & 1) ? values[rng.Below(5)] : std::uint8_t(rng.Next());
        Exercise(whole, outcome);
        file[at] = old;
    }
    // A few random bytes anywhere (pixel data, RLE codes).
    for (int i = 0; i < tries; ++i) {
        std::size_t at[4];
        std::uint8_t old[4];
        const int n = 1 + int(rng.Below(4));
        for (int k = 0; k < n; ++k) {
            at[k] = rng.Below(size);
            old[k] = file[at[k]];
            file[at[k]] ^= std::uint8_t(1 + rng.Below(255));
        }
        Exercise(whole, outcome);
        for (int k = n - 1; k >= 0; --k) file[at[k]] = old[k];
    }
}

TEST(BmpRobustness, DamagedFilesOfEveryKindDecodeOrAreRefused) {
    Prng rng(12345);
    for (Seed& seed : OwnSeeds()) {
        SCOPED_TRACE(seed.name);
        Outcome undamaged;
        Exercise(seed.bytes, undamaged);
        ASSERT_EQ(undamaged.decoded, 1) << "seed does not decode";
        Outcome outcome;
        Damage(seed.bytes, rng, 150, outcome);
        // Both outcomes occur, or the damage did not reach the decoder.
        EXPECT_GT(outcome.decoded, 0);
        EXPECT_GT(outcome.refused, 0);
        // Uncompressed files of 1, 4, 8 and 24 bits are read as stored.
        if (seed.name.rfind("indexed", 0) == 0 || seed.name.rfind("24-bit", 0) == 0) {
            EXPECT_EQ(undamaged.stored, 1);
        } else {
            EXPECT_EQ(outcome.stored, 0);
        }
    }
}

#if defined(RASTEL_HAVE_GRID_IMAGES)
TEST(BmpRobustness, DamagedDefaultGridImagesDecodeOrAreRefused) {
    Prng rng(67890);
    // The default pictures as the 96-dpi window shows them: the same kinds of
    // file as the full set, with a tenth of its pixels to decode each time.
    std::vector<GridImageFile> files = MakeGridImages(747, 529);
    ASSERT_FALSE(files.empty());
    for (GridImageFile& f : files) {
        SCOPED_TRACE(f.name);
        Outcome outcome;
        Damage(f.bytes, rng, 12, outcome);
        EXPECT_GT(outcome.decoded, 0);
        EXPECT_GT(outcome.refused, 0);
    }
}
#endif

}  // namespace
}  // namespace rastel
