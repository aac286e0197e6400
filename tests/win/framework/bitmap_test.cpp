#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/Graphics.h"
#include "framework/Text.h"
#include "graphics_test_util.h"
#include "tests/core/bmp_builder.h"

using framework_test::PixelOf;
using framework_test::SetPixel24;

namespace {

void CountChanges(TBitmap& b, int& counter) {
    counter = 0;
    b.OnChange.handler = [&counter](TObject*) { ++counter; };
}

}  // namespace

TEST(GraphicsBitmap, NewBitmapIsWhite24BitWithRowZeroOnTop) {
    TBitmap b(5, 3);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(b.Width(), 5);
    EXPECT_EQ(b.Height(), 3);
    EXPECT_FALSE(b.Empty());
    EXPECT_EQ(b.BytesPerLine(), 16);  // 15 bytes rounded up to 4
    EXPECT_EQ(b.ScanLine(1) - b.ScanLine(0), 16);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(PixelOf(b, x, y), clWhite);

    // What GDI draws at the top shows in row 0.
    b.Canvas().SetPixel(1, 0, clRed);
    EXPECT_EQ(PixelOf(b, 1, 0), clRed);
    EXPECT_EQ(PixelOf(b, 1, 2), clWhite);
    // And what is written to a row shows to GDI.
    SetPixel24(b, 4, 2, clBlue);
    EXPECT_EQ(b.Canvas().Pixel(4, 2), clBlue);

    EXPECT_THROW(b.ScanLine(3), EListError);
    EXPECT_THROW(b.ScanLine(-1), EListError);
    TBitmap empty;
    EXPECT_TRUE(empty.Empty());
    EXPECT_THROW(empty.ScanLine(0), EListError);
}

TEST(GraphicsBitmap, ResizingKeepsTheOverlapAndFillsNewAreaWhite) {
    TBitmap b(3, 2);
    int changes;
    CountChanges(b, changes);
    const TColor c[2][3] = {{clRed, clLime, clBlue}, {clBlack, clYellow, rastel::RGBColor(1, 2, 3)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) SetPixel24(b, x, y, c[y][x]);

    b.SetWidth(5);
    EXPECT_EQ(changes, 1);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelOf(b, x, y), c[y][x]);
        EXPECT_EQ(PixelOf(b, 3, y), clWhite);
        EXPECT_EQ(PixelOf(b, 4, y), clWhite);
    }
    b.SetSize(2, 4);
    EXPECT_EQ(changes, 2);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 2; ++x) EXPECT_EQ(PixelOf(b, x, y), y < 2 ? c[y][x] : clWhite) << x << "," << y;

    b.SetSize(2, 4);  // same size: nothing happens
    EXPECT_EQ(changes, 2);
    b.SetHeight(0);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 2);
    b.SetHeight(1);
    EXPECT_EQ(PixelOf(b, 0, 0), clWhite);  // nothing survives an empty picture
}

TEST(GraphicsBitmap, ASizeTooLargeFailsAndKeepsThePicture) {
    TBitmap b(2, 2);
    SetPixel24(b, 1, 1, clRed);
    EXPECT_THROW(b.SetSize(100000, 100000), EFrameworkError);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(PixelOf(b, 1, 1), clRed);
    b.SetSize(-5, 3);  // negative counts as 0
    EXPECT_EQ(b.Width(), 0);
    EXPECT_TRUE(b.Empty());
}

TEST(GraphicsBitmap, FormatConversionsKeepThePicture) {
    // Colours that survive 5 and 6 bits per channel too.
    const TColor colours[] = {clBlack, clWhite, clRed, clLime, clBlue, rastel::RGBColor(132, 0, 255), clFuchsia};
    TBitmap b(7, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) SetPixel24(b, x, y, colours[(x + y) % 7]);

    for (TPixelFormat pf : {pf32bit, pf15bit, pf16bit, pf8bit, pf4bit}) {
        TBitmap copy;
        copy.Assign(b);
        copy.SetPixelFormat(pf);
        EXPECT_EQ(copy.PixelFormat(), pf);
        EXPECT_EQ(copy.Width(), 7);
        copy.SetPixelFormat(pf24bit);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x) EXPECT_EQ(PixelOf(copy, x, y), colours[(x + y) % 7]) << "format " << pf;
    }

    // Exact for arbitrary colours through 32 bits.
    TBitmap odd(2, 1);
    SetPixel24(odd, 0, 0, rastel::RGBColor(1, 2, 3));
    SetPixel24(odd, 1, 0, rastel::RGBColor(254, 127, 9));
    odd.SetPixelFormat(pf32bit);
    EXPECT_EQ(odd.BytesPerLine(), 8);
    EXPECT_EQ(odd.ScanLine(0)[4], 9);
    EXPECT_EQ(odd.ScanLine(0)[6], 254);
    odd.SetPixelFormat(pf24bit);
    EXPECT_EQ(PixelOf(odd, 0, 0), rastel::RGBColor(1, 2, 3));
    EXPECT_EQ(PixelOf(odd, 1, 0), rastel::RGBColor(254, 127, 9));
}

