#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "bmp_builder.h"
#include "core/bmp.h"

namespace rastel {
namespace {

using testing::BmpFields;
using testing::BuildBmp;
using testing::PackRows;

Bgr PixelAt(const BmpImage& img, int x, int y) {
    const std::uint8_t* p = img.pixels.data() + std::size_t(y) * img.stride + std::size_t(x) * 3;
    return Bgr{p[0], p[1], p[2]};
}

constexpr Bgr kBlack{0, 0, 0};
constexpr Bgr kWhite{255, 255, 255};
constexpr Bgr kBlue{255, 0, 0};
constexpr Bgr kGreen{0, 255, 0};
constexpr Bgr kRed{0, 0, 255};
constexpr Bgr kGrey{128, 128, 128};

std::uint32_t Word(Bgr c) { return c.b | (c.g << 8) | (c.r << 16); }

// The 3 x 2 picture most cases decode: top row red, green, blue; bottom row
// white, black, grey.
const std::vector<std::vector<Bgr>> kPicture = {{kRed, kGreen, kBlue}, {kWhite, kBlack, kGrey}};

void ExpectPicture(const BmpImage& img) {
    ASSERT_EQ(img.width, 3);
    ASSERT_EQ(img.height, 2);
    EXPECT_EQ(img.stride, 12u);
    ASSERT_EQ(img.pixels.size(), 24u);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelAt(img, x, y), kPicture[y][x]) << x << "," << y;
}

// The picture as palette indices into kPicturePalette.
const std::vector<Bgr> kPicturePalette = {kRed, kGreen, kBlue, kWhite, kBlack, kGrey};
const std::vector<std::vector<std::uint32_t>> kPictureIndices = {{0, 1, 2}, {3, 4, 5}};

BmpFields Picture24() {
    BmpFields s;
    s.width = 3;
    s.height = 2;
    std::vector<std::vector<std::uint32_t>> rows;
    for (const auto& r : kPicture) rows.push_back({Word(r[0]), Word(r[1]), Word(r[2])});
    s.pixelData = PackRows(rows, 24);
    return s;
}

BmpFields Picture8(std::uint32_t headerSize) {
    BmpFields s;
    s.headerSize = headerSize;
    s.width = 3;
    s.height = 2;
    s.bitsPerPixel = 8;
    s.palette = kPicturePalette;
    if (headerSize == 12) s.palette.resize(256);  // the old header has no count: always a full palette
    else s.colorsUsed = std::uint32_t(kPicturePalette.size());
    s.pixelData = PackRows(kPictureIndices, 8);
    return s;
}

TEST(BmpRead, TwentyFourBitBottomUpAndTopDown) {
    BmpFields s = Picture24();
    BmpImage bottomUp = DecodeBmp(BuildBmp(s));
    ExpectPicture(bottomUp);
    EXPECT_EQ(bottomUp.bitsPerPixel, 24);

    s.height = -2;  // same rows, stored top row first
    std::vector<std::vector<std::uint32_t>> rows;
    for (auto r = kPicture.rbegin(); r != kPicture.rend(); ++r) rows.push_back({Word((*r)[0]), Word((*r)[1]), Word((*r)[2])});
    s.pixelData = PackRows(rows, 24);
    ExpectPicture(DecodeBmp(BuildBmp(s)));
}

TEST(BmpRead, EveryHeaderSizeGivesTheSamePicture) {
    for (std::uint32_t size : {12u, 40u, 52u, 56u, 108u, 124u}) {
        SCOPED_TRACE(size);
        BmpImage img = DecodeBmp(BuildBmp(Picture8(size)));
        ExpectPicture(img);
        EXPECT_EQ(img.bitsPerPixel, 8);
    }
    BmpFields core = Picture24();
    core.headerSize = 12;
    ExpectPicture(DecodeBmp(BuildBmp(core)));
}

TEST(BmpRead, OneAndFourBitIndicesPackFromTheHighBit) {
    // 11 pixels wide: a partial last byte in both depths.
    std::vector<std::uint32_t> oneBit = {1, 0, 0, 1, 1, 1, 0, 1, 0, 1, 1};
    BmpFields s;
    s.width = 11;
    s.height = 1;
    s.bitsPerPixel = 1;
    s.palette = {kBlue, kRed};
    s.pixelData = PackRows({oneBit}, 1);
    BmpImage img = DecodeBmp(BuildBmp(s));
    EXPECT_EQ(img.bitsPerPixel, 1);
    EXPECT_EQ(img.stride, 36u);
    for (int x = 0; x < 11; ++x) EXPECT_EQ(PixelAt(img, x, 0), oneBit[x] ? kRed : kBlue) << x;

    std::vector<std::uint32_t> fourBit = {0, 15, 3, 4, 5, 6, 7, 8, 9, 10, 1};
    std::vector<Bgr> palette;
    for (int i = 0; i < 16; ++i) palette.push_back(Bgr{std::uint8_t(i), std::uint8_t(i * 2), std::uint8_t(i * 3)});
    s.bitsPerPixel = 4;
    s.palette = palette;
    s.pixelData = PackRows({fourBit}, 4);
    img = DecodeBmp(BuildBmp(s));
    EXPECT_EQ(img.bitsPerPixel, 4);
    for (int x = 0; x < 11; ++x) EXPECT_EQ(PixelAt(img, x, 0), palette[fourBit[x]]) << x;
}

TEST(BmpRead, IndexBeyondAShortPaletteReadsAsBlack) {
    BmpFields s = Picture8(40);
    s.palette = {kRed, kGreen};
    s.colorsUsed = 2;
    BmpImage img = DecodeBmp(BuildBmp(s));
    EXPECT_EQ(PixelAt(img, 0, 0), kRed);
    EXPECT_EQ(PixelAt(img, 1, 0), kGreen);
    EXPECT_EQ(PixelAt(img, 2, 0), kBlack);
    EXPECT_EQ(PixelAt(img, 0, 1), kBlack);
}

TEST(BmpRead, SixteenBitDefaultsTo555AndScalesToFullRange) {
    BmpFields s;
    s.width = 4;
    s.height = 1;
    s.bitsPerPixel = 16;
    // (r, g, b) 5-bit values: (31,0,0) (0,31,0) (16,1,0) top bit set must be ignored
    s.pixelData = PackRows({{31u << 10, 31u << 5, (16u << 10) | (1u << 5), 0x8000u | 31u}}, 16);
    BmpImage img = DecodeBmp(BuildBmp(s));
    EXPECT_EQ(PixelAt(img, 0, 0), (Bgr{0, 0, 255}));
    EXPECT_EQ(PixelAt(img, 1, 0), (Bgr{0, 255, 0}));
    // Rounded: 16 -> (16*255 + 15) / 31 = 132, 1 -> 8.
    EXPECT_EQ(PixelAt(img, 2, 0), (Bgr{0, 8, 132}));
    EXPECT_EQ(PixelAt(img, 3, 0), (Bgr{255, 0, 0}));
}

TEST(BmpRead, SixteenBitFieldsFromEitherPlace) {
    // 5-6-5: (r, g, b) = (31, 63, 0) and (0, 32, 31).
    const std::vector<std::uint32_t> row = {(31u << 11) | (63u << 5), (32u << 5) | 31u};
    for (std::uint32_t size : {40u, 52u, 108u, 124u}) {
        SCOPED_TRACE(size);
        BmpFields s;
        s.headerSize = size;
        s.width = 2;
        s.height = 1;
        s.bitsPerPixel = 16;
        s.compression = 3;
        s.masks = {{0xF800, 0x07E0, 0x001F}};
        s.pixelData = PackRows({row}, 16);
        BmpImage img = DecodeBmp(BuildBmp(s));
        EXPECT_EQ(PixelAt(img, 0, 0), (Bgr{0, 255, 255}));
        EXPECT_EQ(PixelAt(img, 1, 0), (Bgr{255, 130, 0}));  // (32*255 + 31) / 63 = 130
    }
}

TEST(BmpRead, ThirtyTwoBitPlainAndBitFields) {
    BmpFields s;
    s.width = 2;
    s.height = 1;
    s.bitsPerPixel = 32;
    s.pixelData = PackRows({{0xFF102030u, 0x00A0B0C0u}}, 32);  // the top byte is ignored
    BmpImage img = DecodeBmp(BuildBmp(s));
    EXPECT_EQ(PixelAt(img, 0, 0), (Bgr{0x30, 0x20, 0x10}));
    EXPECT_EQ(PixelAt(img, 1, 0), (Bgr{0xC0, 0xB0, 0xA0}));

    // Channels in the top three bytes, and a 10-10-10 layout.
    s.compression = 3;
    s.masks = {{0xFF000000u, 0x00FF0000u, 0x0000FF00u}};
    s.pixelData = PackRows({{0x11223344u, 0xAABBCCDDu}}, 32);
    img = DecodeBmp(BuildBmp(s));
    EXPECT_EQ(PixelAt(img, 0, 0), (Bgr{0x33, 0x22, 0x11}));
    EXPECT_EQ(PixelAt(img, 1, 0), (Bgr{0xCC, 0xBB, 0xAA}));

    s.masks = {{0x3FF00000u, 0x000FFC00u, 0x000003FFu}};
    s.pixelData = PackRows({{(1023u << 20) | (512u << 10), 1u}}, 32);
    img = DecodeBmp(BuildBmp(s));
    EXPECT_EQ(PixelAt(img, 0, 0), (Bgr{0, 128, 255}));  // (512*255 + 511) / 1023 = 128
    EXPECT_EQ(PixelAt(img, 1, 0), (Bgr{0, 0, 0}));      // (255 + 511) / 1023 = 0
}

TEST(BmpRead, LastRowMayLackItsPadding) {
    BmpFields s = Picture24();
    s.pixelData.resize(s.pixelData.size() - 3);  // 9 pixel bytes + 3 padding in the top row
    ExpectPicture(DecodeBmp(BuildBmp(s)));
}

TEST(BmpRead, ZeroWidthOrHeightIsEmptyNotAnError) {
    for (auto [w, h] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{0, 0}}) {
        BmpFields s;
        s.width = w;
        s.height = h;
        BmpImage img = DecodeBmp(BuildBmp(s));
        EXPECT_TRUE(img.Empty());
        EXPECT_TRUE(img.pixels.empty());
    }
}

