#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "core/blend.h"
#include "core/blend_kernels.h"
#include "test_random.h"

namespace rastel {
namespace {

struct Image {
    int width, height;
    std::size_t stride;
    std::vector<std::uint8_t> bytes;
    Image(int w, int h, std::uint8_t fill = 0)
        : width(w), height(h), stride((std::size_t(w) * 3 + 3) & ~std::size_t(3)), bytes(stride * h, fill) {}
    BgrView View() { return {bytes.data(), width, height, std::ptrdiff_t(stride)}; }
    std::uint8_t* At(int x, int y) { return bytes.data() + std::size_t(y) * stride + std::size_t(x) * 3; }
    Bgr Pixel(int x, int y) {
        const std::uint8_t* p = At(x, y);
        return Bgr{p[0], p[1], p[2]};
    }
};

class Random {
public:
    explicit Random(std::uint32_t seed) : next_(seed) {}
    std::uint8_t Byte() { return std::uint8_t(next_() >> 16); }
    void Fill(std::vector<std::uint8_t>& v) {
        for (auto& b : v) b = Byte();
    }

private:
    rastel::testing::TestRandom next_;
};

// One-pixel BlendDraw: the byte that `src` over `dest` gives at `ratio`.
std::uint8_t DrawOne(std::uint8_t src, std::uint8_t dest, unsigned ratio) {
    Image s(1, 1, src), d(1, 1, dest);
    BlendDraw(s.View(), 0, 0, 1, 1, d.View(), ratio);
    return d.bytes[0];
}

std::uint8_t FillOne(std::uint8_t colour, std::uint8_t dest, std::uint8_t ratio) {
    Image d(1, 1, dest);
    BlendFill(d.View(), 0, 0, 1, 1, Bgr{colour, colour, colour}, ratio);
    return d.bytes[0];
}

TEST(BlendDraw, TruncatesOnceAfterTheWeightedSum) {
    EXPECT_EQ(DrawOne(255, 0, 255), 254);
    EXPECT_EQ(DrawOne(0, 255, 255), 0);
    EXPECT_EQ(DrawOne(200, 100, 128), 150);
    EXPECT_EQ(DrawOne(255, 255, 128), 255);
    EXPECT_EQ(DrawOne(255, 255, 255), 255);
    EXPECT_EQ(DrawOne(1, 0, 1), 0);
    EXPECT_EQ(DrawOne(100, 0, 3), 1);  // 300 >> 8
}

TEST(BlendDraw, RatioAbove255CountsAs255) {
    for (unsigned ratio : {256u, 300u, 65535u}) {
        EXPECT_EQ(DrawOne(255, 0, ratio), 254);
        EXPECT_EQ(DrawOne(0, 255, ratio), 0);
        EXPECT_EQ(DrawOne(77, 201, ratio), DrawOne(77, 201, 255));
    }
}

TEST(BlendDraw, RatioZeroChangesNothingAndIsNotAModification) {
    Image s(4, 4, 200), d(4, 4, 10);
    EXPECT_FALSE(BlendDraw(s.View(), 0, 0, 4, 4, d.View(), 0));
    EXPECT_EQ(d.bytes, Image(4, 4, 10).bytes);
}

TEST(BlendDraw, ClipsAtTheRightAndBottomOfDest) {
    Image s(4, 3, 200), d(5, 4, 100);
    EXPECT_TRUE(BlendDraw(s.View(), 3, 2, 4, 3, d.View(), 128));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            const std::uint8_t want = (x >= 3 && y >= 2) ? 150 : 100;
            EXPECT_EQ(d.Pixel(x, y), (Bgr{want, want, want})) << x << "," << y;
        }
    // Padding bytes past the last pixel stay as they were.
    EXPECT_EQ(d.bytes[d.stride - 1], 100);
}

TEST(BlendDraw, SmallerDestReceivesOnlyWhatFits) {
    Image s(6, 6, 200), d(2, 3, 100);
    EXPECT_TRUE(BlendDraw(s.View(), 0, 0, 6, 6, d.View(), 128));
    for (std::size_t y = 0; y < 3; ++y)
        for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(d.bytes[y * d.stride + i], 150);
}

TEST(BlendDraw, OutsideDestIsReportedByColumns) {
    Image s(3, 3, 200), d(4, 4, 100);
    const std::vector<std::uint8_t> untouched = d.bytes;
    // Right of dest: no column in range, not modified.
    EXPECT_FALSE(BlendDraw(s.View(), 4, 0, 3, 3, d.View(), 128));
    EXPECT_FALSE(BlendDraw(s.View(), 100, 0, 3, 3, d.View(), 128));
    // Below dest with columns in range: modified, nothing written.
    EXPECT_TRUE(BlendDraw(s.View(), 1, 4, 3, 3, d.View(), 128));
    EXPECT_TRUE(BlendDraw(s.View(), 1, 0, 3, 0, d.View(), 128));
    // Left of dest: the source ends before column 0.
    EXPECT_FALSE(BlendDraw(s.View(), -3, 0, 3, 3, d.View(), 128));
    EXPECT_FALSE(BlendDraw(s.View(), 0, 0, 0, 3, d.View(), 128));
    EXPECT_EQ(d.bytes, untouched);
    // Extreme positions must not wrap around.
    EXPECT_FALSE(BlendDraw(s.View(), 2147483647, 0, 2147483647, 3, d.View(), 128));
    EXPECT_TRUE(BlendDraw(s.View(), 0, 2147483647, 3, 2147483647, d.View(), 128));
    EXPECT_FALSE(BlendDraw(s.View(), -2147483647 - 1, 0, 2147483647, 3, d.View(), 128));
    EXPECT_EQ(d.bytes, untouched);
}

TEST(BlendDraw, NegativePositionSkipsTheSourcesLeadingColumnsAndRows) {
    // Source pixel (x, y) has value 10*x + y in every channel.
    Image s(4, 4), d(3, 3, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) std::fill_n(s.At(x, y), 3, std::uint8_t(10 * x + y));
    EXPECT_TRUE(BlendDraw(s.View(), -2, -1, 4, 4, d.View(), 255));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            const int sx = x + 2, sy = y + 1;
            const std::uint8_t want = (x < 2 && y < 3) ? std::uint8_t(((10 * sx + sy) * 255) >> 8) : 0;
            EXPECT_EQ(d.Pixel(x, y).g, want) << x << "," << y;
        }
}