TEST(GraphicsBitmap, SixteenBitRowsAreWords) {
    TBitmap b(3, 1);
    SetPixel24(b, 0, 0, clWhite);
    SetPixel24(b, 1, 0, clBlack);
    SetPixel24(b, 2, 0, clRed);
    b.SetPixelFormat(pf15bit);
    auto* words = reinterpret_cast<const std::uint16_t*>(b.ScanLine(0));
    EXPECT_EQ(words[0], 0x7FFF);
    EXPECT_EQ(words[1], 0);
    EXPECT_EQ(words[2], 0x7C00);
    EXPECT_EQ(BitsPerPixel(pf15bit), 15);
    b.SetPixelFormat(pf16bit);
    words = reinterpret_cast<const std::uint16_t*>(b.ScanLine(0));
    EXPECT_EQ(words[0], 0xFFFF);
    EXPECT_EQ(words[2], 0xF800);
    // GDI reads the 5-6-5 layout the same way.
    EXPECT_EQ(b.Canvas().Pixel(2, 0), clRed);
}

TEST(GraphicsBitmap, PaletteFormatsWithTooManyColoursTakeTheNearest) {
    TBitmap b(3, 1);
    SetPixel24(b, 0, 0, rastel::RGBColor(250, 250, 250));
    SetPixel24(b, 1, 0, rastel::RGBColor(10, 5, 0));
    SetPixel24(b, 2, 0, rastel::RGBColor(200, 190, 180));
    b.SetPixelFormat(pf1bit);
    EXPECT_EQ(b.Palette().size(), 2u);
    b.SetPixelFormat(pf24bit);
    EXPECT_EQ(PixelOf(b, 0, 0), clWhite);
    EXPECT_EQ(PixelOf(b, 1, 0), clBlack);
    EXPECT_EQ(PixelOf(b, 2, 0), clWhite);
}

TEST(GraphicsBitmap, MaskMakesTheColourWhiteAndEverythingElseBlack) {
    TBitmap b(9, 2);
    for (int x = 0; x < 9; ++x) {
        SetPixel24(b, x, 0, x % 3 == 0 ? clRed : rastel::RGBColor(254, 0, 0));
        SetPixel24(b, x, 1, x == 8 ? clRed : clWhite);
    }
    int changes;
    CountChanges(b, changes);
    b.Mask(clRed);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(b.PixelFormat(), pf1bit);
    // Bit set (white) for x = 0, 3, 6 in row 0 and x = 8 in row 1 (second byte, top bit).
    EXPECT_EQ(b.ScanLine(0)[0], 0x92);
    EXPECT_EQ(b.ScanLine(0)[1], 0x00);
    EXPECT_EQ(b.ScanLine(1)[0], 0x00);
    EXPECT_EQ(b.ScanLine(1)[1], 0x80);

    // The 15-bit form: 0 for solid (black), non-zero for holes (white).
    b.SetPixelFormat(pf15bit);
    auto* row0 = reinterpret_cast<const std::uint16_t*>(b.ScanLine(0));
    auto* row1 = reinterpret_cast<const std::uint16_t*>(b.ScanLine(1));
    for (int x = 0; x < 9; ++x) {
        EXPECT_EQ(row0[x] != 0, x % 3 == 0) << x;
        EXPECT_EQ(row1[x] != 0, x == 8) << x;
    }
}

TEST(GraphicsBitmap, MaskResolvesSystemColours) {
    TBitmap b(2, 1);
    SetPixel24(b, 0, 0, rastel::ColorToRGB(clBtnFace));
    SetPixel24(b, 1, 0, clBlack);
    b.Mask(clBtnFace);
    b.SetPixelFormat(pf24bit);
    EXPECT_EQ(PixelOf(b, 0, 0), clWhite);
    EXPECT_EQ(PixelOf(b, 1, 0), clBlack);
}

