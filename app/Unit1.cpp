#include "app/Unit1.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "app/FormDescriptions.h"
#include "app/ShapeRegion.h"
#include "app/Unit2.h"
#include "core/blend.h"
#include "core/catalog.h"
#include "framework/Handles.h"
#include "framework/Streaming.h"

TForm1* Form1 = nullptr;

namespace {
template <class F>
std::function<void(TObject*)> Handler(TForm1* form, F method) {
    return [form, method](TObject* sender) { (form->*method)(sender); };
}

// Around the control cluster, so no control sits on the very edge of the
// window's shape; one more on the right, so that at 96 dpi the plate is
// 606..736 x 15..90, where the first grid images had theirs.
constexpr RECT kPlateMargin{8, 8, 9, 8};

}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {
    RegisterMethod("FormCreate", Handler(this, &TForm1::FormCreate));
    RegisterMethod("Button1Click", Handler(this, &TForm1::Button1Click));
    RegisterMethod("Button2Click", Handler(this, &TForm1::Button2Click));
    RegisterMethod("ComboBox1CloseUp", Handler(this, &TForm1::ComboBox1CloseUp));
    RegisterMethod("HiSukeSukeImgEx1Click", Handler(this, &TForm1::HiSukeSukeImgEx1Click));
    // The description names the toggle's class; the static linker may drop
    // the registration that runs at start-up.
    RegisterHiButtonClasses();
    ReadDescription(kUnit1Description);
    HiSukeSukeImgEx1 = &FindComponentAs<THiSukeSukeImgEx>(*this, "HiSukeSukeImgEx1");
    // The band follows the toggle after every release that ends a press, not
    // only after a click: a double click's second press, a press of another
    // mouse button and a press taken back outside raise no click.
    HiSukeSukeImgEx1->OnStateSettled.handler = Handler(this, &TForm1::HiSukeSukeImgEx1Click);
    Button1 = &FindComponentAs<TButton>(*this, "Button1");
    CheckBox1 = &FindComponentAs<TCheckBox>(*this, "CheckBox1");
    ComboBox1 = &FindComponentAs<TComboBox>(*this, "ComboBox1");
    Button2 = &FindComponentAs<TButton>(*this, "Button2");
    RadioButton2 = &FindComponentAs<TRadioButton>(*this, "RadioButton2");
    RadioButton1 = &FindComponentAs<TRadioButton>(*this, "RadioButton1");
    RadioButton3 = &FindComponentAs<TRadioButton>(*this, "RadioButton3");
    Image1 = &FindComponentAs<TImage>(*this, "Image1");
    // Last among the children, so it is painted over Image1. No component
    // owns it, so it is never written into the form's description; the form
    // frees it with its other children.
    Plate = new TGridPlate(nullptr);
    Plate->SetVisible(false);
    Plate->SetParent(this);
}

void TForm1::FormCreate(TObject*) {
    // Matches the stay-on-top toggle, which starts switched on.
    SetWindowTopMost(Handle(), true);
    SetDoubleBuffered(true);
    ApplyGridImage("RastelS.bmp");
}

void TForm1::Button1Click(TObject*) { Close(); }

void TForm1::Button2Click(TObject*) {
    // Beside the grid's control cluster, wherever the form's scaling puts it.
    const TFormScaling& s = Scaling();
    Form2->SetTop(Top() + s.Scale(19));
    Form2->SetLeft(Left() + s.Scale(740));
    Form2->SetWidth(Form2->OpenWidth());
    Form2->Show();
}

void TForm1::ComboBox1CloseUp(TObject*) {
    const std::string fileName =
        rastel::GridImageFileName(ComboBox1->ItemIndex(), RadioButton1->Checked(), RadioButton2->Checked(),
                                  RadioButton3->Checked(), CheckBox1->Checked());
    // An empty name (no row) still goes through, and ends in the open error.
    ApplyGridImage(fileName);
}

void TForm1::HiSukeSukeImgEx1Click(TObject*) {
    // The press has already switched the state; the band follows it.
    SetWindowTopMost(Handle(), HiSukeSukeImgEx1->ButtonState() == bstOn);
}

UniqueRegion TForm1::CreateRegionFromBitmap(const TBitmap& bitmap, TColor transparentColor) {
    return CreateRegionFromBitmap(bitmap, transparentColor, SIZE{bitmap.Width(), bitmap.Height()});
}

UniqueRegion TForm1::CreateRegionFromBitmap(const TBitmap& bitmap, TColor transparentColor, SIZE visible) {
    if (bitmap.Empty()) return UniqueRegion();
    const ShapePlatform& platform = ShapePlatform::Current();
    WaitCursor wait;
    return MakeShapeRegion(
        ScanVisiblePart(bitmap, visible, rastel::ColorToBgr(transparentColor), platform.reallocate), platform, wait);
}

