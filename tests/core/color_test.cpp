#include <gtest/gtest.h>

#include "core/color.h"

namespace rastel {
namespace {

TEST(Colour, EncodingPutsRedInTheLowestByte) {
    EXPECT_EQ(RGBColor(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(RedOf(0x563412u), 0x12);
    EXPECT_EQ(GreenOf(0x563412u), 0x34);
    EXPECT_EQ(BlueOf(0x563412u), 0x56);
    EXPECT_EQ(clRed, RGBColor(255, 0, 0));
    EXPECT_TRUE(IsSystemColor(clBtnFace));
    EXPECT_FALSE(IsSystemColor(clWhite));
}

TEST(Colour, SystemColoursResolveThroughTheGivenTable) {
    SystemColorTable t{};
    t.rgb[15] = RGBColor(1, 2, 3);
    t.rgb[31] = 0xAA112233u;  // a stray top byte in the table is not passed on
    EXPECT_EQ(ColorToRGB(clBtnFace, t), RGBColor(1, 2, 3));
    EXPECT_EQ(ColorToRGB(clSystemColor | 31, t), 0x112233u);
    EXPECT_EQ(ColorToRGB(clSystemColor | 32, t), clBlack);   // outside the table
    EXPECT_EQ(ColorToRGB(clSystemColor | 255, t), clBlack);
    EXPECT_EQ(ColorToRGB(0x02123456u, t), 0x123456u);        // other top bytes masked off
    EXPECT_EQ(ColorToRGB(clSilver, t), clSilver);
}

TEST(Colour, DefaultTableIsTheClassicSchemeAndCanBeReplaced) {
    const SystemColorTable& d = DefaultSystemColors();
    EXPECT_EQ(ColorToRGB(clBtnFace, d), RGBColor(212, 208, 200));
    EXPECT_EQ(ColorToRGB(clBtnShadow, d), RGBColor(128, 128, 128));
    EXPECT_EQ(ColorToRGB(clBtnHighlight, d), clWhite);
    EXPECT_EQ(ColorToRGB(clBtnText, d), clBlack);
    EXPECT_EQ(ColorToRGB(clWindowText, d), clBlack);

    EXPECT_EQ(ColorToRGB(clBtnFace), RGBColor(212, 208, 200));
    SystemColorTable t = d;
    t.rgb[15] = RGBColor(240, 240, 240);
    SetSystemColors(t);
    EXPECT_EQ(ColorToRGB(clBtnFace), RGBColor(240, 240, 240));
    EXPECT_EQ(CurrentSystemColors().rgb[15], RGBColor(240, 240, 240));
    EXPECT_EQ(ColorToRGB(clBtnFace, DefaultSystemColors()), RGBColor(212, 208, 200));
    SetSystemColors(DefaultSystemColors());
}

TEST(Colour, NamesOfFormDescriptions) {
    EXPECT_EQ(ColorFromName("clRed"), clRed);
    EXPECT_EQ(ColorFromName("clSilver"), clSilver);
    EXPECT_EQ(ColorFromName("clWhite"), clWhite);
    EXPECT_EQ(ColorFromName("clWindowText"), clWindowText);
    EXPECT_EQ(ColorFromName("CLBTNFACE"), clBtnFace);
    EXPECT_EQ(ColorFromName("clNoSuchColour"), std::nullopt);
    EXPECT_EQ(ColorFromName("12345"), std::nullopt);
    EXPECT_EQ(ColorName(clBtnShadow), "clBtnShadow");
    EXPECT_EQ(ColorName(clRed), "clRed");
    EXPECT_EQ(ColorName(RGBColor(1, 2, 3)), "");
    for (TColor c : {clBlack, clMaroon, clNavy, clAqua, clBtnHighlight, clInfoBk, cl3DDkShadow})
        EXPECT_EQ(ColorFromName(ColorName(c)), c) << std::hex << c;
}

}  // namespace
}  // namespace rastel
