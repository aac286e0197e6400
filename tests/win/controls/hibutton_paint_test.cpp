// Pixel-exact paints of the translucent buttons into memory bitmaps. Captions
// are empty wherever pixels are compared exactly (glyphs depend on fonts).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "controls/HiButton.h"
#include "hibutton_test_util.h"

using controls_test::Fill;
using controls_test::Hex;
using controls_test::Over;
using controls_test::Px;

namespace {

const TColor kBackground = rastel::RGBColor(10, 200, 90);
const TColor kOnFace = 14995945;       // 233, 209, 228
const TColor kOnHighlight = 15391981;  // 237, 220, 234
const TColor kOnShadow = 12027588;     // 196, 134, 183
const TColor kGreyShade = rastel::RGBColor(118, 118, 118);  // 0x77 laid on at 255

class HiPaint : public controls_test::HiTest {
protected:
    // A control without a parent whose snapshot is a plain colour.
    template <class T>
    std::unique_ptr<T> Make(int width, int height, TColor background = kBackground) {
        auto c = std::make_unique<T>(nullptr);
        c->SetBounds(0, 0, width, height);
        c->Background().SetSize(width, height);
        Fill(c->Background(), background);
        return c;
    }
    template <class T>
    std::unique_ptr<TBitmap> Paint(T& control) {
        auto out = std::make_unique<TBitmap>(control.Width(), control.Height());
        Fill(*out, clBlack);
        control.PaintTo(out->Canvas());
        return out;
    }
    // The stay-on-top toggle's look: 44 x 20, bevel 3, the table's colours.
    std::unique_ptr<THiSukeSukeImgEx> Toggle(int blendRitu) {
        auto t = Make<THiSukeSukeImgEx>(44, 20);
        t->SetButtonStyle(bsToggle);
        t->SetBevelWidth(3);
        t->SetOnFaceColor(kOnFace);
        t->SetOnHighlightColor(kOnHighlight);
        t->SetOnShadowColor(kOnShadow);
        t->SetShadowColor(clSilver);
        t->SetOnFontColor(clRed);
        t->SetOnFrameColor(clWhite);
        t->SetBlendRitu(std::uint8_t(blendRitu));
        t->SetImageBlendRitu(0);
        return t;
    }
    static void ExpectEveryPixel(TBitmap& b, const std::function<TColor(int, int)>& expected) {
        int wrong = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                if (Px(b, x, y) != expected(x, y) && ++wrong <= 8)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << Hex(Px(b, x, y)) << " instead of "
                                  << Hex(expected(x, y));
        EXPECT_EQ(wrong, 0);
    }
};

// 44 x 20 with a bevel of 3 and no slide: the face is (3, 3)-(41, 17), the
// mitres run at 45 degrees from the corners.
enum Part { kTopLeft, kBottomRight, kFace };
Part ToggleRegion(int x, int y) {
    if ((x < 3 && x + y <= 19) || (y < 3 && x >= 3 && x + y <= 43)) return kTopLeft;
    if ((x >= 41 && y >= 44 - x) || (y >= 17 && x <= 40 && x >= 20 - y)) return kBottomRight;
    return kFace;
}

TEST_F(HiPaint, ToggleLooksOnAndOffAtEveryRatio) {
    for (int ritu : {255, 127, 0}) {
        for (bool on : {true, false}) {
            auto t = Toggle(ritu);
            t->SetButtonState(on ? bstOn : bstOff);
            auto out = Paint(*t);
            const TColor tl = on ? kOnShadow : clBtnHighlight;
            const TColor br = on ? kOnHighlight : clSilver;
            const TColor face = on ? kOnFace : clBtnFace;
            SCOPED_TRACE(std::string(on ? "on" : "off") + " at " + std::to_string(ritu));
            ExpectEveryPixel(*out, [&](int x, int y) {
                switch (ToggleRegion(x, y)) {
                case kTopLeft: return Over(tl, kBackground, ritu);
                case kBottomRight: return Over(br, kBackground, ritu);
                default: return Over(face, kBackground, ritu);
                }
            });
            EXPECT_EQ(t->ButtonState(), on ? bstOn : bstOff);
            EXPECT_EQ(t->FaceArea(), (THiArea{3, 17, 3, 41}));
            EXPECT_EQ(t->ClientArea(), (THiArea{0, 20, 0, 44}));
        }
    }
}

TEST_F(HiPaint, OpaqueChannelsComeOutOneBelow) {
    auto t = Toggle(255);
    t->SetButtonState(bstOn);
    t->SetOnFaceColor(clWhite);
    auto out = Paint(*t);
    EXPECT_EQ(Px(*out, 20, 10), rastel::RGBColor(254, 254, 254));
}

// Slopes that are not 1: the cut of each bevel row and column truncates toward zero.
TEST_F(HiPaint, BevelSlopesTruncate) {
    auto b = Make<THiSukeSuke>(30, 12);
    b->SetBevelWidth(4);
    b->SetBevelHeightMargin(-2);  // face (4, 2)-(26, 10): left bevel 4 wide, top bevel 2 high
    b->SetBlendRitu(255);
    const TColor tl = rastel::RGBColor(255, 0, 0), br = rastel::RGBColor(0, 0, 255);
    b->SetHighlightColor(tl);
    b->SetShadowColor(br);
    b->SetOffFaceColor(clWhite);
    auto out = Paint(*b);
    // Left column x: rows 0 .. 11 - trunc(x * 2 / 4); top row y: columns 4 .. 29 - trunc(y * 4 / 2);
    // right column x: rows 2 - trunc((x - 26) * 2 / 4) .. 11; bottom row y: columns 4 - trunc((y - 10) * 4 / 2) .. 25.
    const int leftEnd[4] = {11, 11, 10, 10};
    const int topEnd[2] = {29, 27};
    const int rightStart[4] = {2, 2, 1, 1};
    const int bottomStart[2] = {4, 2};
    ExpectEveryPixel(*out, [&](int x, int y) {
        const TColor red = Over(tl, kBackground, 255), blue = Over(br, kBackground, 255);
        if (x < 4 && y <= leftEnd[x]) return red;
        if (y < 2 && x >= 4 && x <= topEnd[y]) return red;
        if (x >= 26 && y >= rightStart[x - 26]) return blue;
        if (y >= 10 && x >= bottomStart[y - 10] && x <= 25) return blue;
        if (x >= 4 && x < 26 && y >= 2 && y < 10) return Over(clWhite, kBackground, 255);
        return kBackground;  // the mitres leave a few corner pixels to the snapshot
    });
}

TEST_F(HiPaint, SlideShadowAndSlidFace) {
    auto t = Toggle(255);
    t->SetOnSlideSize(2);
    t->SetButtonState(bstOn);
    auto out = Paint(*t);
    EXPECT_EQ(t->FaceArea(), (THiArea{5, 19, 5, 43}));
    ExpectEveryPixel(*out, [&](int x, int y) {
        if (x < 2 || y < 2 || x == 43 || y == 19) return kGreyShade;
        if (x < 5) return Over(kOnShadow, kBackground, 255);  // left bevel, uncut (slope 1/5)
        if (y < 5) return Over(kOnShadow, kBackground, 255);  // top bevel from column 5
        return Over(kOnFace, kBackground, 255);
    });
}

TEST_F(HiPaint, RaisedLookHasNoSlide) {
    auto t = Toggle(255);
    t->SetOnSlideSize(2);
    auto out = Paint(*t);
    EXPECT_EQ(t->FaceArea(), (THiArea{3, 17, 3, 41}));
    EXPECT_EQ(Px(*out, 0, 0), Over(clBtnHighlight, kBackground, 255));
    EXPECT_EQ(Px(*out, 43, 19), Over(clSilver, kBackground, 255));
}

TEST_F(HiPaint, FrameStripsTileTheRingOnce) {
    auto b = Make<THiSukeSuke>(44, 20);
    b->SetBevelWidth(3);
    b->SetFrameWidth(2);
    b->SetBlendRitu(127);  // a pixel blended twice would differ
    const TColor frame = rastel::RGBColor(200, 40, 250);
    b->SetOffFrameColor(frame);
    b->SetOffFaceColor(clWhite);
    auto out = Paint(*b);
    // Face (3, 3)-(41, 17): ring columns 3, 4, 39, 40 and rows 3, 4, 15, 16.
    for (int y = 3; y < 17; ++y)
        for (int x = 3; x < 41; ++x) {
            const bool ring = x < 5 || x >= 39 || y < 5 || y >= 15;
            const TColor expected = ring ? Over(frame, kBackground, 127) : Over(clWhite, kBackground, 127);
            ASSERT_EQ(Px(*out, x, y), expected) << x << "," << y;
        }
}

TEST_F(HiPaint, FrameAndFaceStayInsideTheBuffer) {
    auto b = Make<THiSukeSukeImgEx>(60, 60);
    b->SetBevelWidth(2);
    b->SetFrameWidth(40);  // wider than half the face: strips and face start past its edges
    b->SetBevelWidthMargin(-50);
    b->SetBevelLeftMargin(60);
    b->SetImageBlendRitu(255);  // the white face-sized image lands at (52, 42), 48 x 56
    auto out = Paint(*b);  // any write past the work buffer would corrupt the heap
    EXPECT_EQ(b->Width(), 60);
    EXPECT_EQ(b->FaceArea(), (THiArea{2, 58, 12, 60}));
    EXPECT_EQ(Px(*out, 59, 59), rastel::RGBColor(254, 254, 254));
}

TEST_F(HiPaint, EdgeLinesAreOpaque) {
    auto b = Make<THiSukeSuke>(44, 20);
    b->SetBevelWidth(3);
    b->SetEdgeDraw(true);
    const TColor edge = rastel::RGBColor(0, 0, 255);
    b->SetEdgeColor(edge);
    b->SetBlendRitu(0);
    b->SetOffFaceColor(clWhite);
    auto out = Paint(*b);
    // Mitre lines without their end points, then the two outlines.
    for (POINT p : {POINT{1, 1}, POINT{2, 2}, POINT{2, 18}, POINT{42, 2}, POINT{42, 18}})
        EXPECT_EQ(Px(*out, p.x, p.y), edge) << p.x << "," << p.y;
    for (int x = 0; x < 44; ++x) {
        EXPECT_EQ(Px(*out, x, 0), edge) << x;
        EXPECT_EQ(Px(*out, x, 19), edge) << x;
    }
    for (int y = 0; y < 20; ++y) {
        EXPECT_EQ(Px(*out, 0, y), edge) << y;
        EXPECT_EQ(Px(*out, 43, y), edge) << y;
    }
    for (int x = 3; x < 41; ++x) {
        EXPECT_EQ(Px(*out, x, 3), edge) << x;
        EXPECT_EQ(Px(*out, x, 16), edge) << x;
    }
    for (int y = 3; y < 17; ++y) {
        EXPECT_EQ(Px(*out, 3, y), edge) << y;
        EXPECT_EQ(Px(*out, 40, y), edge) << y;
    }
    EXPECT_EQ(Px(*out, 4, 4), kBackground);  // BlendRitu 0: the face leaves the snapshot
    EXPECT_EQ(Px(*out, 1, 5), kBackground);
}

TEST_F(HiPaint, FocusRectangleAndDots) {
    auto b = Make<THiSukeSuke>(44, 20);
    b->SetBevelWidth(3);
    b->SetBlendRitu(0);
    b->FocusChanged(b.get());
    ASSERT_TRUE(b->FocusMark());
    auto out = Paint(*b);
    for (int x = 0; x < 44; ++x) EXPECT_EQ(Px(*out, x, 0), clBlack) << x;
    for (int y = 0; y < 20; ++y) EXPECT_EQ(Px(*out, 43, y), clBlack) << y;
    // Face (3, 3)-(41, 17): dots on rows 6 and 14 and columns 6 and 38, every other pixel.
    for (int x = 6; x <= 38; ++x) {
        const TColor expected = (x % 2 == 0) ? clBlack : kBackground;
        EXPECT_EQ(Px(*out, x, 6), expected) << x;
        EXPECT_EQ(Px(*out, x, 14), expected) << x;
    }
    for (int y = 6; y <= 14; ++y) {
        const TColor expected = (y % 2 == 0) ? clBlack : kBackground;
        EXPECT_EQ(Px(*out, 6, y), expected) << y;
        EXPECT_EQ(Px(*out, 38, y), expected) << y;
    }
    EXPECT_EQ(Px(*out, 5, 5), kBackground);
    EXPECT_EQ(Px(*out, 7, 7), kBackground);

    b->SetEdgeDraw(true);  // black edge: the focus rectangle turns dark blue
    out = Paint(*b);
    EXPECT_EQ(Px(*out, 20, 0), TColor(8930372));
    b->SetEdgeColor(1);
    out = Paint(*b);
    EXPECT_EQ(Px(*out, 20, 0), clBlack);

    b->FocusChanged(nullptr);
    b->SetEdgeDraw(false);
    out = Paint(*b);
    EXPECT_EQ(Px(*out, 20, 0), kBackground);
    EXPECT_EQ(Px(*out, 6, 6), kBackground);
}

TEST_F(HiPaint, NarrowFaceGetsTheRectangleButNoDots) {
    auto b = Make<THiSukeSuke>(16, 20);
    b->SetBevelWidth(5);  // face 6 wide
    b->SetBlendRitu(0);
    b->FocusChanged(b.get());
    auto out = Paint(*b);
    EXPECT_EQ(Px(*out, 8, 0), clBlack);
    for (int y = 1; y < 19; ++y)
        for (int x = 1; x < 15; ++x) ASSERT_EQ(Px(*out, x, y), kBackground) << x << "," << y;
}

// 10 x 10 picture, face 40 x 20, FrameWidth 2.
class HiImage : public HiPaint {
protected:
    std::unique_ptr<THiSukeSukeImg> Button() {
        auto b = Make<THiSukeSukeImg>(50, 30, clBlack);
        b->SetBevelWidth(5);  // face (5, 5)-(45, 25)
        b->SetFrameWidth(2);
        b->SetBlendRitu(0);
        b->SetImageBlendRitu(255);
        TBitmap picture(10, 10);
        Fill(picture, clRed);
        TPicture p;
        p.SetGraphic(&picture);
        b->SetOffImagePict(&p);
        return b;
    }
    static void ExpectRedBlock(TBitmap& out, int left, int top, int right, int bottom) {
        for (int y = 0; y < out.Height(); ++y)
            for (int x = 0; x < out.Width(); ++x) {
                const bool inside = x >= left && x < right && y >= top && y < bottom;
                ASSERT_EQ(Px(out, x, y), inside ? rastel::RGBColor(254, 0, 0) : clBlack) << x << "," << y;
            }
    }
};

TEST_F(HiImage, CentredPicture) {
    auto b = Button();
    auto out = Paint(*b);
    ExpectRedBlock(*out, 5 + 15, 5 + 5, 5 + 25, 5 + 15);  // offsets 13 and 3 inside the frame
}

TEST_F(HiImage, RightAndBottomEndFlushWithTheFrame) {
    auto b = Button();
    b->SetOffImgAlignH(haRight);
    b->SetOffImgAlignV(vaBottom);
    auto out = Paint(*b);
    ExpectRedBlock(*out, 5 + 28, 5 + 8, 45 - 2, 25 - 2);
}

TEST_F(HiImage, LeftTopStartsAtTheInnerFrameCorner) {
    auto b = Button();
    b->SetOffImgAlignH(haLeft);
    b->SetOffImgAlignV(vaTop);
    auto out = Paint(*b);
    ExpectRedBlock(*out, 7, 7, 17, 17);
}

TEST_F(HiImage, StretchedToTheFaceSize) {
    auto b = Button();
    b->SetImageStretch(true);
    auto out = Paint(*b);
    ExpectRedBlock(*out, 7, 7, 47, 27);  // FW past the face on the right and at the bottom
}

TEST_F(HiImage, PressedLookFallsBackToTheOffPictureWithTheOnAlignment) {
    auto b = Button();
    b->SetButtonStyle(bsToggle);
    b->SetButtonState(bstOn);
    b->SetOnImgAlignH(haLeft);
    b->SetOnImgAlignV(vaTop);
    auto out = Paint(*b);
    ExpectRedBlock(*out, 7, 7, 17, 17);
}

TEST_F(HiImage, WithoutPicturesAWhiteFaceSizedBufferIsBlended) {
    auto b = Make<THiSukeSukeImg>(50, 30, clBlack);
    b->SetBevelWidth(5);
    b->SetFrameWidth(2);
    b->SetBlendRitu(0);
    b->SetImageBlendRitu(127);
    auto out = Paint(*b);
    // (127 * 255) >> 8 over black, from (7, 7), 40 x 20, cut at the control's edge.
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 50; ++x) {
            const bool inside = x >= 7 && x < 47 && y >= 7 && y < 27;
            ASSERT_EQ(Px(*out, x, y), inside ? rastel::RGBColor(126, 126, 126) : clBlack) << x << "," << y;
        }
}

