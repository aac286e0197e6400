// The control cluster on any picture and at any resolution: the program's
// own plate under it, the panel beside it, and both windows laid out anew
// when the system moves them to a monitor of another resolution (sent here
// as WM_DPICHANGED, since under Wine every monitor has one resolution).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app_test_util.h"
#include "core/catalog.h"
#include "framework/Dpi.h"
#include "tests/win/win_test_util.h"
#include "tests/win/framework/gdi_count_test_util.h"

namespace {

using namespace app_test;

std::vector<TWinControl*> Cluster(TForm1* f) {
    return {f->HiSukeSukeImgEx1, f->Button1,      f->CheckBox1,    f->ComboBox1,
            f->Button2,          f->RadioButton2, f->RadioButton1, f->RadioButton3};
}

RECT WindowRectOf(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

// Every pixel of every control of the cluster belongs to the window's shape.
void ExpectClusterOnShape(TForm1* f) {
    UniqueRegion shape = WindowRegion(f->Handle());
    ASSERT_TRUE(shape) << "no window region";
    const RECT w = WindowRectOf(f->Handle());
    for (TWinControl* c : Cluster(f)) {
        RECT r = WindowRectOf(c->Handle());
        OffsetRect(&r, -w.left, -w.top);
        UniqueRegion off(CreateRectRgnIndirect(&r));
        CombineRgn(off.get(), off.get(), shape.get(), RGN_DIFF);
        RECT box{};
        EXPECT_EQ(GetRgnBox(off.get(), &box), NULLREGION) << c->Name() << " is partly off the shape";
        EXPECT_TRUE(IsWindowVisible(c->Handle())) << c->Name();
    }
}

TColor ClientPixel(TForm1* f, int x, int y) {
    HDC dc = GetDC(f->Handle());
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(f->Handle(), dc);
    return TColor(c);
}

class DpiTest : public AppTest {
protected:
    // Lines only, red, 16-pixel cells, larger than any client area here.
    const std::vector<std::uint8_t> plainGrid = GridBmp(1920, 1200, 16, {0, 0, 255});

    void StartOnPlainGrid(int ppi) {
        Screen.SetPixelsPerInch(ppi);
        WriteFile("RastelS.bmp", plainGrid);
        WriteFile("RastelR.bmp", plainGrid);
        CreateForms();
        ShowMain();
        ASSERT_TRUE(errors.empty()) << errors[0].text;
    }

    void ExpectPlainGridUsable() {
        ExpectClusterOnShape(Form1);
        UniqueRegion shape = WindowRegion(Form1->Handle());
        UniqueRegion expected = ExpectedShape(plainGrid, *Form1);
        EXPECT_TRUE(SameRegion(shape.get(), expected.get()));
        // The plate is painted in the list's colour, over the picture.
        const RECT plate = Form1->PlateRect();
        EXPECT_EQ(ClientPixel(Form1, plate.left + 2, plate.bottom - 2), rastel::GridLineColor(0));
        ChooseColour(Form1, 2);
        Pump();
        ASSERT_TRUE(errors.empty()) << errors[0].text;
        EXPECT_EQ(ClientPixel(Form1, plate.left + 2, plate.bottom - 2), rastel::GridLineColor(2));

        // "終了" is reachable, and ends the program.
        PostMessageW(Form1->Button1->Handle(), BM_CLICK, 0, 0);
        const UINT_PTR timer = SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
        Application.Run();
        KillTimer(nullptr, timer);
        EXPECT_TRUE(Application.Terminated());
    }
};

TEST_F(DpiTest, PictureWithoutAPlateKeepsEveryControlUsableAt96Dpi) {
    StartOnPlainGrid(96);
    // Where the first grid images had their plate: 8 pixels around the
    // cluster (9 on the right), whose lowest control is the drop-down list,
    // as tall as the system makes it for its font.
    const RECT plate = Form1->PlateRect();
    RECT list = WindowRectOf(Form1->ComboBox1->Handle());
    MapWindowPoints(HWND_DESKTOP, Form1->Handle(), reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ((std::vector<int>{int(plate.left), int(plate.top), int(plate.right), int(plate.bottom)}),
              (std::vector<int>{606, 15, 737, int(list.bottom) + 8}));
    ExpectPlainGridUsable();
}

TEST_F(DpiTest, PictureWithoutAPlateKeepsEveryControlUsableAt144Dpi) {
    StartOnPlainGrid(144);
    ExpectPlainGridUsable();
}

// Nothing opaque in the picture: the window is the cluster on its plate.
TEST_F(DpiTest, SeeThroughPictureLeavesTheClusterAlone) {
    StartOnPlainGrid(96);
    WriteFile("RastelR.bmp", SolidBmp(800, 600, {255, 255, 255}));
    ChooseColour(Form1, 2);
    ASSERT_TRUE(errors.empty()) << errors[0].text;
    RECT plate = Form1->PlateRect();
    const POINT off = ClientOffset(Form1->Handle());
    OffsetRect(&plate, off.x, off.y);
    UniqueRegion expected(CreateRectRgnIndirect(&plate));
    UniqueRegion shape = WindowRegion(Form1->Handle());
    EXPECT_TRUE(SameRegion(shape.get(), expected.get()));
    ExpectClusterOnShape(Form1);
}

void ExpectPanelBesideTheGrid() {
    Form1->SetBounds(20, 30, Form1->Width(), Form1->Height());
    Click(Form1->Button2);
    const TFormScaling& s = Form1->Scaling();
    const RECT p = WindowRectOf(Form2->Handle());
    EXPECT_EQ((std::vector<int>{int(p.left), int(p.top), int(p.right - p.left)}),
              (std::vector<int>{20 + s.Scale(740), 30 + s.Scale(19), s.Scale(88)}));
    RECT client{};
    GetClientRect(Form2->Handle(), &client);
    MapWindowPoints(Form2->Handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    for (TButton* b : {Form2->Button1, Form2->Button2, Form2->Button3, Form2->Button4, Form2->Button5,
                       Form2->Button6, Form2->Button7, Form2->Button8}) {
        RECT r = WindowRectOf(b->Handle()), inside{};
        IntersectRect(&inside, &r, &client);
        EXPECT_TRUE(EqualRect(&inside, &r)) << b->Caption() << " is cut off";
    }
}

TEST_F(DpiTest, PanelOpensBesideTheGridWithItsButtonsInsideAt96Dpi) {
    StartOnPlainGrid(96);
    ExpectPanelBesideTheGrid();
}

TEST_F(DpiTest, PanelOpensBesideTheGridWithItsButtonsInsideAt144Dpi) {
    StartOnPlainGrid(144);
    ExpectPanelBesideTheGrid();
}

// What a rescale must give: everything a form made at that resolution has.
struct Layout {
    std::vector<std::vector<int>> values;
    friend bool operator==(const Layout&, const Layout&) = default;
};

void AddBounds(Layout& l, const TWinControl& parent) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
        const TControl* c = parent.Controls(i);
        if (c->Name().empty() || c->Name() == "Image1") continue;  // the plate and the picture are not scaled
        l.values.push_back({c->Left(), c->Top(), c->Width(), c->Height(), c->Font()->Height()});
    }
}

Layout LayoutOf(const TForm1& f) {
    Layout l;
    l.values.push_back({f.ClientWidth(), f.ClientHeight(), f.Font()->Height(), f.PixelsPerInch(), f.TextHeight()});
    AddBounds(l, f);
    const THiSukeSukeImgEx& t = *f.HiSukeSukeImgEx1;
    l.values.push_back({t.BevelWidth(), t.FrameWidth(), t.OnSlideSize(), t.FontLinePitch(), t.Font2()->Height(),
                        t.Font3()->Height(), f.ComboBox1->ItemHeight()});
    return l;
}

Layout LayoutOf(const TForm2& f) {
    Layout l;
    // Its width is the open panel's own (checked apart).
    l.values.push_back({f.ClientHeight(), f.Font()->Height()});
    AddBounds(l, f);
    return l;
}

// What Windows does when a window dragged by `grip` (a point of the window,
// screen coordinates) reaches a monitor of `ppi` with the cursor at
// `cursor`: it asks the window's size there (WM_GETDPISCALEDSIZE, starting
// from the linearly scaled size), then suggests that size placed so the grip
// keeps its share of the width and height under the cursor. Returns the
// suggested rectangle.
RECT SendDpiChanged(TForm& f, int ppi, POINT grip, POINT cursor) {
    const RECT w = WindowRectOf(f.Handle());
    const int oldPpi = f.PixelsPerInch();
    SIZE size{MulDiv(w.right - w.left, ppi, oldPpi), MulDiv(w.bottom - w.top, ppi, oldPpi)};
    SendMessageW(f.Handle(), WM_GETDPISCALEDSIZE, WPARAM(ppi), reinterpret_cast<LPARAM>(&size));
    const int left = cursor.x - MulDiv(grip.x - w.left, size.cx, w.right - w.left);
    const int top = cursor.y - MulDiv(grip.y - w.top, size.cy, w.bottom - w.top);
    RECT suggested{left, top, left + size.cx, top + size.cy};
    const RECT sent = suggested;
    SendMessageW(f.Handle(), WM_DPICHANGED, MAKEWPARAM(ppi, ppi), reinterpret_cast<LPARAM>(&suggested));
    return sent;
}

// The client size inside `outer` with the frame of `hwnd`'s styles at `ppi`.
std::vector<int> ClientOfOuter(HWND hwnd, const RECT& outer, int ppi) {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectForDpi(frame, DWORD(GetWindowLongW(hwnd, GWL_STYLE)), DWORD(GetWindowLongW(hwnd, GWL_EXSTYLE)),
                           ppi);
    return {int(outer.right - outer.left - (frame.right - frame.left)),
            int(outer.bottom - outer.top - (frame.bottom - frame.top))};
}

TEST_F(DpiTest, DpiChangesRescaleBothFormsExactly) {
    WriteDefaultImages();
    CreateForms();
    ShowMain();
    Click(Form1->Button2);
    ASSERT_TRUE(errors.empty()) << errors[0].text;
    const int imageW = Form1->Image1->Width(), imageH = Form1->Image1->Height();
    const std::vector<std::uint8_t>& picture = DefaultImage("RastelS.bmp");

    long gdiAfterFirstRound = 0;
    for (int round = 0; round < 2; ++round) {
        for (int ppi : {144, 120, 96, 120, 144, 96}) {
            SCOPED_TRACE(std::to_string(ppi) + " dpi, round " + std::to_string(round));
            // Both where the window manager last put them, so that no late
            // confirmation of the previous move undoes this one.
            const RECT w1 = win_test::SettledRect(Form1->Handle()), w2 = win_test::SettledRect(Form2->Handle());
            const POINT cursor{200 + ppi / 4, 150};
            const RECT suggested1 = SendDpiChanged(*Form1, ppi, POINT{w1.left + 130, w1.top + 60}, cursor);
            const RECT suggested2 =
                SendDpiChanged(*Form2, ppi, POINT{w2.left + 10, w2.top + 5}, POINT{cursor.x + 300, cursor.y});
            Pump();
            ASSERT_TRUE(errors.empty()) << errors[0].text;

            // As a window made at that resolution would be (a drop-down
            // list's height is its window's, which follows its font).
            Screen.SetPixelsPerInch(ppi);
            TForm1 fresh1(nullptr);
            TForm2 fresh2(nullptr);
            fresh1.HandleNeeded();
            fresh2.HandleNeeded();
            Screen.SetPixelsPerInch(96);
            EXPECT_EQ(LayoutOf(*Form1).values, LayoutOf(fresh1).values);
            EXPECT_EQ(LayoutOf(*Form2).values, LayoutOf(fresh2).values);
            // Where the system suggested, at a fresh form's size. (Moved for
            // real, the window takes that resolution's frame too and the
            // suggested size is that size; here it keeps its frame.)
            const RECT now1 = WindowRectOf(Form1->Handle()), now2 = WindowRectOf(Form2->Handle());
            EXPECT_EQ((std::vector<int>{int(now1.left), int(now1.top), int(now1.right - now1.left),
                                        int(now1.bottom - now1.top)}),
                      (std::vector<int>{int(suggested1.left), int(suggested1.top), fresh1.Width(), fresh1.Height()}));
            EXPECT_EQ((std::vector<int>{int(now2.left), int(now2.top)}),
                      (std::vector<int>{int(suggested2.left), int(suggested2.top)}));
            // The size each form gave the system is a fresh form's client
            // area in that resolution's frame.
            EXPECT_EQ(ClientOfOuter(Form1->Handle(), suggested1, ppi),
                      (std::vector<int>{fresh1.ClientWidth(), fresh1.ClientHeight()}));
            EXPECT_EQ(ClientOfOuter(Form2->Handle(), suggested2, ppi)[1], fresh2.ClientHeight());
            EXPECT_EQ(Form2->Width(), Form2->OpenWidth());

            // The grid stays one screen pixel per picture pixel; the cluster is on it.
            EXPECT_EQ((std::vector<int>{Form1->Image1->Width(), Form1->Image1->Height()}),
                      (std::vector<int>{imageW, imageH}));
            ExpectClusterOnShape(Form1);
            UniqueRegion shape = WindowRegion(Form1->Handle());
            UniqueRegion expected = ExpectedShape(picture, *Form1);
            EXPECT_TRUE(SameRegion(shape.get(), expected.get()));
            // The toggle has taken what now lies behind it again.
            EXPECT_EQ(Form1->HiSukeSukeImgEx1->FirstPaintDone(), 1);
            EXPECT_EQ(Form1->HiSukeSukeImgEx1->Background().Width(), Form1->HiSukeSukeImgEx1->Width());
        }
        Pump();
        if (round == 0) gdiAfterFirstRound = framework_test::LiveGdiObjects();
    }
    EXPECT_EQ(framework_test::LiveGdiObjects(), gdiAfterFirstRound);
}

// Shown for the first time on a monitor of another scale (which Wine cannot
// have: the monitor's answer is pretended), the window is laid out for that
// monitor first and then centred at that size.
TEST_F(DpiTest, FirstShowLaysOutForTheTargetMonitorThenCentres) {
    WriteDefaultImages();
    Screen.SetPixelsPerInch(0);
    PretendMonitorDpi([](const RECT&) { return 144; });
    CreateForms();
    ShowMain();
    PretendMonitorDpi(nullptr);
    ASSERT_TRUE(errors.empty()) << errors[0].text;
    EXPECT_EQ(Form1->PixelsPerInch(), 144);
    Screen.SetPixelsPerInch(144);
    TForm1 fresh(nullptr);
    Screen.SetPixelsPerInch(96);
    const RECT b = Form1->Button1->BoundsRect(), fb = fresh.Button1->BoundsRect();
    EXPECT_TRUE(EqualRect(&b, &fb));
    const RECT w = WindowRectOf(Form1->Handle());
    EXPECT_EQ(w.left, GetSystemMetrics(SM_XVIRTUALSCREEN) + (GetSystemMetrics(SM_CXVIRTUALSCREEN) - (w.right - w.left)) / 2);
    EXPECT_EQ(w.top, GetSystemMetrics(SM_YVIRTUALSCREEN) + (GetSystemMetrics(SM_CYVIRTUALSCREEN) - (w.bottom - w.top)) / 2);
    ExpectClusterOnShape(Form1);
}

}  // namespace
