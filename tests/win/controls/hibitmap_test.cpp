// THiBitmap: blend values, clipping, pixel formats and the change notification.
#include <gtest/gtest.h>

#include "controls/HiBitmap.h"
#include "hibutton_test_util.h"

using controls_test::Fill;
using controls_test::Px;

namespace {

struct Changes {
    int count = 0;
    void Watch(TBitmap& b) {
        b.OnChange.handler = [this](TObject*) { ++count; };
    }
};

TEST(HiBitmap, IsCreatedEmptyAt24Bits) {
    THiBitmap b;
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(b.ClassName(), "THiBitmap");
}

TEST(HiBitmap, BlendDrawValues) {
    struct Case {
        int src, dest, ratio, expected;
    };
    const Case cases[] = {
        {255, 0, 255, 254}, {0, 255, 255, 0},   {200, 100, 128, 150}, {255, 255, 128, 255},
        {255, 0, 300, 254}, {0, 255, 300, 0},   {10, 20, 1, 19},      {77, 77, 200, 77},
    };
    for (const Case& c : cases) {
        THiBitmap src;
        src.SetSize(2, 2);
        TBitmap dest(2, 2);
        Fill(src, rastel::RGBColor(std::uint8_t(c.src), std::uint8_t(c.src), std::uint8_t(c.src)));
        Fill(dest, rastel::RGBColor(std::uint8_t(c.dest), 0, std::uint8_t(c.dest)));
        src.BlendDraw(0, 0, 2, 2, dest, std::uint16_t(c.ratio));
        const TColor p = Px(dest, 1, 1);
        EXPECT_EQ(rastel::RedOf(p), c.expected) << c.src << " over " << c.dest << " at " << c.ratio;
        EXPECT_EQ(rastel::BlueOf(p), c.expected) << c.src << " over " << c.dest << " at " << c.ratio;
        EXPECT_EQ(rastel::GreenOf(p), (c.src * std::min(c.ratio, 255)) >> 8) << "green was 0 under the source";
    }
}

TEST(HiBitmap, BlendDrawNotifiesExactlyWhenItModifies) {
    THiBitmap src;
    src.SetSize(4, 4);
    Fill(src, clWhite);
    TBitmap dest(6, 5);
    Changes changes;
    changes.Watch(dest);

    src.BlendDraw(0, 0, 4, 4, dest, 0);  // ratio 0: nothing
    EXPECT_EQ(changes.count, 0);
    src.BlendDraw(6, 0, 4, 4, dest, 128);  // x at the width: no column
    EXPECT_EQ(changes.count, 0);
    src.BlendDraw(9, 0, 4, 4, dest, 128);
    EXPECT_EQ(changes.count, 0);
    src.BlendDraw(2, 5, 4, 4, dest, 128);  // no row, but columns: modified
    EXPECT_EQ(changes.count, 1);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(Px(dest, x, y), clWhite) << x << "," << y;
    src.BlendDraw(1, 1, 4, 4, dest, 255);
    EXPECT_EQ(changes.count, 2);

    // Bitmaps of no rows still have columns: the blend counts as a modification.
    THiBitmap flat;
    flat.SetSize(4, 0);
    flat.BlendDraw(0, 0, flat.Width(), flat.Height(), dest, 128);
    EXPECT_EQ(changes.count, 3);
    TBitmap flatDest(6, 0);
    Changes flatChanges;
    flatChanges.Watch(flatDest);
    src.BlendDraw(1, 0, 4, 4, flatDest, 128);
    EXPECT_EQ(flatChanges.count, 1);
    src.BlendDraw(6, 0, 4, 4, flatDest, 128);  // x at the width: no column
    EXPECT_EQ(flatChanges.count, 1);
}

TEST(HiBitmap, BlendDrawClipsToASmallerDest) {
    THiBitmap src;
    src.SetSize(5, 5);
    Fill(src, rastel::RGBColor(255, 255, 255));
    TBitmap dest(4, 3);
    Fill(dest, clBlack);
    src.BlendDraw(2, 1, 5, 5, dest, 255);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const TColor expected = (x >= 2 && y >= 1) ? rastel::RGBColor(254, 254, 254) : clBlack;
            EXPECT_EQ(Px(dest, x, y), expected) << x << "," << y;
        }
}