TEST_F(HiImage, AnEmptyOnGraphicBlendsNothing) {
    auto b = Button();
    b->SetButtonStyle(bsToggle);
    b->SetButtonState(bstOn);
    TBitmap empty;
    TPicture p;
    p.SetGraphic(&empty);
    b->SetOnImagePict(&p);
    ASSERT_TRUE(b->OnImagePict()->HasGraphic());
    auto out = Paint(*b);
    ExpectRedBlock(*out, 0, 0, 0, 0);
}

TEST_F(HiImage, ImageRatioZeroChangesNothing) {
    auto b = Button();
    b->SetImageBlendRitu(0);
    auto out = Paint(*b);
    ExpectRedBlock(*out, 0, 0, 0, 0);
}

// The minimum size is kept where the size, the bevel or the frame changes;
// a paint changes no size.
TEST_F(HiPaint, MinimumSizeIsKeptWhereSizeBevelOrFrameChange) {
    struct Logging : THiSukeSuke {
        using THiSukeSuke::THiSukeSuke;
        std::vector<SIZE> sizes;
        void SetBounds(int l, int t, int w, int h) override {
            sizes.push_back(SIZE{w, h});
            THiSukeSuke::SetBounds(l, t, w, h);
        }
    };
    Logging b(nullptr);
    b.SetBounds(0, 0, 3, 3);
    b.sizes.clear();
    TBitmap out(8, 8);
    b.PaintTo(out.Canvas());
    EXPECT_TRUE(b.sizes.empty());
    EXPECT_EQ(b.ClientArea(), (THiArea{0, 5, 0, 5}));
    // Moving passes the grown size on, which asks for nothing new: a lower
    // minimum gives back the size asked for.
    b.SetLeft(7);
    b.SetBevelWidth(2);
    EXPECT_EQ(b.ClientArea(), (THiArea{0, 3, 0, 3}));

    THiSukeSukeImg img(nullptr);  // the image buttons add 10
    img.SetBounds(0, 0, 12, 12);
    img.PaintTo(out.Canvas());
    EXPECT_EQ(img.Width(), 15);
    EXPECT_EQ(img.Height(), 15);
    img.SetBevelWidth(1);  // as a description sets it, after the size
    EXPECT_EQ(img.Width(), 12);

    THiSukeSukeImgEx ex(nullptr);
    ex.SetBounds(0, 0, 40, 2);
    ex.SetBevelWidth(3);
    ex.SetFrameWidth(1);
    ex.PaintTo(out.Canvas());
    EXPECT_EQ(ex.Width(), 40);
    EXPECT_EQ(ex.Height(), 14);
}

