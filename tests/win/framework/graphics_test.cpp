#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "gdi_count_test_util.h"
#include "graphics_test_util.h"

using framework_test::PixelOf;

namespace {

// Rows of a bitmap as characters: '#' for `ink`, '.' for white, '?' for anything else.
std::vector<std::string> Picture(TBitmap& b, TColor ink) {
    std::vector<std::string> rows;
    for (int y = 0; y < b.Height(); ++y) {
        std::string row;
        for (int x = 0; x < b.Width(); ++x) {
            TColor c = PixelOf(b, x, y);
            row += c == ink ? '#' : c == clWhite ? '.' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

using Rows = std::vector<std::string>;

}  // namespace

TEST(GraphicsCanvas, LinesLeaveOutTheirEndPoint) {
    TBitmap b(6, 4);
    TCanvas& c = b.Canvas();
    c.Pen().SetColor(clRed);
    c.MoveTo(1, 1);
    c.LineTo(5, 1);
    EXPECT_EQ(c.PenPos().x, 5);
    c.LineTo(5, 3);  // continues from the pen position
    c.MoveTo(0, 3);
    c.LineTo(0, 0);
    EXPECT_EQ(Picture(b, clRed), (Rows{"......", "######", "#....#", "#....."}));
}

TEST(GraphicsCanvas, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
    TBitmap b(7, 5);
    TCanvas& c = b.Canvas();
    c.Pen().SetColor(clBlack);
    c.Brush().SetColor(clRed);
    c.Rectangle(1, 1, 6, 4);
    EXPECT_EQ(Picture(b, clBlack), (Rows{".......", ".#####.", ".#???#.", ".#####.", "......."}));
    EXPECT_EQ(PixelOf(b, 3, 2), clRed);

    // No fill with a clear brush: only the outline, right and bottom edges at right-1, bottom-1.
    TBitmap o(5, 4);
    o.Canvas().Brush().SetStyle(bsClear);
    o.Canvas().Pen().SetColor(clBlue);
    o.Canvas().Rectangle(Rect(0, 0, 4, 3));
    EXPECT_EQ(Picture(o, clBlue), (Rows{"####.", "#..#.", "####.", "....."}));
}

TEST(GraphicsCanvas, FillAndFrameUseTheBrushAndExcludeRightAndBottom) {
    TBitmap b(5, 5);
    TCanvas& c = b.Canvas();
    c.Brush().SetColor(clLime);
    c.FillRect(Rect(1, 1, 3, 2));
    EXPECT_EQ(Picture(b, clLime), (Rows{".....", ".##..", ".....", ".....", "....."}));
    c.Brush().SetColor(clBlue);
    c.FrameRect(Rect(0, 1, 5, 5));
    EXPECT_EQ(Picture(b, clBlue), (Rows{".....", "#####", "#...#", "#...#", "#####"}));

    // A clear brush paints nothing; setting a colour makes it solid again.
    c.Brush().SetStyle(bsClear);
    c.FillRect(Rect(0, 0, 5, 5));
    EXPECT_EQ(PixelOf(b, 2, 2), clWhite);
    c.Brush().SetColor(clBlue);
    EXPECT_EQ(c.Brush().Style(), bsSolid);
}

TEST(GraphicsCanvas, PixelsAndSystemColours) {
    TBitmap b(3, 1);
    TCanvas& c = b.Canvas();
    c.SetPixel(0, 0, rastel::RGBColor(1, 2, 3));
    c.SetPixel(1, 0, clBtnFace);
    EXPECT_EQ(c.Pixel(0, 0), rastel::RGBColor(1, 2, 3));
    EXPECT_EQ(c.Pixel(1, 0), rastel::ColorToRGB(clBtnFace));
    EXPECT_EQ(PixelOf(b, 0, 0), rastel::RGBColor(1, 2, 3));

    // A pen of a system colour follows a changed colour scheme.
    rastel::SystemColorTable saved = rastel::CurrentSystemColors();
    rastel::SystemColorTable custom = saved;
    custom.rgb[16] = rastel::RGBColor(10, 20, 30);
    c.Pen().SetColor(clBtnShadow);
    c.MoveTo(2, 0);
    c.LineTo(3, 0);
    EXPECT_EQ(c.Pixel(2, 0), rastel::ColorToRGB(clBtnShadow));
    rastel::SetSystemColors(custom);
    c.MoveTo(2, 0);
    c.LineTo(3, 0);
    EXPECT_EQ(c.Pixel(2, 0), rastel::RGBColor(10, 20, 30));
    rastel::SetSystemColors(saved);
}

TEST(GraphicsCanvas, SystemColoursComeFromTheRunningSystem) {
    rastel::SystemColorTable saved = rastel::CurrentSystemColors();
    rastel::SystemColorTable zero;
    rastel::SetSystemColors(zero);
    LoadSystemColors();
    EXPECT_EQ(rastel::ColorToRGB(clBtnFace), TColor(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(rastel::ColorToRGB(clWindowText), TColor(GetSysColor(COLOR_WINDOWTEXT)));
    EXPECT_EQ(rastel::ColorToRGB(clBtnHighlight), TColor(GetSysColor(COLOR_BTNHIGHLIGHT)));
    rastel::SetSystemColors(saved);
}

TEST(GraphicsCanvas, CopyRectCopiesAndStretches) {
    TBitmap src(2, 1);
    src.Canvas().SetPixel(0, 0, clRed);
    src.Canvas().SetPixel(1, 0, clBlue);
    TBitmap dest(6, 2);
    dest.Canvas().CopyRect(Rect(0, 0, 2, 1), src.Canvas(), Rect(0, 0, 2, 1));
    dest.Canvas().CopyRect(Rect(2, 0, 6, 2), src.Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(PixelOf(dest, 0, 0), clRed);
    EXPECT_EQ(PixelOf(dest, 1, 0), clBlue);
    EXPECT_EQ(PixelOf(dest, 0, 1), clWhite);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(PixelOf(dest, 2, y), clRed);
        EXPECT_EQ(PixelOf(dest, 3, y), clRed);
        EXPECT_EQ(PixelOf(dest, 4, y), clBlue);
        EXPECT_EQ(PixelOf(dest, 5, y), clBlue);
    }
}

TEST(GraphicsCanvas, DrawingRaisesTheBitmapsChange) {
    TBitmap b(2, 2);
    int changes = 0;
    b.OnChange.handler = [&](TObject* sender) {
        EXPECT_EQ(sender, &b);
        ++changes;
    };
    b.Canvas().SetPixel(0, 0, clRed);
    b.Canvas().Rectangle(0, 0, 2, 2);
    EXPECT_EQ(changes, 2);
    RECT r{0, 0, 0, 0};
    b.Canvas().DrawText("W", r, DT_CALCRECT);  // measuring is no change
    EXPECT_EQ(changes, 2);
}

TEST(GraphicsCanvas, TextIsMeasuredAndDrawnWithTheCanvasFont) {
    TBitmap b(80, 30);
    TCanvas& c = b.Canvas();
    c.Font().SetHeight(-12);
    int h = c.TextHeight("W");
    EXPECT_GE(h, 12);
    EXPECT_LE(h, 20);
    EXPECT_GT(c.TextWidth("WWW"), c.TextWidth("W"));
    c.Font().SetHeight(-24);
    EXPECT_GT(c.TextHeight("W"), h);

    // Prefix handling is DrawText's: "&A" shows as "A" unless DT_NOPREFIX.
    RECT withPrefix{0, 0, 0, 0}, noPrefix{0, 0, 0, 0}, plain{0, 0, 0, 0};
    c.DrawText("&A", withPrefix, DT_CALCRECT | DT_SINGLELINE);
    c.DrawText("&A", noPrefix, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    c.DrawText("A", plain, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(withPrefix.right, plain.right);
    EXPECT_GT(noPrefix.right, plain.right);

    // Clear brush: the background stays; solid brush: the text cell is filled.
    c.Font().SetHeight(-12);
    c.Font().SetColor(clBlack);
    c.Brush().SetColor(clRed);
    c.FillRect(Rect(0, 0, 80, 30));
    c.Brush().SetStyle(bsClear);
    c.DrawText("||", Rect(0, 0, 80, 30), DT_LEFT | DT_TOP | DT_SINGLELINE);
    EXPECT_EQ(PixelOf(b, 0, 0), clRed);
    bool inked = false;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 12; ++x) inked |= PixelOf(b, x, y) != clRed;
    EXPECT_TRUE(inked);
    EXPECT_EQ(PixelOf(b, 60, 20), clRed);
    c.Brush().SetColor(clLime);
    c.DrawText("||", Rect(40, 0, 80, 30), DT_LEFT | DT_TOP | DT_SINGLELINE);
    EXPECT_EQ(PixelOf(b, 40, 0), clLime);

    // Japanese text goes through the wide function.
    RECT jp{0, 0, 0, 0};
    c.DrawText("常時前", jp, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(jp.right, 12);
}

TEST(GraphicsFont, EveryAttributeChangeRaisesOnChangeOnce) {
    TFont f;
    int changes = 0;
    f.OnChange.handler = [&](TObject* sender) {
        EXPECT_EQ(sender, &f);
        ++changes;
    };
    f.SetName("Arial");
    f.SetHeight(-20);
    f.SetCharset(SHIFTJIS_CHARSET);
    f.SetColor(clRed);
    f.SetStyle({fsBold, fsUnderline});
    EXPECT_EQ(changes, 5);
    f.SetName("Arial");
    f.SetHeight(-20);
    f.SetColor(clRed);
    f.SetStyle(TFontStyles{fsUnderline, fsBold});
    EXPECT_EQ(changes, 5);  // equal values change nothing

    f.SetPixelsPerInch(96);
    f.SetHeight(-12);
    EXPECT_EQ(f.Size(), 9);
    f.SetSize(12);
    EXPECT_EQ(f.Height(), -16);
    f.SetPixelsPerInch(120);
    f.SetSize(9);
    EXPECT_EQ(f.Height(), -15);
}

TEST(GraphicsFont, AssignCopiesAllAttributesWithOneChange) {
    TFont a, b;
    a.SetName("Arial");
    a.SetHeight(-17);
    a.SetCharset(ANSI_CHARSET);
    a.SetColor(clBlue);
    a.SetStyle({fsItalic, fsStrikeOut});
    int changes = 0;
    b.OnChange.handler = [&](TObject*) { ++changes; };
    b.Assign(a);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(b.SameAttributes(a));
    EXPECT_EQ(b.Name(), "Arial");
    EXPECT_EQ(b.Height(), -17);
    EXPECT_EQ(b.Charset(), ANSI_CHARSET);
    EXPECT_EQ(b.Color(), clBlue);
    EXPECT_EQ(b.Style(), (TFontStyles{fsItalic, fsStrikeOut}));
    EXPECT_FALSE(a.OnChange);  // handlers are not copied

    // The handle follows the attributes.
    LOGFONTW lf{};
    ASSERT_TRUE(GetObjectW(b.Handle(), sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, -17);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_TRUE(lf.lfStrikeOut);
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    b.SetStyle({fsBold});
    ASSERT_TRUE(GetObjectW(b.Handle(), sizeof lf, &lf));
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_FALSE(lf.lfItalic);

    TStringList notAFont;
    EXPECT_THROW(b.Assign(notAFont), EFrameworkError);
}

TEST(GraphicsFont, MissingJapaneseFacesFallBackToAnInstalledJapaneseFont) {
    EXPECT_FALSE(FontFaceExists("Ｎｏ Ｓｕｃｈ ゴシック"));
    std::string face = ResolveFontFace("Ｎｏ Ｓｕｃｈ ゴシック", SHIFTJIS_CHARSET);
    EXPECT_NE(face, "Ｎｏ Ｓｕｃｈ ゴシック");
    EXPECT_TRUE(FontFaceExists(face)) << face;

    // The program's own face resolves to something installed too.
    std::string ms = ResolveFontFace("ＭＳ Ｐゴシック", SHIFTJIS_CHARSET);
    EXPECT_TRUE(FontFaceExists(ms)) << ms;

    // Others are left to GDI's own substitution.
    EXPECT_EQ(ResolveFontFace("No Such Face", ANSI_CHARSET), "No Such Face");

    // The created font asks for the resolved face.
    TFont f;
    f.SetName("Ｎｏ Ｓｕｃｈ ゴシック");
    f.SetCharset(SHIFTJIS_CHARSET);
    LOGFONTW lf{};
    ASSERT_TRUE(GetObjectW(f.Handle(), sizeof lf, &lf));
    EXPECT_EQ(Narrow(lf.lfFaceName), face);
}

TEST(GraphicsHandles, GuardsRestoreAndOwnersFree) {
    UniqueDC dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_PEN);
    UniquePen red(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    {
        SelectGuard guard(dc.get(), red.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), red.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), original);

    UniquePen moved = std::move(red);
    EXPECT_FALSE(red);
    EXPECT_TRUE(moved);
    HPEN raw = moved.get();
    moved.reset();
    EXPECT_EQ(GetObjectType(raw), 0u);  // freed

    UniqueRegion region(CreateRectRgn(0, 0, 1, 1));
    HRGN handed = region.release();
    EXPECT_FALSE(region);
    EXPECT_EQ(GetObjectType(handed), DWORD(OBJ_REGION));  // still alive: the new owner frees it
    DeleteObject(handed);

    WindowDC screen(nullptr);
    EXPECT_TRUE(screen);
}

TEST(GraphicsLeaks, GdiObjectCountStaysFlat) {
    framework_test::TempDir dir;
    framework_test::Image24 img(8, 8);
    std::string path = dir.Write("leak.bmp", rastel::EncodeBmp24(img.View()));
    auto cycle = [&] {
        TFont font;
        font.SetHeight(-13);
        font.Handle();
        TBitmap b(16, 16);
        TCanvas& c = b.Canvas();
        c.Font().Assign(font);
        c.Font().SetStyle({fsBold});
        c.Pen().SetColor(clRed);
        c.Pen().SetWidth(2);
        c.Brush().SetColor(clBtnFace);
        c.Rectangle(0, 0, 10, 10);
        c.MoveTo(0, 0);
        c.LineTo(15, 15);
        c.FrameRect(Rect(1, 1, 5, 5));
        c.DrawText("常", Rect(0, 0, 16, 16), DT_CENTER);
        c.TextWidth("W");
        b.SetSize(20, 12);
        TBitmap other;
        other.Assign(b);
        other.SetTransparent(true);
        c.Draw(0, 0, other);
        other.Mask(clRed);
        other.SetPixelFormat(pf15bit);
        TPicture pic;
        pic.LoadFromFile(path);
        pic.Bitmap().Canvas().SetPixel(0, 0, clRed);
        TCanvas window(nullptr);
        WindowDC screen(nullptr);
        window.SetHandle(screen.get());
        window.TextHeight("W");
    };
    cycle();  // warm-up: caches of the system stay alive
    long before = framework_test::LiveGdiObjects();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 500; ++i) cycle();
    long after = framework_test::LiveGdiObjects();
    EXPECT_EQ(after, before);

    // The count does see leaks.
    std::vector<HFONT> leaked;
    for (int i = 0; i < 20; ++i) leaked.push_back(CreateFontW(-12 - i, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial"));
    EXPECT_GE(framework_test::LiveGdiObjects(), after + 20);
    for (HFONT f : leaked) DeleteObject(f);
    EXPECT_EQ(framework_test::LiveGdiObjects(), after);
}