TEST(BlendDraw, NeverReadsPastTheSource) {
    // Width and height beyond the source's own size blend only the source.
    Image s(2, 2, 200), d(4, 4, 100);
    EXPECT_TRUE(BlendDraw(s.View(), 1, 1, 10, 10, d.View(), 128));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const std::uint8_t want = (x >= 1 && x < 3 && y >= 1 && y < 3) ? 150 : 100;
            EXPECT_EQ(d.Pixel(x, y).r, want) << x << "," << y;
        }
}

TEST(BlendDraw, BottomUpViewsAreRowsTopFirst) {
    Image s(2, 2, 0), d(2, 2, 0);
    std::fill_n(s.At(0, 0), 6, 255);  // stored first: the bottom row of a bottom-up view
    BgrView up{s.bytes.data() + s.stride, 2, 2, -std::ptrdiff_t(s.stride)};
    BlendDraw(up, 0, 0, 2, 2, d.View(), 255);
    EXPECT_EQ(d.Pixel(0, 0).b, 0);
    EXPECT_EQ(d.Pixel(0, 1).b, 254);
}

TEST(BlendFill, TruncatesEachTermOnItsOwn) {
    EXPECT_EQ(FillOne(255, 255, 128), 254);  // 127 + 127
    EXPECT_EQ(FillOne(200, 100, 128), 150);
    EXPECT_EQ(FillOne(255, 0, 255), 254);
    EXPECT_EQ(FillOne(0, 255, 255), 0);
    for (int v : {0, 1, 128, 255}) EXPECT_EQ(FillOne(200, std::uint8_t(v), 0), v);
}

TEST(BlendFill, ChannelsKeepTheirOrderAndClipToDest) {
    Image d(4, 3, 0);
    BlendFill(d.View(), 2, 1, 10, 10, Bgr{10, 20, 30}, 255);  // (c*255) >> 8 = c - 1 for these
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(d.Pixel(x, y), ((x >= 2 && y >= 1) ? Bgr{9, 19, 29} : Bgr{})) << x << "," << y;
    Image e(4, 3, 50);
    BlendFill(e.View(), -2, -5, 3, 6, Bgr{255, 255, 255}, 128);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(e.Pixel(x, y).r, (x == 0 && y == 0) ? 127 + 25 : 50) << x << "," << y;
    EXPECT_EQ(e.bytes[e.stride - 1], 50);
}

TEST(BlendFill, EmptyOrOutsideRectangleChangesNothing) {
    Image d(3, 3, 77);
    const std::vector<std::uint8_t> before = d.bytes;
    for (auto [x, y, w, h] : std::vector<std::array<int, 4>>{
             {0, 0, 0, 3}, {0, 0, 3, 0}, {0, 0, -1, 3}, {3, 0, 2, 2}, {0, 3, 2, 2}, {-5, 0, 5, 3}, {2147483647, 0, 2147483647, 1}}) {
        BlendFill(d.View(), x, y, w, h, Bgr{1, 2, 3}, 200);
    }
    EXPECT_EQ(d.bytes, before);
}