TEST_F(HiPaint, WithoutASnapshotTheFaceBlendsOverWhite) {
    THiSukeSuke b(nullptr);
    b.SetBounds(0, 0, 20, 20);
    b.SetBlendRitu(0);
    TBitmap out(20, 20);
    Fill(out, clBlack);
    b.PaintTo(out.Canvas());
    EXPECT_EQ(b.FirstPaintDone(), 1);
    EXPECT_EQ(Px(out, 10, 10), clWhite);
    EXPECT_EQ(Px(out, 0, 0), clWhite);
}

// The snapshot is read as pixels whatever its format was turned into.
TEST_F(HiPaint, SnapshotOfAnotherPixelFormatIsReadAsPixels) {
    for (TPixelFormat pf : {pf8bit, pf1bit, pf32bit}) {
        const TColor background = pf == pf1bit ? clWhite : kBackground;
        auto b = Make<THiSukeSuke>(44, 20, background);
        b->Background().SetPixelFormat(pf);
        b->SetBlendRitu(0);
        auto out = Paint(*b);
        SCOPED_TRACE(int(pf));
        ExpectEveryPixel(*out, [&](int, int) { return background; });
    }
}

TEST_F(HiPaint, DesignModeTakesNoSnapshot) {
    THiSukeSuke b(nullptr);
    b.SetDesignMode(true);
    b.SetBounds(0, 0, 20, 20);
    TBitmap out(20, 20);
    b.PaintTo(out.Canvas());
    EXPECT_EQ(b.FirstPaintDone(), 0);
    EXPECT_EQ(b.Background().Width(), 0);
}

