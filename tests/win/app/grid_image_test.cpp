// Grid images: the window shape cut from the picture, the catalogue reached
// through the real controls, every way a grid file can be wrong, and GDI
// objects over many switches.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app_test_util.h"
#include "tests/win/win_test_util.h"
#include "core/catalog.h"
#include "core/region.h"
#include "tests/win/framework/gdi_count_test_util.h"
#include "tests/core/test_random.h"

namespace {

using namespace app_test;

class GridImageTest : public AppTest {
protected:
    // Started with the default pictures, the main window shown.
    void StartWithDefaults() {
        WriteDefaultImages();
        CreateForms();
        ShowMain();
        ASSERT_TRUE(errors.empty()) << errors[0].text;
    }
    void ExpectShapeOf(const std::string& file) {
        UniqueRegion actual = WindowRegion(Form1->Handle());
        ASSERT_TRUE(actual) << "no window region";
        UniqueRegion expected = ExpectedShape(DefaultImage(file), *Form1);
        EXPECT_TRUE(SameRegion(actual.get(), expected.get())) << "shape is not that of " << file;
    }
    std::string OpenError(const std::string& name, DWORD code) {
        return "ファイル \"" + FullPath(name) + "\". " + SystemErrorMessage(code) + " は開けません.";
    }
};

TEST_F(GridImageTest, StartShowsRastelSCutToItsPixels) {
    StartWithDefaults();
    ExpectShapeOf("RastelS.bmp");
    // The region starts at the client area; frame and caption bar are outside it.
    UniqueRegion r = WindowRegion(Form1->Handle());
    const POINT off = ClientOffset(Form1->Handle());
    EXPECT_GT(off.y, off.x);
    RECT box{};
    GetRgnBox(r.get(), &box);
    EXPECT_GE(box.left, off.x);
    EXPECT_GE(box.top, off.y);
    EXPECT_EQ((std::vector<int>{Form1->Image1->Left(), Form1->Image1->Top(), Form1->Image1->Width(),
                                Form1->Image1->Height()}),
              (std::vector<int>{0, 0, 747, 529}));
    EXPECT_TRUE(Form1->Image1->AutoSize());
    EXPECT_TRUE(Form1->DoubleBuffered());
    EXPECT_TRUE(GetWindowLongW(Form1->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(Form2->Visible());
    EXPECT_FALSE(IsWindowVisible(Form2->Handle()));
}

TEST_F(GridImageTest, StartWithoutTheFirstImageShowsOneErrorAndAnUncutWindow) {
    CreateForms();
    ShowMain();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].caption, "Rastel");
    EXPECT_EQ(errors[0].text, OpenError("RastelS.bmp", ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(errors[0].flags, UINT(MB_ICONERROR | MB_OK));
    EXPECT_FALSE(WindowRegion(Form1->Handle()));
    EXPECT_TRUE(GetWindowLongW(Form1->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(Form1->Image1->Picture()->Width() == 0);
    EXPECT_EQ(Form1->ClientWidth(), 747);
    EXPECT_EQ(Form1->ClientHeight(), 529);

    // A later choice shapes the window.
    WriteFile("RastelB.bmp", DefaultImage("RastelB.bmp"));
    ChooseColour(Form1, 1);
    EXPECT_EQ(errors.size(), 1u);
    ExpectShapeOf("RastelB.bmp");
}

// Every row of the catalogue reached as a user reaches it. Each file has its
// own width, so Image1 tells which one was applied.
TEST_F(GridImageTest, CatalogueThroughTheControls) {
    const auto& names = rastel::AllGridImageFileNames();
    ASSERT_EQ(names.size(), 27u);
    auto widthOf = [&](const std::string& name) {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == name) return 40 + int(i);
        return -1;
    };
    for (const std::string& n : names) WriteFile(n, SolidBmp(widthOf(n), 20, {0, 0, 0}));
    CreateForms();
    ShowMain();
    ASSERT_TRUE(errors.empty());
    EXPECT_EQ(Form1->Image1->Width(), widthOf("RastelS.bmp"));

    const char* rows[5][3][2] = {
        {{"RastelS.bmp", "RastelSB2.bmp"}, {"RastelS8.bmp", "RastelSB8.bmp"}, {"RastelSBig.bmp", "RastelSBBig.bmp"}},
        {{"RastelB.bmp", "RastelBB2.bmp"}, {"RastelB8.bmp", "RastelBB8.bmp"}, {"RastelBBig.bmp", "RastelBBBig.bmp"}},
        {{"RastelR.bmp", "RastelRB2.bmp"}, {"RastelR8.bmp", "RastelRB8.bmp"}, {"RastelRBig.bmp", "RastelRBBig.bmp"}},
        {{"RastelP.bmp", "RastelPB2.bmp"}, {"RastelP8.bmp", "RastelPB8.bmp"}, {"RastelPBig.bmp", "RastelPBBig.bmp"}},
        {{"RastelSTateBig.bmp", "RastelSTateBig.bmp"},
         {"RastelSTate2Big.bmp", "RastelSTate2Big.bmp"},
         {"RastelSTate3Big.bmp", "RastelSTate3Big.bmp"}},
    };
    TRadioButton* sizes[3] = {Form1->RadioButton1, Form1->RadioButton2, Form1->RadioButton3};
    for (int colour = 0; colour < 5; ++colour) {
        ChooseColour(Form1, colour);
        for (int size = 0; size < 3; ++size) {
            if (!sizes[size]->Checked()) Click(sizes[size]);
            EXPECT_EQ(Form1->Image1->Width(), widthOf(rows[colour][size][0])) << colour << "/" << size;
            Click(Form1->CheckBox1);
            ASSERT_TRUE(Form1->CheckBox1->Checked());
            EXPECT_EQ(Form1->Image1->Width(), widthOf(rows[colour][size][1])) << colour << "/" << size << " 強調";
            Click(Form1->CheckBox1);
            EXPECT_EQ(Form1->Image1->Width(), widthOf(rows[colour][size][0])) << colour << "/" << size;
        }
    }
    EXPECT_TRUE(errors.empty());
}

// Which events reload: a close-up always, the emphasis box always, a radio
// button only when the click checks it. A file removed after it was applied
// shows whether it was read again.
TEST_F(GridImageTest, WhichControlEventsReload) {
    StartWithDefaults();
    DeleteFile("RastelS.bmp");
    Click(Form1->RadioButton1);  // already checked
    EXPECT_TRUE(errors.empty());

    ChooseColour(Form1, 0);  // opened and closed without a change
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, OpenError("RastelS.bmp", ERROR_FILE_NOT_FOUND));

    // Changing the item while the list stays closed does nothing.
    SendMessageW(Form1->ComboBox1->Handle(), CB_SETCURSEL, 2, 0);
    EXPECT_EQ(errors.size(), 1u);
    ExpectShapeOf("RastelS.bmp");

    Click(Form1->RadioButton2);  // Red, 8升
    EXPECT_EQ(errors.size(), 1u);
    ExpectShapeOf("RastelR8.bmp");
}

// A switch reads the file once and shows the new grid before it returns: the
// file removed while its region is made, Image1 still holds its pixels, and
// the window's own pixels are the new picture's before any message is
// handled.
TEST_F(GridImageTest, SwitchReadsOnceAndShowsTheGridAtOnce) {
    StartWithDefaults();
    Pump();
    ShapePlatform::Current().makeRegion = [this](const XFORM* xf, DWORD n, const RGNDATA* d) {
        DeleteFile("RastelR.bmp");
        return ::ExtCreateRegion(xf, n, d);
    };
    ChooseColour(Form1, 2);  // Red, 16升
    ASSERT_TRUE(errors.empty()) << errors[0].text;
    const rastel::BmpImage img = rastel::DecodeBmp(std::span<const std::uint8_t>(DefaultImage("RastelR.bmp")));
    auto* shown = dynamic_cast<TBitmap*>(Form1->Image1->Picture()->Graphic());
    ASSERT_TRUE(shown);
    ASSERT_EQ(shown->Width(), img.width);
    ASSERT_EQ(shown->Height(), img.height);
    std::vector<std::uint8_t> pixels(img.pixels.size());
    shown->ReadPixels24({pixels.data(), img.width, img.height, std::ptrdiff_t(img.stride)});
    EXPECT_TRUE(pixels == img.pixels);

    // Lines away from the controls, where SkyBlue and Red differ.
    ExpectWindowShowsLines(Form1->Handle(), img, 7, 20);
    ExpectShapeOf("RastelR.bmp");
}

// Everything a user can get wrong with a grid file: the right message or
// none, the previous grid and shape kept, the controls as the user left them,
// no GDI object left behind.
TEST_F(GridImageTest, BadFilesKeepThePreviousGrid) {
    StartWithDefaults();
    ChooseColour(Form1, 3);
    Click(Form1->RadioButton3);
    ExpectShapeOf("RastelPBig.bmp");
    ChooseColour(Form1, 2);  // Red, 大: the file the cases below replace
    ExpectShapeOf("RastelRBig.bmp");
    Click(Form1->CheckBox1);  // the box's first checked look makes an object it keeps
    Click(Form1->CheckBox1);
    Pump();
    UniqueRegion before = WindowRegion(Form1->Handle());
    const int imageW = Form1->Image1->Width(), imageH = Form1->Image1->Height();
    errors.clear();

    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;  // empty: no file at all
        bool write;
        std::string message;  // "" : nothing shown
    };
    std::vector<std::uint8_t> notBmp(300, 'x');
    std::vector<std::uint8_t> truncated = DefaultImage("RastelRBig.bmp");
    truncated.resize(100);
    const std::vector<Case> cases = {
        {"missing", {}, false, OpenError("RastelRBig.bmp", ERROR_FILE_NOT_FOUND)},
        {"not a bitmap", notBmp, true, "ビットマップイメージが不正です."},
        {"truncated", truncated, true, "ビットマップイメージが不正です."},
        {"zero bytes", {}, true, "ビットマップイメージが不正です."},
        {"empty bitmap", EmptyBmp(), true, ""},
        // (A picture with nothing opaque is no fault: it shows the cluster alone.)
    };
    const long gdiBefore = framework_test::LiveGdiObjects();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFile("RastelRBig.bmp");
        if (c.write) WriteFile("RastelRBig.bmp", c.bytes);
        errors.clear();
        Click(Form1->CheckBox1);  // 強調 on: RastelRBBig.bmp
        Click(Form1->CheckBox1);  // off again: the replaced file
        Pump();
        ExpectShapeOf("RastelRBBig.bmp");
        if (c.message.empty()) {
            EXPECT_TRUE(errors.empty()) << errors[0].text;
        } else {
            ASSERT_EQ(errors.size(), 1u);
            EXPECT_EQ(errors[0].text, c.message);
            EXPECT_EQ(errors[0].caption, "Rastel");
        }
        // The controls keep the user's choice though the picture does not match it.
        EXPECT_EQ(Form1->ComboBox1->ItemIndex(), 2);
        EXPECT_TRUE(Form1->RadioButton3->Checked());
        EXPECT_FALSE(Form1->CheckBox1->Checked());
        // Go back to the known grid for the next case.
        WriteFile("RastelRBig.bmp", DefaultImage("RastelRBig.bmp"));
        ChooseColour(Form1, 2);
        UniqueRegion now = WindowRegion(Form1->Handle());
        EXPECT_TRUE(SameRegion(now.get(), before.get()));
        EXPECT_EQ(Form1->Image1->Width(), imageW);
        EXPECT_EQ(Form1->Image1->Height(), imageH);
    }
    Pump();
    EXPECT_EQ(framework_test::LiveGdiObjects(), gdiBefore);
}

// Failures while or after the region is made: what was made is deleted, the
// window keeps its shape.
TEST_F(GridImageTest, FailuresAfterTheRegionWasMadeFreeIt) {
    StartWithDefaults();
    ChooseColour(Form1, 0);  // the list's first opening makes objects it keeps
    Pump();
    UniqueRegion before = WindowRegion(Form1->Handle());
    const long gdiBefore = framework_test::LiveGdiObjects();

    // Made in chunks, the platform fails or throws partway: the chunks made
    // so far go, the error shows (when there is one) and the shape stays.
    KeepHook keepPlatform(ShapePlatform::Current());
    ShapePlatform::Current().chunk = std::optional<std::size_t>(32);
    int calls = 0;
    ShapePlatform::Current().makeRegion = [&calls](const XFORM* xf, DWORD n, const RGNDATA* d) -> HRGN {
        if (++calls == 3) return nullptr;
        return ::ExtCreateRegion(xf, n, d);
    };
    ChooseColour(Form1, 2);
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(errors.empty());
    calls = 0;
    ShapePlatform::Current().makeRegion = [&calls](const XFORM* xf, DWORD n, const RGNDATA* d) -> HRGN {
        if (++calls == 3) throw EFrameworkError("no region");
        return ::ExtCreateRegion(xf, n, d);
    };
    ChooseColour(Form1, 2);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, "no region.");
    {
        UniqueRegion after = WindowRegion(Form1->Handle());
        EXPECT_TRUE(SameRegion(before.get(), after.get()));
    }