TEST(BlendFill, SystemColoursResolveThroughTheCurrentTable) {
    SystemColorTable table = DefaultSystemColors();
    table.rgb[15] = RGBColor(10, 20, 30);
    SetSystemColors(table);
    EXPECT_EQ(ColorToBgr(clBtnFace), (Bgr{30, 20, 10}));
    Image d(1, 1, 0);
    BlendFill(d.View(), 0, 0, 1, 1, ColorToBgr(clBtnFace), 255);
    EXPECT_EQ(d.Pixel(0, 0), (Bgr{29, 19, 9}));
    SetSystemColors(DefaultSystemColors());
    EXPECT_EQ(ColorToBgr(clBtnFace), (Bgr{200, 208, 212}));
    EXPECT_EQ(ColorToBgr(RGBColor(1, 2, 3)), (Bgr{3, 2, 1}));
}

// Every vector path must give the bytes of the scalar one: all ratios, odd
// lengths around each vector width, unaligned starts.
TEST(BlendKernels, EveryPathMatchesTheScalarOne) {
    const std::vector<blend::Kernel> kernels = blend::AvailableKernels();
    ASSERT_STREQ(kernels.front().name, "scalar");
    const blend::Kernel& scalar = blend::ScalarKernel();
    Random rng(2024);
    std::vector<std::uint8_t> src(400), dest(400), want, got;
    for (const blend::Kernel& k : kernels) {
        SCOPED_TRACE(k.name);
        for (unsigned ratio = 0; ratio <= 255; ++ratio) {
            for (std::size_t pixels : {0u, 1u, 5u, 15u, 16u, 17u, 31u, 32u, 33u, 47u, 63u, 64u, 97u, 131u}) {
                const std::size_t offset = ratio % 7;
                rng.Fill(src);
                rng.Fill(dest);
                if (ratio > 0) {
                    want = dest;
                    got = dest;
                    scalar.draw(src.data() + offset, want.data() + offset, pixels * 3, ratio);
                    k.draw(src.data() + offset, got.data() + offset, pixels * 3, ratio);
                    ASSERT_EQ(got, want) << "draw ratio " << ratio << " pixels " << pixels;
                }
                const Bgr colour{src[0], src[1], src[2]};
                want = dest;
                got = dest;
                scalar.fill(want.data() + offset, pixels, colour, ratio);
                k.fill(got.data() + offset, pixels, colour, ratio);
                ASSERT_EQ(got, want) << "fill ratio " << ratio << " pixels " << pixels;
            }
        }
    }
}

// Whole calls against a per-pixel model of the clipping, at random places.
TEST(BlendDraw, RandomPlacementsMatchAPerPixelModel) {
    Random rng(77);
    for (int round = 0; round < 300; ++round) {
        const int sw = 1 + rng.Byte() % 40, sh = 1 + rng.Byte() % 6;
        const int dw = 1 + rng.Byte() % 40, dh = 1 + rng.Byte() % 6;
        const int x = int(rng.Byte() % 60) - 20, y = int(rng.Byte() % 10) - 4;
        const int w = int(rng.Byte() % 50) - 5, h = int(rng.Byte() % 8) - 1;
        const unsigned ratio = rng.Byte();
        Image s(sw, sh), d(dw, dh);
        rng.Fill(s.bytes);
        rng.Fill(d.bytes);
        Image model = d;
        bool anyColumn = false;
        for (int dx = 0; dx < dw; ++dx) {
            const int sx = dx - x;
            if (sx < 0 || sx >= std::min(w, sw)) continue;
            anyColumn = true;
            for (int dy = 0; dy < dh; ++dy) {
                const int sy = dy - y;
                if (sy < 0 || sy >= std::min(h, sh) || ratio == 0) continue;
                for (int c = 0; c < 3; ++c)
                    model.At(dx, dy)[c] = std::uint8_t((s.At(sx, sy)[c] * ratio + model.At(dx, dy)[c] * (256 - ratio)) >> 8);
            }
        }
        const bool modified = BlendDraw(s.View(), x, y, w, h, d.View(), ratio);
        ASSERT_EQ(d.bytes, model.bytes) << "round " << round;
        ASSERT_EQ(modified, ratio != 0 && anyColumn) << "round " << round;
    }
}

}  // namespace
}  // namespace rastel
