#include "app/Unit1.h"

#include <memory>

#include "app/FormDescriptions.h"
#include "app/Unit2.h"
#include "core/catalog.h"
#include "framework/Handles.h"
#include "framework/Streaming.h"

TForm1* Form1 = nullptr;

std::function<SHORT(int)> TForm1::AsyncKeyState = [](int key) { return ::GetAsyncKeyState(key); };
std::function<HRGN(const XFORM*, DWORD, const RGNDATA*)> TForm1::RegionFromData =
    [](const XFORM* xf, DWORD size, const RGNDATA* data) { return ::ExtCreateRegion(xf, size, data); };
rastel::RegionBuffer::Reallocate TForm1::RegionBufferReallocate;

namespace {
template <class F>
std::function<void(TObject*)> Handler(TForm1* form, F method) {
    return [form, method](TObject* sender) { (form->*method)(sender); };
}

template <class F>
std::function<TMouseEventHandler> MouseHandler(TForm1* form, F method) {
    return [form, method](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
        (form->*method)(sender, button, shift, x, y);
    };
}

// The bitmap's pixels as 24-bit rows: read in place when they are 24-bit
// already, otherwise converted in a copy kept in `holder`, so the bitmap
// itself is never changed.
rastel::ConstBgrView Rows24(const TBitmap& bitmap, std::unique_ptr<TBitmap>& holder) {
    const TBitmap* source = &bitmap;
    if (bitmap.PixelFormat() != pf24bit) {
        holder = std::make_unique<TBitmap>();
        holder->Assign(bitmap);
        holder->SetPixelFormat(pf24bit);
        source = holder.get();
    }
    return rastel::ConstBgrView(source->ScanLine(0), source->Width(), source->Height(), source->BytesPerLine());
}
}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {
    RegisterMethod("FormCreate", Handler(this, &TForm1::FormCreate));
    RegisterMethod("Button1Click", Handler(this, &TForm1::Button1Click));
    RegisterMethod("Button2Click", Handler(this, &TForm1::Button2Click));
    RegisterMethod("ComboBox1CloseUp", Handler(this, &TForm1::ComboBox1CloseUp));
    RegisterMethod("HiSukeSukeImgEx1Click", Handler(this, &TForm1::HiSukeSukeImgEx1Click));
    RegisterMethod("HiSukeSukeImgEx1MouseUp", MouseHandler(this, &TForm1::HiSukeSukeImgEx1MouseUp));
    // The description names the toggle's class; the static linker may drop
    // the registration that runs at start-up.
    RegisterHiButtonClasses();
    ReadDescription(kUnit1Description);
    HiSukeSukeImgEx1 = &FindComponentAs<THiSukeSukeImgEx>(*this, "HiSukeSukeImgEx1");
    Button1 = &FindComponentAs<TButton>(*this, "Button1");
    CheckBox1 = &FindComponentAs<TCheckBox>(*this, "CheckBox1");
    ComboBox1 = &FindComponentAs<TComboBox>(*this, "ComboBox1");
    Button2 = &FindComponentAs<TButton>(*this, "Button2");
    RadioButton2 = &FindComponentAs<TRadioButton>(*this, "RadioButton2");
    RadioButton1 = &FindComponentAs<TRadioButton>(*this, "RadioButton1");
    RadioButton3 = &FindComponentAs<TRadioButton>(*this, "RadioButton3");
    Image1 = &FindComponentAs<TImage>(*this, "Image1");
}

void TForm1::FormCreate(TObject*) {
    // Matches the stay-on-top toggle, which starts switched on.
    SetWindowTopMost(Form1->Handle(), true);
    SetDoubleBuffered(true);
    ApplyGridImage("RastelS.bmp");
}

void TForm1::Button1Click(TObject*) { Close(); }

void TForm1::Button2Click(TObject*) {
    Form2->SetTop(Form1->Top() + 19);
    Form2->SetLeft(Form1->Left() + 740);
    Form2->SetWidth(88);
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

void TForm1::HiSukeSukeImgEx1MouseUp(TObject* sender, TMouseButton, TShiftState, int, int) {
    HiSukeSukeImgEx1Click(sender);
}

TColor TForm1::GridTransparentColor(const TBitmap& bitmap) {
    if (bitmap.PixelFormat() == pf1bit) return clWhite;
    if (bitmap.Empty()) return clBlack;
    std::unique_ptr<TBitmap> holder;
    const rastel::Bgr c = rastel::TransparentColorOf(Rows24(bitmap, holder), 24);
    return rastel::RGBColor(c.r, c.g, c.b);
}

HRGN TForm1::CreateRegionFromBitmap(const TBitmap& bitmap, TColor transparentColor) {
    if (bitmap.Empty()) return nullptr;
    std::unique_ptr<TBitmap> holder;
    const rastel::ConstBgrView rows = Rows24(bitmap, holder);
    const TColor rgb = rastel::ColorToRGB(transparentColor);
    const rastel::Bgr transparent{rastel::BlueOf(rgb), rastel::GreenOf(rgb), rastel::RedOf(rgb)};
    const rastel::RegionBuffer data = rastel::BuildRegionData(rows, transparent, RegionBufferReallocate);
    return RegionFromData(nullptr, DWORD(data.Size()), reinterpret_cast<const RGNDATA*>(data.Data()));
}

void TForm1::ApplyGridImage(const std::string& fileName) {
    TBitmap work;
    work.LoadFromFile(fileName);
    if (work.Empty()) return;
    UniqueRegion region(CreateRegionFromBitmap(work, GridTransparentColor(work)));
    if (!region) return;
    // A picture with nothing but transparent pixels would make the window
    // invisible and unreachable; keep the grid the user has instead.
    RECT box{};
    if (GetRgnBox(region.get(), &box) == NULLREGION) return;

    Image1->SetAutoSize(true);
    Image1->Picture()->LoadFromFile(fileName);
    Image1->SetLeft(0);
    Image1->SetTop(0);
    // Frame and caption-bar size: the region starts at the client area.
    const POINT offset = ClientToScreen(Point(-Left(), -Top()));
    OffsetRgn(region.get(), offset.x, offset.y);
    if (SetWindowRgn(Handle(), region.get(), TRUE)) region.release();  // the window owns it now
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
        // The whole surface is a caption while the left button is down, so a
        // press on the grid drags the window; the cursor position plays no part.
        m.Result = AsyncKeyState(VK_LBUTTON) < 0 ? HTCAPTION : HTNOWHERE;
        return;
    case WM_NCLBUTTONDBLCLK:
        // Neither maximise nor restore on a double click on the grid.
        m.Result = 0;
        return;
    default:
        TForm::WndProc(m);
    }
}

const ClassInfo& TForm1::StaticClassInfo() {
    static const ClassInfo info{"TForm1", &TForm::StaticClassInfo(), {}, {}};
    return info;
}