    // The region buffer cannot grow.
    ShapePlatform::Current().makeRegion = [](const XFORM* xf, DWORD n, const RGNDATA* d) { return ::ExtCreateRegion(xf, n, d); };
    ShapePlatform::Current().reallocate = [](void* old, std::size_t n) -> void* {
        if (n > 8192) return nullptr;
        return std::realloc(old, n);
    };
    errors.clear();
    ChooseColour(Form1, 2);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, "メモリストリームの拡大中にメモリが足りなくなりました.");

    // The platform makes no region: nothing changes and nothing is said.
    ShapePlatform::Current().reallocate = nullptr;
    calls = 0;
    ShapePlatform::Current().makeRegion = [&calls](const XFORM*, DWORD, const RGNDATA*) -> HRGN {
        ++calls;
        return nullptr;
    };
    errors.clear();
    ChooseColour(Form1, 2);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(errors.empty());

    {
        UniqueRegion after = WindowRegion(Form1->Handle());
        EXPECT_TRUE(SameRegion(before.get(), after.get()));
    }
    ExpectShapeOf("RastelS.bmp");
    Pump();
    EXPECT_EQ(framework_test::LiveGdiObjects(), gdiBefore);
}

// The region itself: one rectangle per horizontal run, never merged across
// rows, top row first, in one platform call (where no chunks are asked for,
// as on Windows); 1-bit pictures use white.
TEST_F(GridImageTest, RegionFromBitmapRuns) {
    KeepHook keepPlatform(ShapePlatform::Current());
    ShapePlatform::Current().chunk = std::nullopt;
    std::vector<std::vector<RECT>> calls;
    ShapePlatform::Current().makeRegion = [&calls](const XFORM* xf, DWORD n, const RGNDATA* d) {
        EXPECT_EQ(xf, nullptr);
        EXPECT_EQ(n, d->rdh.dwSize + d->rdh.nCount * sizeof(RECT));
        const RECT* r = reinterpret_cast<const RECT*>(d->Buffer);
        calls.emplace_back(r, r + d->rdh.nCount);
        return ::ExtCreateRegion(xf, n, d);
    };
    WriteFile("pic.bmp", BmpFromRows({
                             "##.#.##",
                             "#######",
                             "..r...b",
                             "b......",
                         }));
    TBitmap bmp;
    bmp.LoadFromFile("pic.bmp");
    const TColor transparent = TransparentColorOf(bmp);
    EXPECT_EQ(transparent, clBlue);
    UniqueRegion r(TForm1::CreateRegionFromBitmap(bmp, transparent));
    ASSERT_TRUE(r);
    ASSERT_EQ(calls.size(), 1u);
    auto same = [](const std::vector<RECT>& a, const std::vector<RECT>& b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (!EqualRect(&a[i], &b[i])) return false;
        return true;
    };
    // Blue pixels are the holes; white and black are solid.
    EXPECT_TRUE(same(calls[0], {{0, 0, 7, 1}, {0, 1, 7, 2}, {0, 2, 6, 3}, {1, 3, 7, 4}}));

    // Another transparent colour; the bitmap passed in stays as it was.
    calls.clear();
    UniqueRegion r2(TForm1::CreateRegionFromBitmap(bmp, clBlack));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(same(calls[0], {{2, 0, 3, 1}, {4, 0, 5, 1}, {0, 2, 7, 3}, {0, 3, 7, 4}}));
    EXPECT_EQ(bmp.PixelFormat(), pf24bit);
    EXPECT_EQ(bmp.Width(), 7);

    // A 1-bit picture: white is transparent whatever its bottom-left pixel is.
    const std::vector<std::uint8_t> px = {0, 0, 0, 255, 255, 255, 0, 0, 0,  //
                                          0, 0, 0, 0, 0, 0, 255, 255, 255};
    WriteFile("mono.bmp", rastel::EncodeBmp1(rastel::ConstBgrView(px.data(), 3, 2, 9), {255, 255, 255}, {0, 0, 0}));
    TBitmap mono;
    mono.LoadFromFile("mono.bmp");
    ASSERT_EQ(mono.PixelFormat(), pf1bit);
    EXPECT_EQ(TransparentColorOf(mono), clWhite);
    calls.clear();
    UniqueRegion r3(TForm1::CreateRegionFromBitmap(mono, clWhite));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(same(calls[0], {{0, 0, 1, 1}, {2, 0, 3, 1}, {0, 1, 2, 2}}));
    EXPECT_EQ(mono.PixelFormat(), pf1bit);

    // An empty bitmap gives no region and no platform call.
    calls.clear();
    TBitmap empty;
    EXPECT_FALSE(TForm1::CreateRegionFromBitmap(empty, clWhite));
    EXPECT_TRUE(calls.empty());
}