void TForm1::ApplyGridImage(const std::string& fileName) {
    WaitCursor wait;  // a long shape shows it until the end
    TBitmap work;
    work.LoadFromFile(fileName);
    if (work.Empty()) return;
    UniqueRegion shape = GridShape(work, wait);
    if (!shape) return;

    Image1->SetAutoSize(true);
    Image1->Picture()->Assign(work);  // the pixels just read: the file is read and decoded once
    Image1->SetLeft(0);
    Image1->SetTop(0);
    SetGridShape(std::move(shape));
}

UniqueRegion TForm1::GridShape(const TBitmap& picture, WaitCursor& wait) {
    // Only what lies inside the client area can ever be seen; the rest of a
    // large picture would cost the platform time and rectangles for nothing.
    // The transparent colour still comes from the whole picture.
    const ShapePlatform& platform = ShapePlatform::Current();
    const rastel::Bgr transparent = rastel::ColorToBgr(TransparentColorOf(picture));
    const RECT plate = PlateRect();
    // The plate goes into the list, so the platform's count is checked on
    // the whole shape and the region is made in one go.
    return MakeShapeRegion(
        rastel::WithRectangle(
            ScanVisiblePart(picture, SIZE{ClientWidth(), ClientHeight()}, transparent, platform.reallocate),
            {plate.left, plate.top, plate.right, plate.bottom}, platform.reallocate),
        platform, wait);
}

void TForm1::SetGridShape(UniqueRegion shape) {
    const RECT plate = PlateRect();
    Plate->SetBounds(plate.left, plate.top, plate.right - plate.left, plate.bottom - plate.top);
    Plate->SetColor(rastel::GridLineColor(ComboBox1->ItemIndex()));
    Plate->SetVisible(true);
    // Frame and caption-bar size: the region starts at the client area.
    const POINT offset = ClientToScreen(Point(-Left(), -Top()));
    OffsetRgn(shape.get(), offset.x, offset.y);
    SetWindowShape(Handle(), shape, ShapePlatform::Current());
}

void TForm1::ReshapeForCluster() {
    // An uncut window (no grid applied yet) stays uncut; so does the form
    // while its description is read.
    if (!Plate || !Plate->Visible()) return;
    const auto* picture = dynamic_cast<const TBitmap*>(Image1->Picture()->Graphic());
    if (!picture || picture->Empty()) return;
    WaitCursor wait;
    if (UniqueRegion shape = GridShape(*picture, wait)) SetGridShape(std::move(shape));
}

RECT TForm1::PlateRect() const {
    const TWinControl* const cluster[] = {HiSukeSukeImgEx1, Button1, CheckBox1, ComboBox1,
                                          Button2, RadioButton2, RadioButton1, RadioButton3};
    RECT box{};
    for (const TWinControl* c : cluster) {
        RECT r = c->BoundsRect();
        if (c->HandleAllocated() && HandleAllocated()) {
            // As the system has it: a drop-down list's height follows its font.
            GetWindowRect(c->Handle(), &r);
            MapWindowPoints(HWND_DESKTOP, Handle(), reinterpret_cast<POINT*>(&r), 2);
        }
        UnionRect(&box, &box, &r);
    }
    const TFormScaling& s = Scaling();
    box.left -= s.Scale(kPlateMargin.left);
    box.top -= s.Scale(kPlateMargin.top);
    box.right += s.Scale(kPlateMargin.right);
    box.bottom += s.Scale(kPlateMargin.bottom);
    const RECT client{0, 0, ClientWidth(), ClientHeight()};
    IntersectRect(&box, &box, &client);
    return box;
}

void TForm1::SetWindowTopMost(HWND handle, bool topMost) {
    if (topMost)
        SetWindowPos(handle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    else
        SetWindowPos(handle, HWND_NOTOPMOST, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOSIZE);
}

void TForm1::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCHITTEST:
        // The whole surface is a caption while the primary button is down, so
        // a press on the grid drags the window; the cursor position plays no part.
        m.Result = Mouse.PrimaryButtonDown() ? HTCAPTION : HTNOWHERE;
        return;
    case WM_NCLBUTTONDBLCLK:
        // Neither maximise nor restore on a double click on the grid.
        m.Result = 0;
        return;
    default:
        TForm::WndProc(m);
    }
}

TGridPlate::TGridPlate(TComponent* owner) : TGraphicControl(owner) {}

void TGridPlate::Paint() {
    // Under a high-contrast theme the cluster stands on the theme's window
    // colour, as its controls' text does.
    Canvas()->Brush().SetColor(HighContrast() ? clWindow : Color());
    Canvas()->FillRect(RECT{0, 0, Width(), Height()});
}

const ClassInfo& TGridPlate::StaticClassInfo() {
    static const ClassInfo info{"TGridPlate", &TGraphicControl::StaticClassInfo(), {}, {}};
    return info;
}

const ClassInfo& TForm1::StaticClassInfo() {
    static const ClassInfo info{"TForm1", &TForm::StaticClassInfo(), {}, {}};
    return info;
}