// RLE8, 4 x 3, bottom-up: a run on the bottom row, an odd absolute run
// (padded) on the middle one, a delta and a single pixel on the top one.
// Pixels never written show palette entry 0.
TEST(BmpRead, Rle8RunsAbsoluteDeltaAndBackground) {
    BmpFields s;
    s.width = 4;
    s.height = 3;
    s.bitsPerPixel = 8;
    s.compression = 1;
    s.palette = {kGrey, kRed, kGreen, kBlue};
    s.colorsUsed = 4;
    s.pixelData = {3, 1,              // 3 x index 1
                   0, 0,              // end of line
                   0, 3, 2, 3, 1, 0,  // absolute 2 3 1, one pad byte
                   0, 0,              // end of line
                   0, 2, 1, 0,        // delta: one column right
                   1, 2,              // index 2
                   0, 1};             // end of bitmap
    BmpImage img = DecodeBmp(BuildBmp(s));
    EXPECT_EQ(img.bitsPerPixel, 8);
    const std::vector<std::vector<Bgr>> expected = {{kGrey, kGreen, kGrey, kGrey},
                                                   {kGreen, kBlue, kRed, kGrey},
                                                   {kRed, kRed, kRed, kGrey}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(img, x, y), expected[y][x]) << x << "," << y;
}

