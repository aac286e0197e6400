#include <gtest/gtest.h>

#include "core/form_scaling.h"

namespace rastel {
namespace {

// Scalings of a form designed at 96 dpi with a text height of 12.
TFormScaling At(int ppi, int textHeight) {
    TFormScaling s;
    s.fromPpi = 96;
    s.toPpi = ppi;
    s.textHeight = textHeight;
    s.scaled = textHeight != 12;
    s.multiplier = textHeight;
    s.divisor = 12;
    return s;
}

const TFormScaling k96 = At(96, 12), k120 = At(120, 16), k144 = At(144, 18), k192 = At(192, 24);

// Through any number of changes of resolution a value is what the design
// gives at each, pixels by the text heights, font heights by the
// resolutions; a value changed in code counts from the resolution it was set
// at, and a value the system set does not.
TEST(DesignValues, ScaleFromTheLastGivenValueWithOneRounding) {
    using Unit = DesignValues::Unit;
    DesignValues d;
    int bevel = 5, font = -12;
    for (const TFormScaling& s : {k144, k120, k192, k96, k120, k144}) {
        bevel = d.Scale(&bevel, bevel, s);
        font = d.Scale(&font, font, s, Unit::FontHeight);
        d.ScaledTo(s);
        EXPECT_EQ(bevel, s.Scale(5)) << s.toPpi;
        EXPECT_EQ(font, s.ScaleFont(-12)) << s.toPpi;
    }
    // At 144 dpi code sets 7: it is the design from now on, back and forth.
    bevel = 7;
    EXPECT_EQ(d.At(&bevel, bevel, k120), 6);  // 7 * 16 / 18, asked without changing anything
    for (const TFormScaling& s : {k120, k96, k192, k144}) {
        bevel = d.Scale(&bevel, bevel, s);
        d.ScaledTo(s);
    }
    EXPECT_EQ(bevel, 7);
    // The system made it 8 at 144 (a box as tall as its font): not a design value.
    d.Made(&bevel, 8);
    bevel = 8;
    EXPECT_EQ(d.Scale(&bevel, bevel, k96), 5);  // 7 * 12 / 18, rounded
}

}  // namespace
}  // namespace rastel