// A picture larger than the client area: the window shows its part inside
// the client area, and the transparent colour is still the whole picture's
// bottom-left pixel (here the crop's bottom-left pixel is a line). 1-bit too.
TEST_F(GridImageTest, LargePictureIsCutToWhatTheClientAreaShows) {
    StartWithDefaults();
    const std::vector<std::uint8_t> grid = GridBmp(1000, 700, 16, {0, 0, 255});
    const rastel::BmpImage decoded = rastel::DecodeBmp(std::span<const std::uint8_t>(grid));
    const std::vector<std::uint8_t> files[] = {grid, rastel::EncodeBmp1(decoded.View(), {255, 255, 255}, {0, 0, 255})};
    for (const auto& file : files) {
        SCOPED_TRACE(file.size() < grid.size() ? "1-bit" : "24-bit");
        RECT bounds{};
        ShapePlatform::Current().makeRegion = [&bounds](const XFORM* xf, DWORD n, const RGNDATA* d) {
            bounds = d->rdh.rcBound;
            return ::ExtCreateRegion(xf, n, d);
        };
        WriteFile("RastelR.bmp", file);
        ChooseColour(Form1, 2);
        ASSERT_TRUE(errors.empty()) << errors[0].text;
        const RECT client{0, 0, 747, 529};
        EXPECT_TRUE(EqualRect(&bounds, &client));
        UniqueRegion expected = ExpectedShape(file, *Form1);
        UniqueRegion actual = WindowRegion(Form1->Handle());
        EXPECT_TRUE(SameRegion(actual.get(), expected.get()));
        EXPECT_EQ(Form1->Image1->Width(), 1000);  // Image1 still holds the whole picture
    }
}