TEST(BmpRead, Rle4AlternatesNibbles) {
    BmpFields s;
    s.width = 7;
    s.height = 2;
    s.bitsPerPixel = 4;
    s.compression = 2;
    for (int i = 0; i < 16; ++i) s.palette.push_back(Bgr{std::uint8_t(i * 16), 0, 0});
    s.pixelData = {5, 0x12,                    // 1 2 1 2 1
                   0, 0,                       // end of line
                   0, 5, 0xAB, 0xC3, 0x40, 0,  // absolute A B C 3 4: 3 bytes and a pad byte
                   2, 0x56,                    // 5 6
                   0, 1};
    BmpImage img = DecodeBmp(BuildBmp(s));
    const std::vector<int> top = {0xA, 0xB, 0xC, 3, 4, 5, 6};
    const std::vector<int> bottom = {1, 2, 1, 2, 1, 0, 0};
    for (int x = 0; x < 7; ++x) {
        EXPECT_EQ(PixelAt(img, x, 0).b, top[x] * 16) << x;
        EXPECT_EQ(PixelAt(img, x, 1).b, bottom[x] * 16) << x;
    }
}

TEST(BmpRead, RefusalCarriesTheUserText) {
    try {
        DecodeBmp(std::vector<std::uint8_t>{'X', 'M'});
        FAIL() << "no error";
    } catch (const BmpError& e) {
        EXPECT_STREQ(e.what(), "ビットマップイメージが不正です");
    }
}