TEST(HiBitmap, BlendDrawConvertsDestTo24BitsFirst) {
    THiBitmap src;
    src.SetSize(2, 2);
    TBitmap dest(3, 3, pf8bit);
    src.BlendDraw(0, 0, 2, 2, dest, 0);  // even when nothing is blended
    EXPECT_EQ(dest.PixelFormat(), pf24bit);
    EXPECT_EQ(Px(dest, 2, 2), clWhite);

    TBitmap dest32(3, 3, pf32bit);
    Fill(src, clBlack);
    src.BlendDraw(1, 1, 2, 2, dest32, 128);
    EXPECT_EQ(dest32.PixelFormat(), pf24bit);
    EXPECT_EQ(Px(dest32, 0, 0), clWhite);
    EXPECT_EQ(Px(dest32, 1, 1), rastel::RGBColor(127, 127, 127));
}

TEST(HiBitmap, BlendFillValuesTruncateEachTerm) {
    struct Case {
        TColor colour;
        TColor pixel;
        int ratio;
        TColor expected;
    };
    const Case cases[] = {
        {rastel::RGBColor(255, 200, 0), rastel::RGBColor(255, 100, 255), 128, rastel::RGBColor(254, 150, 127)},
        {rastel::RGBColor(255, 0, 17), rastel::RGBColor(0, 255, 99), 255, rastel::RGBColor(254, 0, 16)},
        {rastel::RGBColor(1, 2, 3), rastel::RGBColor(40, 50, 60), 0, rastel::RGBColor(40, 50, 60)},
    };
    for (const Case& c : cases) {
        THiBitmap b;
        b.SetSize(3, 2);
        Fill(b, c.pixel);
        b.BlendFill(0, 0, 3, 2, c.colour, std::uint8_t(c.ratio));
        EXPECT_EQ(Px(b, 2, 1), c.expected) << controls_test::Hex(c.colour) << " at " << c.ratio;
    }
}

TEST(HiBitmap, BlendFillTouchesOnlyItsRectangleAndNeverNotifies) {
    THiBitmap b;
    b.SetSize(6, 4);
    Fill(b, clBlack);
    Changes changes;
    changes.Watch(b);
    b.BlendFill(1, 2, 3, 1, clWhite, 255);
    b.BlendFill(4, 4, 2, 0, clWhite, 255);   // no rows
    b.BlendFill(0, 0, -1, 3, clWhite, 255);  // no columns
    EXPECT_EQ(changes.count, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = y == 2 && x >= 1 && x <= 3;
            EXPECT_EQ(Px(b, x, y), inside ? rastel::RGBColor(254, 254, 254) : clBlack) << x << "," << y;
        }
}

TEST(HiBitmap, BlendFillNeverWritesOutsideThePixels) {
    THiBitmap b;
    b.SetSize(4, 3);
    Fill(b, clBlack);
    b.BlendFill(-5, -5, 100, 100, clWhite, 255);  // the whole bitmap, nothing beyond
    b.BlendFill(3, 2, 50, 50, clRed, 255);
    EXPECT_EQ(Px(b, 0, 0), rastel::RGBColor(254, 254, 254));
    EXPECT_EQ(Px(b, 3, 2), rastel::RGBColor(254, 0, 0));
    EXPECT_EQ(Px(b, 2, 2), rastel::RGBColor(254, 254, 254));
}

TEST(HiBitmap, ColorToBgrAndFillResolveSystemColours) {
    Application.Initialize();
    const TColor face = rastel::ColorToRGB(clBtnFace);
    EXPECT_EQ(face, rastel::ColorToRGB(GetSysColor(COLOR_BTNFACE)));
    std::uint8_t b = 0, g = 0, r = 0;
    THiBitmap::ColorToBGR(clBtnFace, b, g, r);
    EXPECT_EQ(rastel::RGBColor(r, g, b), face);
    THiBitmap::ColorToBGR(rastel::RGBColor(1, 2, 3), b, g, r);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(g, 2);
    EXPECT_EQ(b, 3);

    THiBitmap bitmap;
    bitmap.SetSize(1, 1);
    Fill(bitmap, clBlack);
    bitmap.BlendFill(0, 0, 1, 1, clBtnFace, 255);
    EXPECT_EQ(Px(bitmap, 0, 0), controls_test::Over(clBtnFace, clBlack, 255));
}

}  // namespace