TEST(GraphicsBitmap, AssignCopiesAndStaysIndependent) {
    TBitmap a(2, 2);
    SetPixel24(a, 1, 1, clRed);
    a.SetPixelFormat(pf8bit);
    TBitmap b;
    int changes;
    CountChanges(b, changes);
    b.Assign(a);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(b.PixelFormat(), pf8bit);
    EXPECT_EQ(b.Palette().size(), a.Palette().size());
    a.SetPixelFormat(pf24bit);
    SetPixel24(a, 1, 1, clBlue);
    b.SetPixelFormat(pf24bit);
    EXPECT_EQ(PixelOf(b, 1, 1), clRed);
    EXPECT_EQ(PixelOf(b, 0, 0), clWhite);

    auto clone = a.Clone();
    EXPECT_EQ(clone->Width(), 2);
    EXPECT_EQ(PixelOf(static_cast<TBitmap&>(*clone), 1, 1), clBlue);
}

TEST(GraphicsBitmap, View24ConvertsAndSeesTheRows) {
    TBitmap b(4, 2, pf32bit);
    rastel::BgrView v = b.View24();
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(v.width, 4);
    EXPECT_EQ(v.height, 2);
    EXPECT_EQ(v.Row(1), b.ScanLine(1));
    v.Row(1)[0] = 0;  // blue byte of (0, 1)
    EXPECT_EQ(PixelOf(b, 0, 1), rastel::RGBColor(255, 255, 0));
}

TEST(GraphicsBitmap, DrawCopiesAndStretchesExactly) {
    TBitmap src(2, 2);
    SetPixel24(src, 0, 0, clRed);
    SetPixel24(src, 1, 0, clLime);
    SetPixel24(src, 0, 1, clBlue);
    SetPixel24(src, 1, 1, clBlack);
    TBitmap dest(6, 6);
    dest.Canvas().Draw(0, 0, src);
    dest.Canvas().StretchDraw(Rect(2, 2, 6, 6), src);
    EXPECT_EQ(PixelOf(dest, 0, 0), clRed);
    EXPECT_EQ(PixelOf(dest, 1, 1), clBlack);
    EXPECT_EQ(PixelOf(dest, 2, 0), clWhite);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x) {
            TColor expected = (y < 4) ? (x < 4 ? clRed : clLime) : (x < 4 ? clBlue : clBlack);
            EXPECT_EQ(PixelOf(dest, x, y), expected) << x << "," << y;
        }
}

TEST(GraphicsBitmap, TransparentDrawLeavesTheBottomLeftColourOut) {
    TBitmap src(3, 2);
    SetPixel24(src, 0, 1, clRed);  // bottom-left: the transparent colour
    SetPixel24(src, 2, 1, clRed);
    SetPixel24(src, 1, 0, clBlue);
    EXPECT_EQ(src.TransparentColor(), clRed);
    src.SetTransparent(true);
    TBitmap dest(3, 2);
    dest.Canvas().Brush().SetColor(clLime);
    dest.Canvas().FillRect(Rect(0, 0, 3, 2));
    dest.Canvas().Draw(0, 0, src);
    EXPECT_EQ(PixelOf(dest, 0, 1), clLime);
    EXPECT_EQ(PixelOf(dest, 2, 1), clLime);
    EXPECT_EQ(PixelOf(dest, 1, 0), clBlue);
    EXPECT_EQ(PixelOf(dest, 0, 0), clWhite);
}

TEST(GraphicsBitmap, MonochromeBitmapsDrawWithTheirPalette) {
    TBitmap b;
    b.LoadFromBmp(rastel::DecodeBmp(framework_test::MonoBmp(2, {0x40}, {255, 0, 0}, {0, 255, 255})));
    EXPECT_EQ(b.PixelFormat(), pf1bit);
    TBitmap dest(2, 1);
    dest.Canvas().Draw(0, 0, b);
    EXPECT_EQ(PixelOf(dest, 0, 0), clBlue);
    EXPECT_EQ(PixelOf(dest, 1, 0), clYellow);
}

// ------------------------------------------------------------ loading files

class GraphicsLoad : public ::testing::Test {
protected:
    framework_test::TempDir dir;
};

