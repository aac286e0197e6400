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
#include "framework/Text.h"

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

// The commands for drawing under the grid: hotkey (with Ctrl+Alt+Shift; no
// letters, so AltGr layouts keep their characters) and system menu item.
// A hotkey's id is its place here plus one.
struct OverlayKey {
    rastel::OverlayCommand command;
    UINT key;
    UINT menuId;
    const char* text;
    const char* keyName;
};
constexpr OverlayKey kOverlayKeys[] = {
    {rastel::OverlayCommand::Lock, VK_SPACE, TForm1::kLockCommand, "ロック (クリック透過)", "Ctrl+Alt+Shift+Space"},
    {rastel::OverlayCommand::Hide, VK_HOME, TForm1::kHideCommand, "隠す / 表示", "Ctrl+Alt+Shift+Home"},
    {rastel::OverlayCommand::Fainter, VK_NEXT, TForm1::kFainterCommand, "薄く", "Ctrl+Alt+Shift+Page Down"},
    {rastel::OverlayCommand::Stronger, VK_PRIOR, TForm1::kStrongerCommand, "濃く", "Ctrl+Alt+Shift+Page Up"},
};
constexpr UINT kOverlayModifiers = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

// The taskbar entry's system menu, when this program's main form adds to it.
HMENU EntryMenu(const TForm1* form) {
    return Application.MainForm() == form && Application.Handle() ? GetSystemMenu(Application.Handle(), FALSE)
                                                                  : nullptr;
}

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

TForm1::~TForm1() {
    UnregisterHotkeys();
    // The entry outlives the form: its menu goes back to the system's.
    if (Application.MainForm() == this && Application.Handle()) GetSystemMenu(Application.Handle(), TRUE);
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
    UniqueRegion shape = GridShape(work, wait, !overlay_.locked);
    if (!shape) return;

    Image1->SetAutoSize(true);
    Image1->Picture()->Assign(work);  // the pixels just read: the file is read and decoded once
    Image1->SetLeft(0);
    Image1->SetTop(0);
    SetGridShape(std::move(shape));
}

UniqueRegion TForm1::GridShape(const TBitmap& picture, WaitCursor& wait, bool withPlate) {
    // Only what lies inside the client area can ever be seen; the rest of a
    // large picture would cost the platform time and rectangles for nothing.
    // The transparent colour still comes from the whole picture.
    const ShapePlatform& platform = ShapePlatform::Current();
    const rastel::Bgr transparent = rastel::ColorToBgr(TransparentColorOf(picture));
    rastel::RegionBuffer runs =
        ScanVisiblePart(picture, SIZE{ClientWidth(), ClientHeight()}, transparent, platform.reallocate);
    if (!withPlate) return MakeShapeRegion(std::move(runs), platform, wait);
    const RECT plate = PlateRect();
    // The plate goes into the list, so the platform's count is checked on
    // the whole shape and the region is made in one go.
    return MakeShapeRegion(
        rastel::WithRectangle(std::move(runs), {plate.left, plate.top, plate.right, plate.bottom}, platform.reallocate),
        platform, wait);
}

void TForm1::SetGridShape(UniqueRegion shape) {
    const RECT plate = PlateRect();
    Plate->SetBounds(plate.left, plate.top, plate.right - plate.left, plate.bottom - plate.top);
    Plate->SetColor(rastel::GridLineColor(ComboBox1->ItemIndex()));
    Plate->SetVisible(!overlay_.locked);
    // Frame and caption-bar size: the region starts at the client area.
    const POINT offset = ClientToScreen(Point(-Left(), -Top()));
    OffsetRgn(shape.get(), offset.x, offset.y);
    SetWindowShape(Handle(), shape, ShapePlatform::Current());
}

void TForm1::ReshapeForCluster() {
    // An uncut window (no grid applied yet) stays uncut; so does the form
    // while its description is read.
    if (!Plate || !(Plate->Visible() || overlay_.locked)) return;
    const TBitmap* picture = ShownPicture();
    if (!picture) return;
    WaitCursor wait;
    if (UniqueRegion shape = GridShape(*picture, wait, !overlay_.locked)) SetGridShape(std::move(shape));
}

const TBitmap* TForm1::ShownPicture() const {
    if (!Image1) return nullptr;
    const auto* picture = dynamic_cast<const TBitmap*>(Image1->Picture()->Graphic());
    return picture && !picture->Empty() ? picture : nullptr;
}

std::array<TWinControl*, 8> TForm1::Cluster() const {
    return {HiSukeSukeImgEx1, Button1, CheckBox1, ComboBox1, Button2, RadioButton2, RadioButton1, RadioButton3};
}