// The rectangles the platform keeps of a region are the merged count the
// program checks against the platform's limit.
TEST_F(GridImageTest, MergedCountIsWhatThePlatformKeeps) {
    std::vector<std::vector<std::uint8_t>> files = {DefaultImage("RastelS.bmp"), DefaultImage("RastelB8.bmp"),
                                                    DefaultImage("RastelSTate3Big.bmp"), GridBmp(300, 200, 7, {0, 0, 0})};
    std::vector<std::string> checker(40, std::string(60, '.'));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            if ((x + y) % 2 || (y % 9 == 0 && x % 5)) checker[y][x] = '#';
    files.push_back(BmpFromRows(checker));
    for (const auto& file : files) {
        const rastel::BmpImage img = rastel::DecodeBmp(std::span<const std::uint8_t>(file));
        const rastel::RegionBuffer data =
            rastel::BuildRegionData(img.View(), rastel::TransparentColorOf(img.View(), img.bitsPerPixel));
        UniqueRegion r(::ExtCreateRegion(nullptr, DWORD(data.Size()), reinterpret_cast<const RGNDATA*>(data.Data())));
        ASSERT_TRUE(r);
        const DWORD bytes = GetRegionData(r.get(), 0, nullptr);
        EXPECT_EQ((bytes - sizeof(RGNDATAHEADER)) / sizeof(RECT), rastel::MergedRectangleCount(data));
    }
}