// A named mutation of an otherwise valid file.
struct Malformed {
    const char* what;
    BmpRefusal why;
    std::vector<std::uint8_t> file;
};

// A picture of w x h pixels with all its pixel data, zero throughout.
std::vector<std::uint8_t> Blank(std::int32_t w, std::int32_t h, std::uint16_t bits) {
    BmpFields s;
    s.width = w;
    s.height = h;
    s.bitsPerPixel = bits;
    if (bits <= 8) s.palette = {kBlack, kWhite};
    s.colorsUsed = std::uint32_t(s.palette.size());
    const std::size_t rowBytes = (std::size_t(w) * bits + 31) / 32 * 4;
    s.pixelData.assign(rowBytes * std::size_t(h < 0 ? -h : h), 0);
    return BuildBmp(s);
}

std::vector<std::uint8_t> With(BmpFields s, void (*change)(BmpFields&)) {
    change(s);
    return BuildBmp(s);
}

BmpFields Rle8(std::vector<std::uint8_t> stream) {
    BmpFields s;
    s.width = 4;
    s.height = 2;
    s.bitsPerPixel = 8;
    s.compression = 1;
    s.palette = {kBlack, kWhite};
    s.colorsUsed = 2;
    s.pixelData = std::move(stream);
    return s;
}

BmpFields Rle4(std::vector<std::uint8_t> stream) {
    BmpFields s = Rle8(std::move(stream));
    s.bitsPerPixel = 4;
    s.compression = 2;
    return s;
}

BmpFields Fields16(std::array<std::uint32_t, 3> masks) {
    BmpFields s;
    s.width = 2;
    s.height = 1;
    s.bitsPerPixel = 16;
    s.compression = 3;
    s.masks = masks;
    s.pixelData = {0, 0, 0, 0};
    return s;
}