RECT TForm1::PlateRect() const {
    RECT box{};
    for (const TWinControl* c : Cluster()) {
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

// ------------------------------------------------------- while one draws

void TForm1::RunOverlayCommand(rastel::OverlayCommand command) {
    const rastel::OverlayState next = rastel::Apply(overlay_, command);
    if (next.locked != overlay_.locked) SetLocked(next.locked);
    if (next.hidden != overlay_.hidden) SetHidden(next.hidden);
    if (next.opacity != overlay_.opacity) {
        overlay_.opacity = next.opacity;
        ApplyLayering();
    }
    UpdateOverlayMenus();
}

void TForm1::SetLocked(bool locked) {
    WaitCursor wait;
    // The new shape first (locked, the picture alone): when the platform
    // refuses it, nothing has changed.
    UniqueRegion shape;
    if (const TBitmap* picture = ShownPicture()) shape = GridShape(*picture, wait, !locked);
    overlay_.locked = locked;
    const HWND h = Handle();
    if (locked) topmostBeforeLock_ = (GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    for (TWinControl* c : Cluster()) c->SetVisible(!locked);
    if (shape) SetGridShape(std::move(shape));
    // Locked, the grid stays in front: a click passes to the window beneath,
    // which would otherwise rise over it. Unlocked, the band is as before.
    // Neither takes the focus from the program one draws in.
    SetWindowPos(h, locked || topmostBeforeLock_ ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ApplyLayering();
    if (!locked && GetActiveWindow() == h && ActiveControl() && ActiveControl()->CanFocus())
        ActiveControl()->SetFocus();
}

void TForm1::SetHidden(bool hidden) {
    overlay_.hidden = hidden;
    if (hidden) {
        panelWasOpen_ = Form2 && Form2->Visible();
        if (panelWasOpen_) Form2->Hide();
        Hide();
        return;
    }
    // Back where they were, without the focus: one may be drawing.
    TWinControl::SetVisible(true);
    if (panelWasOpen_ && Form2) Form2->TWinControl::SetVisible(true);
}

void TForm1::ApplyLayering() {
    if (!HandleAllocated()) return;
    const HWND h = Handle();
    const rastel::WindowLayering l = rastel::LayeringOf(overlay_);
    const LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
    const LONG_PTR want = (ex & ~LONG_PTR(WS_EX_LAYERED | WS_EX_TRANSPARENT)) | (l.layered ? WS_EX_LAYERED : 0) |
                          (l.clickThrough ? WS_EX_TRANSPARENT : 0);
    if (want != ex) SetWindowLongPtrW(h, GWL_EXSTYLE, want);
    if (l.layered) {
        // A layered window shows nothing until its attributes are set.
        SetLayeredWindowAttributes(h, 0, l.alpha, LWA_ALPHA);
    } else if (ex & WS_EX_LAYERED) {
        // No longer layered: the window paints itself again, as always.
        RedrawWindow(h, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void TForm1::RegisterHotkeys() {
    const HWND h = Handle();
    for (std::size_t i = 0; i < std::size(kOverlayKeys); ++i) {
        const int id = int(i) + 1;
        // Held keys do not repeat the command; a system without MOD_NOREPEAT
        // takes the key without it. A key another program holds is no error:
        // the menu offers the command without it.
        hotkeys_[i] = RegisterHotKey(h, id, kOverlayModifiers | MOD_NOREPEAT, kOverlayKeys[i].key) ||
                      (GetLastError() != ERROR_HOTKEY_ALREADY_REGISTERED &&
                       RegisterHotKey(h, id, kOverlayModifiers, kOverlayKeys[i].key));
    }
}

void TForm1::UnregisterHotkeys() {
    for (std::size_t i = 0; i < std::size(kOverlayKeys); ++i) {
        if (hotkeys_[i] && HandleAllocated()) UnregisterHotKey(Handle(), int(i) + 1);
        hotkeys_[i] = false;
    }
}

void TForm1::AddOverlayCommands(HMENU menu) const {
    if (!menu) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (std::size_t i = 0; i < std::size(kOverlayKeys); ++i) {
        const OverlayKey& k = kOverlayKeys[i];
        const std::string text = hotkeys_[i] ? std::string(k.text) + "\t" + k.keyName : std::string(k.text);
        AppendMenuW(menu, MF_STRING, k.menuId, Widen(text).c_str());
    }
}

void TForm1::UpdateOverlayMenus() const {
    if (!HandleAllocated()) return;
    for (HMENU menu : {GetSystemMenu(Handle(), FALSE), EntryMenu(this)}) {
        if (!menu) continue;
        CheckMenuItem(menu, kLockCommand, MF_BYCOMMAND | (overlay_.locked ? MF_CHECKED : MF_UNCHECKED));
        EnableMenuItem(menu, kFainterCommand,
                       MF_BYCOMMAND | (overlay_.opacity <= rastel::kFaintestOpacity ? MF_GRAYED : MF_ENABLED));
        EnableMenuItem(menu, kStrongerCommand, MF_BYCOMMAND | (overlay_.opacity >= 100 ? MF_GRAYED : MF_ENABLED));
    }
}

void TForm1::CreateWnd() {
    TForm::CreateWnd();
    RegisterHotkeys();
    // A menu made afresh, so a window made again does not list them twice.
    GetSystemMenu(Handle(), TRUE);
    AddOverlayCommands(GetSystemMenu(Handle(), FALSE));
    if (Application.MainForm() == this && Application.Handle()) {
        GetSystemMenu(Application.Handle(), TRUE);
        AddOverlayCommands(EntryMenu(this));
    }
    ApplyLayering();
    UpdateOverlayMenus();
}

void TForm1::DestroyWnd() {
    UnregisterHotkeys();
    TForm::DestroyWnd();
}

void TForm1::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_HOTKEY:
        if (m.WParam >= 1 && m.WParam <= std::size(kOverlayKeys)) {
            RunOverlayCommand(kOverlayKeys[m.WParam - 1].command);
            m.Result = 0;
            return;
        }
        break;
    case WM_SYSCOMMAND:
        for (const OverlayKey& k : kOverlayKeys) {
            if ((m.WParam & 0xFFF0) == k.menuId) {
                RunOverlayCommand(k.command);
                m.Result = 0;
                return;
            }
        }
        break;
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
        break;
    }
    TForm::WndProc(m);
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