// Made in chunks of the merged bands (as under Wine), the region has exactly
// the rectangles of one ExtCreateRegion of the whole list of runs: for the
// default pictures, a one-pixel checkerboard and random pictures, with the
// chunks the program uses and with tiny ones that cut bands apart.
TEST_F(GridImageTest, RegionInChunksIsTheRegionOfTheWholeList) {
    KeepHook keepPlatform(ShapePlatform::Current());
    auto expectSame = [](const std::vector<std::uint8_t>& file, std::vector<std::size_t> chunks) {
        TBitmap bitmap;
        bitmap.LoadFromBytes(file);
        const TColor transparent = TransparentColorOf(bitmap);
        const TColor rgb = rastel::ColorToRGB(transparent);
        const rastel::BmpImage img = rastel::DecodeBmp(std::span<const std::uint8_t>(file));
        const rastel::RegionBuffer list = rastel::BuildRegionData(
            rastel::Crop(img.View(), 747, 529), rastel::Bgr{rastel::BlueOf(rgb), rastel::GreenOf(rgb), rastel::RedOf(rgb)});
        UniqueRegion whole(::ExtCreateRegion(nullptr, DWORD(list.Size()), reinterpret_cast<const RGNDATA*>(list.Data())));
        ASSERT_TRUE(whole);
        const std::vector<std::uint8_t> expected = RegionBytes(whole.get());
        for (std::size_t chunk : chunks) {
            SCOPED_TRACE(chunk);
            ShapePlatform::Current().chunk = std::optional<std::size_t>(chunk);
            UniqueRegion made(TForm1::CreateRegionFromBitmap(bitmap, transparent, SIZE{747, 529}));
            ASSERT_TRUE(made);
            EXPECT_TRUE(RegionBytes(made.get()) == expected);
        }
    };
    for (const auto& f : DefaultImages()) {
        SCOPED_TRACE(f.name);
        expectSame(f.bytes, {ShapePlatform::kWineRegionChunk});
    }
    {
        SCOPED_TRACE("checkerboard");
        std::vector<std::string> checker(40, std::string(747, '.'));
        for (int y = 0; y < 40; ++y)
            for (int x = y % 2; x < 747; x += 2) checker[y][x] = '#';
        expectSame(BmpFromRows(checker), {ShapePlatform::kWineRegionChunk, 1000});
    }
    rastel::testing::TestRandom next(4);
    const char inks[] = "#rb";
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE(round);
        const int w = 1 + int(next() % 60), h = 1 + int(next() % 40);
        // Rows from a few patterns, so that bands of several rows are common.
        std::vector<std::string> patterns(1 + next() % 5, std::string(std::size_t(w), '.'));
        for (std::string& p : patterns)
            for (char& c : p) c = next() % 3 ? inks[next() % 3] : '.';
        std::vector<std::string> rows;
        for (int y = 0; y < h; ++y) rows.push_back(patterns[next() % patterns.size()]);
        expectSame(BmpFromRows(rows), {1, 2, 3, 7, ShapePlatform::kWineRegionChunk});
    }
}

