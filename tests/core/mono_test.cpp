// Two-colour pictures packed into bits and turned back into 24-bit rows.
#include <gtest/gtest.h>

#include <vector>

#include "core/mono.h"
#include "test_random.h"

namespace rastel {
namespace {

constexpr Bgr kWhite{255, 255, 255};
constexpr Bgr kInk{10, 20, 30};

std::vector<std::uint8_t> Pixels(const std::vector<Bgr>& px) {
    std::vector<std::uint8_t> out;
    for (Bgr c : px) out.insert(out.end(), {c.b, c.g, c.r});
    return out;
}

TEST(Mono, ColoursInOrderOfFirstAppearance) {
    const auto two = Pixels({kInk, kInk, kWhite, kInk});
    const auto c = MonoColoursOf(ConstBgrView(two.data(), 2, 2, 6));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->count, 2);
    EXPECT_EQ(c->colour[0], kInk);
    EXPECT_EQ(c->colour[1], kWhite);

    const auto one = Pixels({kWhite, kWhite});
    const auto single = MonoColoursOf(ConstBgrView(one.data(), 2, 1, 6));
    ASSERT_TRUE(single);
    EXPECT_EQ(single->count, 1);

    const auto three = Pixels({kInk, kWhite, Bgr{1, 2, 3}});
    EXPECT_FALSE(MonoColoursOf(ConstBgrView(three.data(), 3, 1, 9)));
    EXPECT_FALSE(MonoColoursOf(ConstBgrView{}));
}

// Bits from the most significant down, rows padded with zero; every width
// around a byte boundary comes back unchanged.
TEST(Mono, PackedRowsTurnBackIntoTheSamePixels) {
    const auto row = Pixels({kInk, kWhite, kWhite, kInk, kInk, kInk, kInk, kInk, kInk});
    std::vector<std::uint8_t> bits(2 * 4, 0xEE);
    PackMono(ConstBgrView(row.data(), 9, 1, 27), kInk, bits.data(), 4);
    EXPECT_EQ(bits[0], 0x9F);
    EXPECT_EQ(bits[1], 0x80);
    EXPECT_EQ(bits[2], 0);
    EXPECT_EQ(bits[3], 0);
    EXPECT_EQ(bits[4], 0xEE);  // nothing past the rows given

    rastel::testing::TestRandom next(7);
    for (int width : {1, 7, 8, 9, 31, 32, 33, 100}) {
        std::vector<Bgr> px;
        for (int i = 0; i < width * 3; ++i) px.push_back((next() >> 8) & 1 ? kInk : kWhite);
        const auto in = Pixels(px);
        const ConstBgrView view(in.data(), width, 3, std::ptrdiff_t(width) * 3);
        const std::ptrdiff_t stride = (width + 31) / 32 * 4;
        std::vector<std::uint8_t> packed(std::size_t(stride) * 3);
        PackMono(view, kInk, packed.data(), stride);
        std::vector<std::uint8_t> out(in.size(), 0x55);
        ExpandMono(packed.data(), stride, kWhite, kInk, BgrView{out.data(), width, 3, std::ptrdiff_t(width) * 3});
        EXPECT_EQ(out, in) << width;
    }
}

}  // namespace
}  // namespace rastel