// 24-bit files are held as they are; 8-bit ones keep their palette, so a
// large picture of few colours costs a byte a pixel; one that needs
// decoding (here run lengths) becomes 24-bit. All read and draw the same.
TEST_F(GraphicsLoad, UncompressedFilesKeepTheirFormatOthersBecomeTwentyFourBit) {
    framework_test::Image24 img(3, 2);
    img.Set(0, 0, {0, 0, 255});
    img.Set(2, 1, {10, 20, 30});
    img.Set(1, 1, {255, 255, 255});
    // The same picture run-length coded: the bottom row as an absolute run,
    // the top row as two runs.
    rastel::testing::BmpFields rle;
    rle.width = 3;
    rle.height = 2;
    rle.bitsPerPixel = 8;
    rle.compression = 1;
    rle.palette = {{0, 0, 255}, {0, 0, 0}, {255, 255, 255}, {10, 20, 30}};
    rle.colorsUsed = 4;
    rle.pixelData = {0, 3, 1, 2, 3, 0, 0, 0, 1, 0, 2, 1, 0, 0, 0, 1};
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        TPixelFormat format;
        int bits;
    } files[] = {
        {"a24.bmp", rastel::EncodeBmp24(img.View()), pf24bit, 24},
        {"a8.bmp", rastel::EncodeBmp8(img.View()), pf8bit, 8},
        {"rle8.bmp", rastel::testing::BuildBmp(rle), pf24bit, 8},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        TBitmap b;
        int changes;
        CountChanges(b, changes);
        b.LoadFromFile(dir.Write(f.name, f.bytes));
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(b.PixelFormat(), f.format);
        EXPECT_EQ(b.SourceBitsPerPixel(), f.bits);
        ASSERT_EQ(b.Width(), 3);
        ASSERT_EQ(b.Height(), 2);
        // The pixels, and the top-left part alone.
        framework_test::Image24 read(3, 2), part(2, 1);
        b.ReadPixels24({read.pixels.data(), 3, 2, 9});
        EXPECT_EQ(read.pixels, img.pixels);
        b.ReadPixels24({part.pixels.data(), 2, 1, 6});
        EXPECT_TRUE(std::equal(part.pixels.begin(), part.pixels.end(), img.pixels.begin()));
        EXPECT_THROW(b.ReadPixels24({read.pixels.data(), 4, 1, 12}), EListError);
        EXPECT_EQ(b.TransparentColor(), clBlack);
        // Drawn, as an image control draws it.
        TBitmap dest(3, 2);
        dest.Canvas().Draw(0, 0, b);
        EXPECT_EQ(PixelOf(dest, 0, 0), clRed);
        EXPECT_EQ(PixelOf(dest, 2, 1), rastel::RGBColor(30, 20, 10));
        EXPECT_EQ(PixelOf(dest, 1, 1), clWhite);
        EXPECT_EQ(PixelOf(dest, 1, 0), clBlack);
    }
}

TEST_F(GraphicsLoad, OneBitFilesStayOneBit) {
    framework_test::Image24 img(10, 2);
    for (int x = 0; x < 10; x += 3) img.Set(x, 1, {255, 255, 255});
    std::string path = dir.Write("mono.bmp", rastel::EncodeBmp1(img.View(), {255, 255, 255}, {0, 0, 0}));
    TBitmap b;
    b.LoadFromFile(path);
    EXPECT_EQ(b.PixelFormat(), pf1bit);
    EXPECT_EQ(b.SourceBitsPerPixel(), 1);
    b.SetPixelFormat(pf24bit);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(PixelOf(b, x, 0), clBlack);
        EXPECT_EQ(PixelOf(b, x, 1), x % 3 == 0 ? clWhite : clBlack);
    }
}

TEST_F(GraphicsLoad, MissingFileNamesTheFullPathAndTheSystemText) {
    wchar_t old[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, old);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
    TBitmap b(1, 1);
    std::string expected = "ファイル \"" + Narrow(dir.Path()) + "\\RastelS.bmp\". " +
                           SystemErrorMessage(ERROR_FILE_NOT_FOUND) + " は開けません";
    try {
        b.LoadFromFile("RastelS.bmp");
        ADD_FAILURE() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()), expected);
    }
    SetCurrentDirectoryW(old);
    EXPECT_EQ(b.Width(), 1);  // unchanged

    std::string system = SystemErrorMessage(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(system.empty());
    EXPECT_NE(system.back(), '\n');
    EXPECT_NE(system.back(), ' ');
}

TEST_F(GraphicsLoad, EmptyFileNameIsAnOpenError) {
    TBitmap b;
    try {
        b.LoadFromFile("");
        ADD_FAILURE() << "no exception";
    } catch (const EFOpenError& e) {
        std::string text = e.what();
        EXPECT_EQ(text.rfind("ファイル \"\". ", 0), 0u) << text;
        EXPECT_GT(text.size(), std::string("ファイル \"\".  は開けません").size()) << text;
        EXPECT_EQ(text.substr(text.size() - std::string(" は開けません").size()), " は開けません");
    }
}