std::vector<Malformed> MalformedFiles() {
    std::vector<Malformed> m;
    const std::vector<std::uint8_t> good = BuildBmp(Picture24());
    auto patched = [&](std::size_t at, std::uint32_t v, int bytes) {
        std::vector<std::uint8_t> f = good;
        testing::PutLE(f, at, v, bytes);
        return f;
    };
    m.push_back({"empty file", BmpRefusal::NotABitmap, {}});
    m.push_back({"file header only", BmpRefusal::NotABitmap, std::vector<std::uint8_t>(good.begin(), good.begin() + 14)});
    m.push_back({"wrong magic", BmpRefusal::NotABitmap, patched(0, 'B' | ('A' << 8), 2)});
    for (std::uint32_t size : {0u, 16u, 64u, 100u, 0xFFFFFFFFu}) m.push_back({"unknown header size", BmpRefusal::Unsupported, patched(14, size, 4)});
    m.push_back({"header cut short", BmpRefusal::Truncated, std::vector<std::uint8_t>(good.begin(), good.begin() + 40)});
    m.push_back({"no planes", BmpRefusal::Malformed, patched(26, 0, 2)});
    m.push_back({"two planes", BmpRefusal::Malformed, patched(26, 2, 2)});
    for (std::uint32_t bits : {0u, 2u, 15u, 48u, 64u}) m.push_back({"bad bit count", BmpRefusal::Unsupported, patched(28, bits, 2)});
    m.push_back({"RLE8 on 24 bits", BmpRefusal::Unsupported, patched(30, 1, 4)});
    m.push_back({"RLE4 on 24 bits", BmpRefusal::Unsupported, patched(30, 2, 4)});
    m.push_back({"bit fields on 24 bits", BmpRefusal::Unsupported, patched(30, 3, 4)});
    m.push_back({"JPEG", BmpRefusal::Unsupported, patched(30, 4, 4)});
    m.push_back({"PNG", BmpRefusal::Unsupported, patched(30, 5, 4)});
    m.push_back({"alpha bit fields", BmpRefusal::Unsupported, patched(30, 6, 4)});
    m.push_back({"RLE4 on 8 bits", BmpRefusal::Unsupported, With(Picture8(40), [](BmpFields& s) { s.compression = 2; })});
    m.push_back({"RLE8 on 4 bits", BmpRefusal::Unsupported, With(Rle4({0, 1}), [](BmpFields& s) { s.compression = 1; })});
    m.push_back({"bit fields on 8 bits", BmpRefusal::Unsupported, With(Picture8(40), [](BmpFields& s) { s.compression = 3; })});
    m.push_back({"old header with 16 bits", BmpRefusal::Unsupported, With(Picture24(), [](BmpFields& s) {
                     s.headerSize = 12;
                     s.bitsPerPixel = 16;
                 })});
    m.push_back({"old header with 32 bits", BmpRefusal::Unsupported, With(Picture24(), [](BmpFields& s) {
                     s.headerSize = 12;
                     s.bitsPerPixel = 32;
                 })});
    m.push_back({"top-down RLE", BmpRefusal::Unsupported, With(Rle8({0, 1}), [](BmpFields& s) { s.height = -2; })});
    m.push_back({"negative width", BmpRefusal::Malformed, patched(18, std::uint32_t(-3), 4)});
    // With all their pixel data, so that only the cap can refuse them.
    constexpr std::int32_t kBeyond = std::int32_t(kMaxBmpSide + 1);
    m.push_back({"width beyond the cap", BmpRefusal::TooLarge, Blank(kBeyond, 1, 24)});
    m.push_back({"height beyond the cap", BmpRefusal::TooLarge, Blank(1, kBeyond, 24)});
    m.push_back({"top-down height beyond the cap", BmpRefusal::TooLarge, Blank(1, -kBeyond, 24)});
    m.push_back({"most negative height", BmpRefusal::TooLarge, patched(22, 0x80000000u, 4)});
    m.push_back({"largest width", BmpRefusal::TooLarge, patched(18, 0x7FFFFFFFu, 4)});
    m.push_back({"too many pixels", BmpRefusal::TooLarge, Blank(8193, 8192, 1)});  // > 2^26 pixels
    {
        // A header alone claiming 2051 x 32720 pixels, just inside the cap.
        std::vector<std::uint8_t> f = patched(18, 2051, 4);
        testing::PutLE(f, 22, 32720, 4);
        f.resize(54);
        m.push_back({"large picture without its pixels", BmpRefusal::MissingPixels, f});
    }
    m.push_back({"zero mask", BmpRefusal::Malformed, BuildBmp(Fields16({0xF800, 0, 0x1F}))});
    m.push_back({"overlapping masks", BmpRefusal::Malformed, BuildBmp(Fields16({0xF800, 0x0FE0, 0x1F}))});
    m.push_back({"non-contiguous mask", BmpRefusal::Malformed, BuildBmp(Fields16({0xF800, 0x05E0, 0x1F}))});
    m.push_back({"16-bit mask above 16 bits", BmpRefusal::Malformed, BuildBmp(Fields16({0x1F0000, 0x07E0, 0x1F}))});
    {
        std::vector<std::uint8_t> f = BuildBmp(Fields16({0xF800, 0x07E0, 0x1F}));
        f.resize(14 + 40 + 6);  // masks cut short
        m.push_back({"masks cut short", BmpRefusal::Truncated, f});
    }
    m.push_back({"palette larger than 1 bit allows", BmpRefusal::BadPalette, With(Picture24(), [](BmpFields& s) {
                     s.bitsPerPixel = 1;
                     s.colorsUsed = 3;
                     s.palette = {kBlack, kWhite, kRed};
                     s.pixelData = PackRows({{0, 1, 0}, {1, 0, 1}}, 1);
                 })});
    m.push_back({"palette larger than 8 bits allow", BmpRefusal::BadPalette, With(Picture8(40), [](BmpFields& s) {
                     s.colorsUsed = 257;
                     s.palette.resize(257);
                 })});
    {
        std::vector<std::uint8_t> f = BuildBmp(Picture8(40));
        f.resize(14 + 40 + 4 * 5 + 2);  // six entries declared, five and a half present
        testing::PutLE(f, 10, 14 + 40, 4);  // the data offset stays inside the file
        m.push_back({"palette cut short", BmpRefusal::BadPalette, f});
    }
    m.push_back({"full palette cut short", BmpRefusal::BadPalette, With(Picture8(40), [](BmpFields& s) {
                     s.colorsUsed = 0;  // means 256 entries, only six there
                     s.pixelData.clear();
                 })});
    m.push_back({"data offset past the end", BmpRefusal::Malformed, patched(10, std::uint32_t(good.size() + 1), 4)});
    m.push_back({"data offset far past the end", BmpRefusal::Malformed, patched(10, 0xFFFFFFF0u, 4)});
    m.push_back({"data offset inside the headers", BmpRefusal::Malformed, patched(10, 20, 4)});
    m.push_back({"pixel data cut short", BmpRefusal::MissingPixels, std::vector<std::uint8_t>(good.begin(), good.end() - 4)});
    m.push_back({"pixel data missing", BmpRefusal::MissingPixels, std::vector<std::uint8_t>(good.begin(), good.begin() + 54)});
    m.push_back({"1-bit data cut short", BmpRefusal::MissingPixels, With(Picture24(), [](BmpFields& s) {
                     s.width = 40;
                     s.bitsPerPixel = 1;
                     s.palette = {kBlack, kWhite};
                     s.pixelData.assign(8 + 4, 0);  // second row needs 5 bytes
                 })});
    m.push_back({"RLE8 encoded run past the row", BmpRefusal::BadRunLength, BuildBmp(Rle8({5, 1, 0, 1}))});
    m.push_back({"RLE8 runs past the row in two steps", BmpRefusal::BadRunLength, BuildBmp(Rle8({3, 1, 2, 1, 0, 1}))});
    m.push_back({"RLE8 absolute run past the row", BmpRefusal::BadRunLength, BuildBmp(Rle8({0, 5, 1, 1, 1, 1, 1, 0, 0, 1}))});
    m.push_back({"RLE8 absolute data cut short", BmpRefusal::BadRunLength, BuildBmp(Rle8({0, 4, 1, 1}))});
    m.push_back({"RLE8 end of line past the image", BmpRefusal::BadRunLength, BuildBmp(Rle8({0, 0, 0, 0, 0, 0, 0, 1}))});
    m.push_back({"RLE8 pixels past the image", BmpRefusal::BadRunLength, BuildBmp(Rle8({0, 0, 0, 0, 1, 1, 0, 1}))});
    m.push_back({"RLE8 delta past the row", BmpRefusal::BadRunLength, BuildBmp(Rle8({0, 2, 5, 0, 0, 1}))});
    m.push_back({"RLE8 delta past the image", BmpRefusal::BadRunLength, BuildBmp(Rle8({0, 2, 0, 3, 0, 1}))});
    m.push_back({"RLE8 delta cut short", BmpRefusal::BadRunLength, BuildBmp(Rle8({0, 2, 1}))});
    m.push_back({"RLE8 without end of bitmap", BmpRefusal::BadRunLength, BuildBmp(Rle8({4, 1, 0, 0, 4, 0}))});
    m.push_back({"RLE8 ending on half a pair", BmpRefusal::BadRunLength, BuildBmp(Rle8({4, 1, 0}))});
    m.push_back({"RLE8 empty stream", BmpRefusal::BadRunLength, BuildBmp(Rle8({}))});
    m.push_back({"RLE4 encoded run past the row", BmpRefusal::BadRunLength, BuildBmp(Rle4({5, 0x11, 0, 1}))});
    m.push_back({"RLE4 absolute run past the row", BmpRefusal::BadRunLength, BuildBmp(Rle4({0, 5, 0x11, 0x11, 0x10, 0, 0, 1}))});
    m.push_back({"RLE4 absolute data cut short", BmpRefusal::BadRunLength, BuildBmp(Rle4({0, 4, 0x11}))});
    m.push_back({"RLE4 without end of bitmap", BmpRefusal::BadRunLength, BuildBmp(Rle4({4, 0x11, 0, 0}))});
    return m;
}

