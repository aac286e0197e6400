// Captions: placement arithmetic, the choice of lines, the three fonts and
// their colours, alignment per line and the disabled look. Glyph shapes
// depend on the installed fonts, so these tests compare pictures with each
// other or look for bands of a colour rather than exact pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/HiButton.h"
#include "hibutton_test_util.h"

using controls_test::Fill;
using controls_test::Px;

namespace {

std::string Join(const std::vector<std::string>& lines) {
    TStringList l;
    l.SetLines(lines);
    return l.Text();
}

bool SamePixels(TBitmap& a, TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (Px(a, x, y) != Px(b, x, y)) return false;
    return true;
}

// Rows [first, last] holding pixels of a colour class; first = -1 when none.
struct Rows {
    int first = -1, last = -1, count = 0;
};
Rows RowsOf(TBitmap& b, const std::function<bool(int, int, int)>& is, int fromX = 0, int toX = -1) {
    Rows r;
    if (toX < 0) toX = b.Width();
    for (int y = 0; y < b.Height(); ++y)
        for (int x = fromX; x < toX; ++x) {
            const TColor c = Px(b, x, y);
            if (!is(rastel::RedOf(c), rastel::GreenOf(c), rastel::BlueOf(c))) continue;
            if (r.first < 0) r.first = y;
            r.last = y;
            ++r.count;
        }
    return r;
}
bool Red(int r, int g, int b) { return r >= 160 && g <= 90 && b <= 90; }
bool Green(int r, int g, int b) { return g >= 100 && r <= 60 && b <= 60; }
bool Blue(int r, int g, int b) { return b >= 160 && r <= 90 && g <= 90; }
bool Cyan(int r, int g, int b) { return r <= 90 && g >= 160 && b >= 160; }
bool Magenta(int r, int g, int b) { return r >= 160 && b >= 160 && g <= 90; }
bool Dark(int r, int g, int b) { return r + g + b < 200; }

class HiCaption : public controls_test::HiTest {
protected:
    static void SetFont(TFont& f, TColor colour) {
        f.SetHeight(-16);
        f.SetStyle({fsBold});
        f.SetColor(colour);
    }
    static int LineHeight(TFont& f) {
        TBitmap b(1, 1);
        b.Canvas().SetFont(f);
        return b.Canvas().TextHeight("W");
    }
    std::unique_ptr<THiSukeSukeImgEx> ThreeFonts() {
        auto b = std::make_unique<THiSukeSukeImgEx>(nullptr);
        SetFont(*b->Font(), rastel::RGBColor(0, 160, 0));
        SetFont(*b->Font2(), rastel::RGBColor(230, 0, 0));
        SetFont(*b->Font3(), rastel::RGBColor(0, 0, 230));
        b->SetCapAlignV(vaTop);
        b->SetFontLinePitch(3);
        return b;
    }
};

// (top + bottom - block) / 2 truncates toward zero: -3 / 2 is -1, not -2.
TEST_F(HiCaption, CentringTruncatesTowardZero) {
    THiSukeSuke b(nullptr);
    SetFont(*b.Font(), clBlack);
    const int h = LineHeight(*b.Font());
    const std::string text = Join({"W", "W", "W"});
    const RECT face{0, 0, 60, 3 * h - 3};
    auto draw = [&](TNVAlignment v, int top) {
        auto out = std::make_unique<TBitmap>(60, 3 * h + 40);
        Fill(*out, clWhite);
        SetViewportOrgEx(out->Canvas().Handle(), 0, 20, nullptr);
        b.SetCapAlignV(v);
        b.DrawCaption(out->Canvas(), text, v == vaTop ? RECT{0, top, 60, top + 3 * h} : face, clBlack, 3);
        return out;
    };
    auto centred = draw(vaCenter, 0);
    EXPECT_TRUE(SamePixels(*centred, *draw(vaTop, -1)));
    EXPECT_FALSE(SamePixels(*centred, *draw(vaTop, -2)));
    auto bottom = draw(vaBottom, 0);
    EXPECT_TRUE(SamePixels(*bottom, *draw(vaTop, (3 * h - 3) - 3 * h)));
}

TEST_F(HiCaption, ThreeFontLinesStackWithThePitch) {
    auto b = ThreeFonts();
    b->SetCapAlignV(vaCenter);
    b->SetFontLinePitch(5);
    b->Font2()->SetHeight(-24);
    b->Font3()->SetHeight(-20);
    const int h1 = LineHeight(*b->Font()), h2 = LineHeight(*b->Font2()), h3 = LineHeight(*b->Font3());
    ASSERT_NE(h2, h3) << "a wrong advance after the second line must show";
    // By hand: the block centred; line 1 in Font, line 2 h1 + 5 lower in
    // Font2, line 3 h2 + 5 lower in Font3, later lines h3 + 5 apart in Font3.
    auto check = [&](int n) {
        const int block = n == 2 ? h1 + h2 + 5 : h1 + h2 + (n - 2) * h3 + (n - 1) * 5;
        const RECT face{0, 3, 80, 3 + 2 * block};
        TBitmap drawn(80, face.bottom + 10), manual(80, face.bottom + 10);
        Fill(drawn, clWhite);
        Fill(manual, clWhite);
        TStringList lines;  // the routine draws the lines of the look's list
        for (int i = 0; i < n; ++i) lines.Add("Wg");
        b->SetOffCaption(lines);
        b->DrawCaptionLines(drawn.Canvas(), lines.Text(), face, b->Font()->Color(), n);
        const int top = (face.top + face.bottom - block) / 2;
        const int bottom = top + block;
        TCanvas& c = manual.Canvas();
        c.Brush().SetStyle(bsClear);
        int y = top;
        for (int i = 0; i < n; ++i) {
            c.SetFont(i == 0 ? *b->Font() : i == 1 ? *b->Font2() : *b->Font3());
            c.DrawText("Wg", RECT{0, y, 80, bottom}, DT_CENTER | DT_NOCLIP);
            y += (i == 0 ? h1 : i == 1 ? h2 : h3) + 5;
        }
        EXPECT_TRUE(SamePixels(drawn, manual)) << n << " lines";
    };
    check(2);
    check(4);
}

TEST_F(HiCaption, RaisedLinesKeepTheirFontsColours) {
    auto b = ThreeFonts();
    TBitmap out(120, 120);
    Fill(out, clWhite);
    TStringList lines{"WWW", "WWW", "WWW", "WWW"};
    b->SetOffCaption(lines);
    b->DrawCaptionLines(out.Canvas(), lines.Text(), RECT{0, 0, 120, 120}, b->Font()->Color(), 4);
    const Rows green = RowsOf(out, Green), red = RowsOf(out, Red), blue = RowsOf(out, Blue);
    ASSERT_GT(green.count, 0);
    ASSERT_GT(red.count, 0);
    ASSERT_GT(blue.count, 0);
    EXPECT_LT(green.last, red.first) << "line 1 in Font, line 2 in Font2";
    EXPECT_LT(red.last, blue.first) << "lines 3 and 4 in Font3";
    const int h = LineHeight(*b->Font());
    EXPECT_GE(blue.last, 3 * (h + 3)) << "the fourth line is blue too";
}

TEST_F(HiCaption, PressedAndMouseOverLinesAllTakeTheLookColour) {
    auto b = ThreeFonts();
    const int h = LineHeight(*b->Font());
    const TColor cyan = rastel::RGBColor(0, 230, 230), magenta = rastel::RGBColor(230, 0, 230);
    TStringList lines{"WWW", "WWW", "WWW", "WWW"};
    b->SetOnCaption(lines);
    b->SetOffCaption(lines);
    auto check = [&](TColor colour, const std::function<bool(int, int, int)>& is, const char* what) {
        TBitmap out(120, 120);
        Fill(out, clWhite);
        b->DrawCaptionLines(out.Canvas(), lines.Text(), RECT{0, 0, 120, 120}, colour, 4);
        EXPECT_EQ(RowsOf(out, Green).count + RowsOf(out, Red).count + RowsOf(out, Blue).count, 0) << what;
        for (int line = 0; line < 4; ++line) {
            TBitmap band(120, h);
            for (int y = 0; y < h; ++y)
                std::copy_n(out.ScanLine(line * (h + 3) + y), 360, band.ScanLine(y));
            EXPECT_GT(RowsOf(band, is).count, 0) << what << ", line " << line + 1;
        }
    };
    b->SetButtonState(bstOn);  // the pressed look
    check(cyan, Cyan, "pressed");
    b->SetButtonState(bstOff);
    b->MouseOverColor()->SetEnabled(true);
    b->MouseEnter({}, 1, 1);
    ASSERT_EQ(b->MouseInside(), 1);
    check(magenta, Magenta, "mouse over");
}

TEST_F(HiCaption, LineAlignmentsPerLine) {
    auto b = ThreeFonts();
    for (TFont* f : {b->Font(), b->Font2(), b->Font3()}) f->SetColor(clBlack);
    b->SetCapAlignH(haLeft);
    b->SetCapAlignH2(haRight);
    b->SetCapAlignH3(haCenter);
    const int h = LineHeight(*b->Font());
    TBitmap out(200, 5 * (h + 3));
    Fill(out, clWhite);
    TStringList lines{"WW", "WW", "WW", "WW", "WW"};
    b->SetOffCaption(lines);
    b->DrawCaptionLines(out.Canvas(), lines.Text(), RECT{0, 0, 200, out.Height()}, clBlack, 5);
    auto columns = [&](int line) {
        int first = 200, last = -1;
        for (int y = line * (h + 3); y < line * (h + 3) + h; ++y)
            for (int x = 0; x < 200; ++x)
                if (rastel::RedOf(Px(out, x, y)) < 100) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        return std::pair<int, int>{first, last};
    };
    EXPECT_LT(columns(0).first, 5);     // CapAlignH
    EXPECT_GT(columns(1).second, 194);    // CapAlignH2
    EXPECT_GT(columns(2).first, 60);    // CapAlignH3, third line only
    EXPECT_LT(columns(2).second, 140);
    EXPECT_LT(columns(3).first, 5);     // later lines: CapAlignH again
    EXPECT_LT(columns(4).first, 5);
}

TEST_F(HiCaption, OneLineIgnoresTheOtherFontsAndLooksLikeDrawCaption) {
    auto paint = [](THiSukeSuke& b) {
        b.SetBounds(0, 0, 80, 30);
        b.SetBlendRitu(255);
        b.SetOffFaceColor(clWhite);
        b.Font()->SetHeight(-14);
        TStringList lines{"F&ace"};
        b.SetOffCaption(lines);
        auto out = std::make_unique<TBitmap>(80, 30);
        b.PaintTo(out->Canvas());
        return out;
    };
    THiSukeSukeImgEx plain(nullptr);
    THiSukeSukeImgEx other(nullptr);
    other.Font2()->SetHeight(-30);
    other.Font2()->SetColor(clRed);
    other.Font3()->SetName("Arial");
    other.SetCapAlignH2(haLeft);
    other.SetCapAlignH3(haRight);
    other.SetFontLinePitch(9);
    THiSukeSukeImg single(nullptr);
    auto a = paint(plain);
    EXPECT_TRUE(SamePixels(*a, *paint(other)));
    EXPECT_TRUE(SamePixels(*a, *paint(single)));
    EXPECT_GT(RowsOf(*a, Dark).count, 0) << "the caption is there";
}

TEST_F(HiCaption, TheLookChoosesTheCaptionList) {
    auto paint = [](bool raised, std::vector<std::string> on, std::vector<std::string> off) {
        THiSukeSuke b(nullptr);
        b.SetBounds(0, 0, 90, 40);
        b.SetBlendRitu(255);
        b.SetOnFaceColor(clWhite);
        b.SetOffFaceColor(clWhite);
        b.SetOnFontColor(clBlack);
        b.Font()->SetColor(clBlack);
        b.SetButtonState(raised ? bstOff : bstOn);
        TStringList l;
        l.SetLines(std::move(on));
        b.SetOnCaption(l);
        l.SetLines(std::move(off));
        b.SetOffCaption(l);
        auto out = std::make_unique<TBitmap>(90, 40);
        b.PaintTo(out->Canvas());
        return out;
    };
    // Pressed with an empty OnCaption: OffCaption.
    EXPECT_TRUE(SamePixels(*paint(false, {}, {"Off"}), *paint(false, {"Off"}, {"Other"})));
    EXPECT_FALSE(SamePixels(*paint(false, {}, {"Off"}), *paint(false, {"On"}, {"Off"})));
    // Raised: OffCaption even when OnCaption has text.
    EXPECT_TRUE(SamePixels(*paint(true, {"On"}, {"Off"}), *paint(true, {}, {"Off"})));
}

// Disabled: each drawing twice, clBtnHighlight one pixel higher, then
// clBtnShadow in place; the look's colour plays no part.
TEST_F(HiCaption, DisabledCaptionIsDrawnTwice) {
    auto byHand = [](TBitmap& out, TFont& font, const std::string& text, RECT r) {
        TCanvas& c = out.Canvas();
        c.Brush().SetStyle(bsClear);
        c.SetFont(font);
        c.Font().SetColor(clBtnHighlight);
        c.DrawText(text, RECT{r.left, r.top - 1, r.right, r.bottom - 1}, DT_CENTER | DT_NOCLIP);
        c.Font().SetColor(clBtnShadow);
        c.DrawText(text, r, DT_CENTER | DT_NOCLIP);
    };
    auto blank = [] {
        auto b = std::make_unique<TBitmap>(120, 80);
        Fill(*b, clBlack);
        return b;
    };

    THiSukeSuke one(nullptr);
    SetFont(*one.Font(), clRed);
    one.SetCapAlignV(vaTop);
    one.SetEnabled(false);
    const int h = LineHeight(*one.Font());
    auto drawn = blank(), expected = blank();
    one.DrawCaption(drawn->Canvas(), "WW", RECT{0, 10, 120, 80}, clRed, 1);
    byHand(*expected, *one.Font(), "WW", RECT{0, 10, 120, 10 + h});
    EXPECT_TRUE(SamePixels(*drawn, *expected)) << "DrawCaption";
    EXPECT_EQ(RowsOf(*drawn, Red).count, 0);
    auto shadowOnly = blank();
    one.SetEnabled(true);
    one.DrawCaption(shadowOnly->Canvas(), "WW", RECT{0, 10, 120, 80}, clBtnShadow, 1);
    EXPECT_FALSE(SamePixels(*drawn, *shadowOnly)) << "the highlight shows above the shadow";

    auto three = ThreeFonts();
    three->SetEnabled(false);
    TStringList lines{"WW", "WW"};
    three->SetOffCaption(lines);
    drawn = blank();
    expected = blank();
    three->DrawCaptionLines(drawn->Canvas(), lines.Text(), RECT{0, 10, 120, 80}, clRed, 2);
    const int h2 = LineHeight(*three->Font2());
    const int bottom = 10 + h + h2 + 3;
    byHand(*expected, *three->Font(), "WW", RECT{0, 10, 120, bottom});
    byHand(*expected, *three->Font2(), "WW", RECT{0, 10 + h + 3, 120, bottom});
    EXPECT_TRUE(SamePixels(*drawn, *expected)) << "DrawCaptionLines";
}

}  // namespace