TEST_F(GraphicsLoad, CorruptFilesAreInvalidBitmaps) {
    framework_test::Image24 img(4, 4);
    std::vector<std::uint8_t> good = rastel::EncodeBmp24(img.View());
    std::vector<std::uint8_t> truncated(good.begin(), good.begin() + 60);
    std::vector<std::uint8_t> garbage = {'H', 'e', 'l', 'l', 'o'};
    std::vector<std::uint8_t> empty;
    for (const auto* bytes : {&truncated, &garbage, &empty}) {
        std::string path = dir.Write("bad" + std::to_string(bytes->size()) + ".bmp", *bytes);
        TBitmap b(2, 2);
        try {
            b.LoadFromFile(path);
            ADD_FAILURE() << "no exception for " << bytes->size() << " bytes";
        } catch (const EInvalidGraphic& e) {
            EXPECT_STREQ(e.what(), "ビットマップイメージが不正です");
        }
        EXPECT_EQ(b.Width(), 2);
    }
}

TEST_F(GraphicsLoad, OpensForReadingOnlyAndSharesWithReadersOnly) {
    framework_test::Image24 img(2, 2);
    std::string path = dir.Write("shared.bmp", rastel::EncodeBmp24(img.View()));
    std::wstring wide = Widen(path);

    // Another reader does not stop us.
    HANDLE reader = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    TBitmap b;
    EXPECT_NO_THROW(b.LoadFromFile(path));
    CloseHandle(reader);

    // A writer does: we deny write access, so the open fails cleanly.
    HANDLE writer = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    try {
        b.LoadFromFile(path);
        ADD_FAILURE() << "no exception";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "ファイル \"" + path + "\". " + SystemErrorMessage(ERROR_SHARING_VIOLATION) + " は開けません");
    }
    CloseHandle(writer);

    // Our handle is closed afterwards: an exclusive writer gets in.
    HANDLE exclusive = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
    if (exclusive != INVALID_HANDLE_VALUE) CloseHandle(exclusive);
}

TEST_F(GraphicsLoad, PictureHoldsALoadedBitmapAndKeepsItOnFailure) {
    framework_test::Image24 img(5, 4);
    std::string path = dir.Write("pic.bmp", rastel::EncodeBmp24(img.View()));
    TPicture pic;
    int changes = 0;
    pic.OnChange.handler = [&](TObject* sender) {
        EXPECT_EQ(sender, &pic);
        ++changes;
    };
    EXPECT_FALSE(pic.HasGraphic());
    EXPECT_EQ(pic.Width(), 0);
    pic.LoadFromFile(path);
    EXPECT_EQ(changes, 1);
    ASSERT_TRUE(pic.HasGraphic());
    EXPECT_EQ(pic.Width(), 5);
    EXPECT_EQ(pic.Height(), 4);
    EXPECT_THROW(pic.LoadFromFile(dir.File("none.bmp")), EFOpenError);
    EXPECT_EQ(pic.Width(), 5);
    EXPECT_EQ(changes, 1);

    // Drawing on the held bitmap is a change of the picture.
    pic.Bitmap().Canvas().SetPixel(0, 0, clRed);
    EXPECT_EQ(changes, 2);
}

TEST(GraphicsPicture, HoldsAnEmptyGraphicAndCopiesOnAssign) {
    TPicture a;
    TBitmap& bmp = a.Bitmap();
    EXPECT_TRUE(a.HasGraphic());
    EXPECT_TRUE(a.Graphic()->Empty());
    EXPECT_EQ(&a.Bitmap(), &bmp);

    bmp.SetSize(2, 1);
    SetPixel24(bmp, 0, 0, clRed);
    TPicture b;
    b.Assign(a);
    ASSERT_TRUE(b.HasGraphic());
    EXPECT_NE(b.Graphic(), a.Graphic());
    SetPixel24(bmp, 0, 0, clBlue);
    EXPECT_EQ(PixelOf(b.Bitmap(), 0, 0), clRed);

    TPicture none;
    b.Assign(none);
    EXPECT_FALSE(b.HasGraphic());
    b.Assign(bmp);  // from a graphic
    EXPECT_EQ(PixelOf(b.Bitmap(), 0, 0), clBlue);
    EXPECT_NE(&b.Bitmap(), &bmp);
}