TEST(BmpRead, MalformedFilesAreRefused) {
    for (const Malformed& m : MalformedFiles()) {
        SCOPED_TRACE(m.what);
        try {
            DecodeBmp(m.file);
            ADD_FAILURE() << "decoded";
        } catch (const BmpError& e) {
            EXPECT_EQ(e.Reason(), m.why);
        }
    }
}

// Sanity of the malformed list: the same shapes, made right, decode.
TEST(BmpRead, WellFormedCounterpartsDecode) {
    EXPECT_NO_THROW(DecodeBmp(BuildBmp(Fields16({0xF800, 0x07E0, 0x1F}))));
    EXPECT_NO_THROW(DecodeBmp(BuildBmp(Rle8({4, 1, 0, 0, 0, 4, 1, 0, 1, 0, 0, 1}))));
    EXPECT_NO_THROW(DecodeBmp(BuildBmp(Rle8({0, 1}))));                 // stops at once
    EXPECT_NO_THROW(DecodeBmp(BuildBmp(Rle8({4, 1, 0, 0, 4, 1, 0, 0, 0, 1}))));  // end of line after the last row
    EXPECT_NO_THROW(DecodeBmp(BuildBmp(Rle8({0, 2, 4, 1, 0, 1}))));     // delta to the row end
    EXPECT_NO_THROW(DecodeBmp(BuildBmp(Rle4({4, 0x11, 0, 0, 0, 4, 0x12, 0x34, 0, 1}))));
    // The sides at the cap itself.
    EXPECT_NO_THROW(DecodeBmp(Blank(std::int32_t(kMaxBmpSide), 1, 24)));
    EXPECT_NO_THROW(DecodeBmp(Blank(1, -std::int32_t(kMaxBmpSide), 24)));
}

}  // namespace
}  // namespace rastel