// Where the platform cannot show a shape (under Wine: more than 32,766
// merged rectangles) the picture is refused before the region is made; the
// grid, the shape and the controls stay. Without a limit it is applied.
TEST_F(GridImageTest, ShapeBeyondThePlatformLimitIsRefused) {
    const bool underWine = win_test::UnderWine();
    EXPECT_EQ(ShapePlatform::DetectedWine(), underWine);
    EXPECT_EQ(ShapePlatform::Current().limit,
              underWine ? std::optional<std::size_t>(32766) : std::optional<std::size_t>());

    KeepHook keep(ShapePlatform::Current());
    StartWithDefaults();
    UniqueRegion before = WindowRegion(Form1->Handle());
    WriteFile("RastelB.bmp", DefaultImage("RastelS.bmp"));  // a shape whose count is known
    // What the platform keeps of the whole shape, and of the picture's part alone.
    const std::size_t kept = (GetRegionData(before.get(), 0, nullptr) - sizeof(RGNDATAHEADER)) / sizeof(RECT);
    const rastel::BmpImage img = rastel::DecodeBmp(std::span<const std::uint8_t>(DefaultImage("RastelS.bmp")));
    const std::size_t picture = rastel::MergedRectangleCount(rastel::BuildRegionData(
        rastel::Crop(img.View(), 747, 529), rastel::TransparentColorOf(img.View(), img.bitsPerPixel)));
    int calls = 0;
    ShapePlatform::Current().makeRegion = [&calls](const XFORM* xf, DWORD n, const RGNDATA* d) {
        ++calls;
        return ::ExtCreateRegion(xf, n, d);
    };
    auto refusedWith = [&](std::size_t limit) {
        ShapePlatform::Current().limit = std::optional<std::size_t>(limit);
        errors.clear();
        ChooseColour(Form1, 1);
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].text, std::string(rastel::kShapeTooComplexText) + ".");
        UniqueRegion now = WindowRegion(Form1->Handle());
        EXPECT_TRUE(SameRegion(now.get(), before.get()));
        EXPECT_EQ(Form1->ComboBox1->ItemIndex(), 1);
    };
    // The picture alone is too much: refused before the platform makes anything.
    refusedWith(picture - 1);
    EXPECT_EQ(calls, 0);
    // The picture fits, the plate on it does not.
    ASSERT_GT(kept, picture);
    refusedWith(kept - 1);

    // Exactly at the limit, and with none, the picture is applied.
    ShapePlatform::Current().limit = std::optional<std::size_t>(kept);
    errors.clear();
    calls = 0;
    ChooseColour(Form1, 1);
    EXPECT_TRUE(errors.empty());
    EXPECT_GT(calls, 0);
    ShapePlatform::Current().limit = std::nullopt;
    WriteFile("RastelR.bmp", DefaultImage("RastelR8.bmp"));
    ChooseColour(Form1, 2);
    EXPECT_TRUE(errors.empty());
    ExpectShapeOf("RastelR8.bmp");
}