TEST_F(HiPaint, PlainButtonBasePaintsWhite) {
    THiButtonBase b(nullptr);
    b.SetBounds(0, 0, 7, 5);
    TBitmap out(9, 9);
    Fill(out, clBlack);
    b.PaintTo(out.Canvas());
    EXPECT_EQ(b.ClientArea(), (THiArea{0, 5, 0, 7}));
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(Px(out, x, y), (x < 7 && y < 5) ? clWhite : clBlack) << x << "," << y;
}

// Raised, the image button is off at once; the other two keep the state.
// Painting then changes nothing and asks for no other paint.
TEST_F(HiPaint, ImageButtonFollowsTheRaisedLook) {
    controls_test::Counting<THiSukeSukeImg> img(nullptr);
    controls_test::Counting<THiSukeSukeImgEx> ex(nullptr);
    controls_test::Counting<THiSukeSuke> plain(nullptr);
    TBitmap out(30, 30);
    auto check = [&](auto& b, TButtonState expected) {
        b.SetBounds(0, 0, 30, 30);
        b.SetButtonStyle(bsToggle);
        b.SetButtonState(bstOn);
        b.SetRaised(true);  // as after the mouse left a held toggle
        EXPECT_EQ(b.ButtonState(), expected) << b.ClassName();
        b.invalidations = 0;
        b.PaintTo(out.Canvas());
        EXPECT_EQ(b.ButtonState(), expected) << b.ClassName();
        EXPECT_TRUE(b.Raised());
        EXPECT_EQ(b.invalidations, 0) << b.ClassName();
        b.PaintTo(out.Canvas());
        EXPECT_EQ(b.ButtonState(), expected) << b.ClassName();
    };
    check(img, bstOff);
    check(ex, bstOn);
    check(plain, bstOn);
}

TEST_F(HiPaint, InnerCaptionIsCoveredByAnOpaqueFace) {
    for (int ritu : {255, 0}) {
        auto b = Make<THiSukeSuke>(60, 30, clWhite);
        b->SetCapDrawLayer(dlInner);
        b->SetBevelWidth(2);
        b->SetBlendRitu(std::uint8_t(ritu));
        b->SetOffFaceColor(clWhite);
        b->SetHighlightColor(clWhite);
        b->SetShadowColor(clWhite);
        b->Font()->SetColor(clBlack);
        b->Font()->SetHeight(-16);
        TStringList lines{"WW"};
        b->SetOffCaption(lines);
        auto out = Paint(*b);
        int dark = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 60; ++x)
                if (rastel::RedOf(Px(*out, x, y)) < 128) ++dark;
        if (ritu == 255)
            EXPECT_EQ(dark, 0) << "the face covers the caption";
        else
            EXPECT_GT(dark, 10) << "the caption shows in full";
    }
}

}  // namespace
