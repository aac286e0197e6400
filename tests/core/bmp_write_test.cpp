#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "core/bmp.h"

namespace rastel {
namespace {

// A top-down 24-bit picture with tightly packed rows.
struct Picture {
    int width, height;
    std::vector<std::uint8_t> bytes;
    Picture(int w, int h) : width(w), height(h), bytes(std::size_t(w) * h * 3, 0) {}
    void Set(int x, int y, Bgr c) {
        std::uint8_t* p = &bytes[(std::size_t(y) * width + x) * 3];
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
    }
    Bgr Get(int x, int y) const {
        const std::uint8_t* p = &bytes[(std::size_t(y) * width + x) * 3];
        return {p[0], p[1], p[2]};
    }
    ConstBgrView View() const { return {bytes.data(), width, height, std::ptrdiff_t(width) * 3}; }
};

std::uint32_t U32(const std::vector<std::uint8_t>& f, std::size_t at) {
    return std::uint32_t(f.at(at)) | std::uint32_t(f.at(at + 1)) << 8 | std::uint32_t(f.at(at + 2)) << 16 |
           std::uint32_t(f.at(at + 3)) << 24;
}
std::uint16_t U16(const std::vector<std::uint8_t>& f, std::size_t at) {
    return std::uint16_t(f.at(at) | f.at(at + 1) << 8);
}

struct Expected {
    std::uint32_t fileSize, offBits;
    int bits;
    std::uint32_t imageSize, colorsUsed;
};

void ExpectHeader(const std::vector<std::uint8_t>& f, int width, int height, const Expected& e) {
    ASSERT_GE(f.size(), 54u);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(U32(f, 2), e.fileSize);
    EXPECT_EQ(f.size(), e.fileSize);
    EXPECT_EQ(U32(f, 6), 0u);  // reserved
    EXPECT_EQ(U32(f, 10), e.offBits);
    EXPECT_EQ(U32(f, 14), 40u);
    EXPECT_EQ(std::int32_t(U32(f, 18)), width);
    EXPECT_EQ(std::int32_t(U32(f, 22)), height);  // positive: bottom-up
    EXPECT_EQ(U16(f, 26), 1);
    EXPECT_EQ(U16(f, 28), e.bits);
    EXPECT_EQ(U32(f, 30), 0u);
    EXPECT_EQ(U32(f, 34), e.imageSize);
    EXPECT_EQ(U32(f, 38), 2835u);
    EXPECT_EQ(U32(f, 42), 2835u);
    EXPECT_EQ(U32(f, 46), e.colorsUsed);
    EXPECT_EQ(U32(f, 50), 0u);
}

constexpr Bgr kWhite{255, 255, 255};
constexpr Bgr kInk{10, 20, 30};

TEST(BmpWrite, Headers24Bit) {
    Picture p(5, 3);
    const auto f = EncodeBmp24(p.View());
    // Rows of 15 bytes padded to 16.
    ExpectHeader(f, 5, 3, {54 + 48, 54, 24, 48, 0});
}

TEST(BmpWrite, Headers1Bit) {
    Picture p(33, 2);
    const auto f = EncodeBmp1(p.View(), kWhite, kInk);
    // 33 bits need 5 bytes, padded to 8; two palette entries.
    ExpectHeader(f, 33, 2, {62 + 16, 62, 1, 16, 2});
}

TEST(BmpWrite, Headers8BitPaletteSizedToColoursUsed) {
    Picture p(7, 2);
    p.Set(1, 0, {1, 2, 3});
    p.Set(2, 1, {4, 5, 6});
    const auto f = EncodeBmp8(p.View());
    ExpectHeader(f, 7, 2, {54 + 12 + 16, 54 + 12, 8, 16, 3});
    // Seven 4-bit indices need 4 bytes.
    const auto f4 = EncodeBmp4(p.View());
    ExpectHeader(f4, 7, 2, {54 + 12 + 8, 54 + 12, 4, 8, 3});
}

// The file holds the bottom row first; padding bytes are zero.
TEST(BmpWrite, RowsBottomUpAndPaddedWithZeros) {
    Picture p(3, 2);
    p.Set(0, 0, {1, 2, 3});     // top-left
    p.Set(2, 1, {7, 8, 9});     // bottom-right
    const auto f = EncodeBmp24(p.View());
    const std::vector<std::uint8_t> bottom(f.begin() + 54, f.begin() + 66);
    const std::vector<std::uint8_t> top(f.begin() + 66, f.begin() + 78);
    EXPECT_EQ(bottom, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 7, 8, 9, 0, 0, 0}));
    EXPECT_EQ(top, (std::vector<std::uint8_t>{1, 2, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(BmpWrite, OneBitMapsWhiteToEntryOneAndEverythingElseToInk) {
    Picture p(10, 1);
    for (int x = 0; x < 10; ++x) p.Set(x, 0, kWhite);
    p.Set(0, 0, kInk);
    p.Set(3, 0, {254, 255, 255});  // almost white is still ink
    p.Set(9, 0, {0, 0, 0});
    const auto f = EncodeBmp1(p.View(), kWhite, kInk);
    // Palette: entry 0 ink, entry 1 white, as B, G, R, 0.
    EXPECT_EQ(std::vector<std::uint8_t>(f.begin() + 54, f.begin() + 62),
              (std::vector<std::uint8_t>{10, 20, 30, 0, 255, 255, 255, 0}));
    // Pixel 0 is the top bit. Bits: 0110 1111 | 10 then zero padding.
    EXPECT_EQ(f[62], 0b01101111);
    EXPECT_EQ(f[63], 0b10000000);
    EXPECT_EQ(f[64], 0);
    EXPECT_EQ(f[65], 0);
}

// The transparent key may be any colour, not only white.
TEST(BmpWrite, OneBitUsesTheGivenWhiteKey) {
    Picture p(2, 1);
    p.Set(0, 0, {5, 5, 5});
    p.Set(1, 0, kWhite);
    const auto f = EncodeBmp1(p.View(), Bgr{5, 5, 5}, kInk);
    EXPECT_EQ(f[62], 0b10000000);
}

TEST(BmpWrite, EightBitAcceptsExactly256ColoursAndRejectsMore) {
    Picture p(16, 17);
    for (int i = 0; i < 256; ++i) p.Set(i % 16, i / 16, {std::uint8_t(i), std::uint8_t(255 - i), 7});
    for (int x = 0; x < 16; ++x) p.Set(x, 16, {0, 255, 7});  // repeats colour 0
    const auto f = EncodeBmp8(p.View());
    EXPECT_EQ(U32(f, 46), 256u);
    EXPECT_EQ(U32(f, 10), 54u + 1024u);

    p.Set(5, 16, {1, 1, 1});
    EXPECT_THROW(EncodeBmp8(p.View()), std::invalid_argument);
}

TEST(BmpWrite, FourBitAcceptsExactly16ColoursAndRejectsMore) {
    Picture p(17, 1);
    for (int x = 0; x < 16; ++x) p.Set(x, 0, {std::uint8_t(x), 0, 0});
    p.Set(16, 0, {0, 0, 0});
    const auto f = EncodeBmp4(p.View());
    EXPECT_EQ(U32(f, 46), 16u);
    // The high nibble is the left pixel.
    EXPECT_EQ(f[54 + 64], 0x01);
    p.Set(16, 0, {99, 0, 0});
    EXPECT_THROW(EncodeBmp4(p.View()), std::invalid_argument);
}

TEST(BmpWrite, EmptyPictureIsRejected) {
    Picture p(0, 0);
    EXPECT_THROW(EncodeBmp24(p.View()), std::invalid_argument);
    EXPECT_THROW(EncodeBmp8(p.View()), std::invalid_argument);
    EXPECT_THROW(EncodeBmp4(p.View()), std::invalid_argument);
    EXPECT_THROW(EncodeBmp1(p.View(), kWhite, kInk), std::invalid_argument);
}

TEST(BmpWrite, SamePictureGivesSameBytes) {
    Picture p(9, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x) p.Set(x, y, {std::uint8_t(x * 20), std::uint8_t(y * 40), 3});
    EXPECT_EQ(EncodeBmp8(p.View()), EncodeBmp8(p.View()));
}

// Round trips through the reader, on widths that exercise every padding.
class BmpRoundTrip : public ::testing::TestWithParam<int> {};

void ExpectSamePixels(const Picture& p, const BmpImage& img) {
    ASSERT_EQ(img.width, p.width);
    ASSERT_EQ(img.height, p.height);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t* q = img.View().Row(y) + 3 * x;
            ASSERT_EQ((Bgr{q[0], q[1], q[2]}), p.Get(x, y)) << "at " << x << "," << y;
        }
}

TEST_P(BmpRoundTrip, TwentyFourBit) {
    const int w = GetParam();
    Picture p(w, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < w; ++x)
            p.Set(x, y, {std::uint8_t(x * 7 + y), std::uint8_t(x * 13 + 5 * y), std::uint8_t(x ^ (y * 31))});
    const BmpImage img = DecodeBmp(EncodeBmp24(p.View()));
    EXPECT_EQ(img.bitsPerPixel, 24);
    ExpectSamePixels(p, img);
}

TEST_P(BmpRoundTrip, EightBit) {
    const int w = GetParam();
    Picture p(w, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < w; ++x) p.Set(x, y, {std::uint8_t((x * 3 + y) % 11 * 20), std::uint8_t(y * 50), 9});
    const BmpImage img = DecodeBmp(EncodeBmp8(p.View()));
    EXPECT_EQ(img.bitsPerPixel, 8);
    ExpectSamePixels(p, img);
}

TEST_P(BmpRoundTrip, FourBit) {
    const int w = GetParam();
    Picture p(w, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < w; ++x) {
            const int v = (x * 3 + y) % 16;  // sixteen colours at most
            p.Set(x, y, {std::uint8_t(v * 15), std::uint8_t(255 - v * 15), 9});
        }
    const BmpImage img = DecodeBmp(EncodeBmp4(p.View()));
    EXPECT_EQ(img.bitsPerPixel, 4);
    ExpectSamePixels(p, img);
}

TEST_P(BmpRoundTrip, OneBit) {
    const int w = GetParam();
    Picture p(w, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < w; ++x) p.Set(x, y, (x + y) % 3 == 0 ? kInk : kWhite);
    const BmpImage img = DecodeBmp(EncodeBmp1(p.View(), kWhite, kInk));
    EXPECT_EQ(img.bitsPerPixel, 1);
    ExpectSamePixels(p, img);
}

INSTANTIATE_TEST_SUITE_P(OddWidths, BmpRoundTrip, ::testing::Values(1, 3, 5, 7, 9, 31, 33, 747));

// A view with a negative stride (bottom-up memory) reads its row 0 first.
TEST(BmpWrite, AcceptsBottomUpSourceViews) {
    Picture p(3, 3);
    p.Set(1, 0, {1, 2, 3});
    p.Set(2, 2, {4, 5, 6});
    // Same memory, rows reversed through the stride.
    Picture flipped(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) flipped.Set(x, 2 - y, p.Get(x, y));
    const ConstBgrView up(flipped.bytes.data() + 2 * 9, 3, 3, -9);
    EXPECT_EQ(EncodeBmp24(up), EncodeBmp24(p.View()));
    EXPECT_EQ(EncodeBmp8(up), EncodeBmp8(p.View()));
}

}  // namespace
}  // namespace rastel