// A shape that takes the platform long to make and show shows the wait
// cursor while it is made; a quick one does not; afterwards the cursor is as
// it was. Long: nearly 9,000 rectangles that do not merge (a one-pixel
// checkerboard, 24 rows high).
TEST_F(GridImageTest, LongShapeShowsTheWaitCursor) {
    StartWithDefaults();
    std::vector<std::string> checker(24, std::string(747, '.'));
    for (int y = 0; y < 24; ++y)
        for (int x = y % 2; x < 747; x += 2) checker[y][x] = '#';
    WriteFile("RastelS8.bmp", BmpFromRows(checker));
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW), wait = LoadCursorW(nullptr, IDC_WAIT);
    SetCursor(arrow);
    HCURSOR during = nullptr;
    ShapePlatform::Current().makeRegion = [&during](const XFORM* xf, DWORD n, const RGNDATA* d) {
        during = GetCursor();
        return ::ExtCreateRegion(xf, n, d);
    };
    Click(Form1->RadioButton2);  // SkyBlue, 8升
    EXPECT_EQ(during, wait);
    EXPECT_EQ(GetCursor(), arrow);
    Click(Form1->RadioButton1);  // 16升
    EXPECT_EQ(during, arrow);
    EXPECT_TRUE(errors.empty());
}

// 200 switches through the controls leave no GDI object behind. Small
// pictures keep it quick; the objects made per switch are the same.
TEST_F(GridImageTest, GdiObjectsDoNotGrowOverManySwitches) {
    const rastel::Bgr colours[] = {{235, 206, 135}, {0, 0, 0}, {0, 0, 255}, {214, 112, 218}};
    int i = 0;
    for (const std::string& n : rastel::AllGridImageFileNames())
        WriteFile(n, GridBmp(96 + i % 7, 64, 8 + i % 3, colours[i % 4])), ++i;
    CreateForms();
    ShowMain();
    ASSERT_TRUE(errors.empty());
    TRadioButton* sizes[3] = {Form1->RadioButton1, Form1->RadioButton2, Form1->RadioButton3};
    int step = 0;
    auto switchOnce = [&] {
        switch (step % 3) {
        case 0: ChooseColour(Form1, (step / 3) % 5); break;
        case 1: Click(sizes[(step / 3) % 3]); break;
        default: Click(Form1->CheckBox1); break;
        }
        ++step;
    };
    for (int i = 0; i < 12; ++i) switchOnce();  // warm-up: caches, brushes, the list window
    Pump();
    const long before = framework_test::LiveGdiObjects();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 200; ++i) switchOnce();
    Pump();
    EXPECT_EQ(framework_test::LiveGdiObjects(), before);
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(WindowRegion(Form1->Handle()));
}

}  // namespace
