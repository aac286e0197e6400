#include "framework/StdCtrls.h"

#include "framework/ExtCtrls.h"
#include "framework/Text.h"

// ------------------------------------------------------------ TButtonControl

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
    // The system class captures and clicks by itself.
    SetControlStyle({csDoubleClicks});
    SetTabStop(true);
    contrastBrush_.SetColor(clWindow);
}

// The colours for the parent's WM_CTLCOLORSTATIC / WM_CTLCOLORBTN come from
// TWinControl's default handling of the reflected message: text in the font
// colour on the control's Color, with the control's one brush. A
// high-contrast theme draws the controls without visual styles, so its
// window colours reach the text as well as the background.
void TButtonControl::WndProc(TMessage& m) {
    if ((m.Msg == CN_BASE + WM_CTLCOLORSTATIC || m.Msg == CN_BASE + WM_CTLCOLORBTN) && HighContrast()) {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorRef(clWindowText));
        SetBkColor(dc, ColorRef(clWindow));
        m.Result = reinterpret_cast<LRESULT>(contrastBrush_.Handle());
        return;
    }
    TWinControl::WndProc(m);
}

bool TButtonControl::StoreChecked(bool on) {
    if (checked_ == on) return false;
    checked_ = on;
    if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    return true;
}

bool TButtonControl::WindowChecked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TButtonControl::CreateWnd() {
    TWinControl::CreateWnd();
    if (checked_) SendMessageW(Handle(), BM_SETCHECK, BST_CHECKED, 0);
}

// ------------------------------------------------------------------- TButton

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    p.systemClassName = "BUTTON";
    p.style |= BS_PUSHBUTTON;
}

void TButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        Click();
        m.Result = 0;
        return;
    }
    TButtonControl::WndProc(m);
}

// ----------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCheckBox::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    p.systemClassName = "BUTTON";
    p.style |= BS_AUTOCHECKBOX;
}

void TCheckBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        // The system box has toggled itself already.
        StoreChecked(WindowChecked());
        Click();
        m.Result = 0;
        return;
    }
    TButtonControl::WndProc(m);
}

// -------------------------------------------------------------- TRadioButton

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
    SetTabStop(false);
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams& p) {
    TButtonControl::CreateParams(p);
    p.systemClassName = "BUTTON";
    p.style |= BS_AUTORADIOBUTTON;
}

void TRadioButton::TurnSiblingsOff() {
    if (!Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* r = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); r && r != this) r->SetChecked(false);
}

void TRadioButton::SetChecked(bool on) {
    if (!StoreChecked(on)) return;
    SetTabStop(on);
    if (on) TurnSiblingsOff();
}

void TRadioButton::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        const bool nowChecked = WindowChecked();
        if (nowChecked && !Checked()) {
            SetChecked(true);
            Click();
        } else if (!nowChecked && Checked()) {
            SetChecked(false);
        }
        m.Result = 0;
        return;
    }
    TButtonControl::WndProc(m);
}

// ----------------------------------------------------------------- TComboBox

namespace {
// Rows of the dropped list the window is made tall enough for.
constexpr int kDropDownRows = 8;
}  // namespace

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TStringList>()) {
    SetControlStyle({csDoubleClicks});
    SetTabStop(true);
    SetParentColor(false);
    SetColor(Defaults::Color);
    left_ = 0;
    top_ = 0;
    width_ = 145;
    height_ = 21;
    items_->OnChange.handler = [this](TObject*) { ItemsChanged(); };
}

TComboBox::~TComboBox() { items_->OnChange.handler = nullptr; }

void TComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.systemClassName = "COMBOBOX";
    p.style |= WS_VSCROLL;
    switch (style_) {
    case csDropDown:
        p.style |= CBS_DROPDOWN | CBS_AUTOHSCROLL;
        break;
    case csSimple:
        p.style |= CBS_SIMPLE | CBS_AUTOHSCROLL;
        break;
    case csDropDownList:
        p.style |= CBS_DROPDOWNLIST;
        break;
    }
    if (ctl3D_) p.exStyle |= WS_EX_CLIENTEDGE;
    // The window's height is the closed box plus its dropped list.
    p.height = height_ + kDropDownRows * itemHeight_ + 2;
}

void TComboBox::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, itemHeight_);
    FillWindow();
    // The closed box is as tall as the system makes it for the font, not as
    // asked; it may have settled before the window was ours to hear it.
    RECT r{};
    GetWindowRect(Handle(), &r);
    height_ = r.bottom - r.top;
    Design().Made(&height_, height_);
}

void TComboBox::DestroyWnd() {
    if (HandleAllocated()) itemIndex_ = int(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
    TWinControl::DestroyWnd();
}

void TComboBox::FillWindow() {
    HWND h = Handle();
    SendMessageW(h, CB_RESETCONTENT, 0, 0);
    for (const std::string& line : items_->Lines())
        SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(line).c_str()));
    SendMessageW(h, CB_SETCURSEL, itemIndex_ < items_->Count() ? itemIndex_ : -1, 0);
}

void TComboBox::ItemsChanged() {
    if (HandleAllocated()) FillWindow();
}

void TComboBox::SetItems(const TStringList& items) { items_->Assign(items); }

int TComboBox::ItemIndex() const {
    // An index set before its items existed takes effect when they come.
    if (HandleAllocated() && items_->Count() > 0) return int(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
    return itemIndex_;
}

void TComboBox::SetItemIndex(int index) {
    itemIndex_ = index;
    if (HandleAllocated() && index < items_->Count()) SendMessageW(Handle(), CB_SETCURSEL, index, 0);
}

void TComboBox::SetItemHeight(int h) {
    if (itemHeight_ == h) return;
    itemHeight_ = h;
    if (HandleAllocated()) SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, h);
}

void TComboBox::SetStyle(TComboBoxStyle s) {
    if (style_ == s) return;
    if (HandleAllocated()) itemIndex_ = ItemIndex();
    style_ = s;
    RecreateWnd();
}

void TComboBox::SetCtl3D(bool on) {
    if (ctl3D_ == on) return;
    if (HandleAllocated()) itemIndex_ = ItemIndex();
    ctl3D_ = on;
    RecreateWnd();
}

bool TComboBox::DroppedDown() const {
    return HandleAllocated() && SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TComboBox::SetDroppedDown(bool on) { SendMessageW(Handle(), CB_SHOWDROPDOWN, on, 0); }

void TComboBox::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, left, top, width, height + kDropDownRows * itemHeight_ + 2,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::ChangeScale(const TFormScaling& s) {
    // Before the bounds: the window's height takes in the dropped list's.
    SetItemHeight(Design().Scale(&itemHeight_, itemHeight_, s));
    TWinControl::ChangeScale(s);
}

void TComboBox::CloseUp() { OnCloseUp(this); }
void TComboBox::Change() { OnChange(this); }

void TComboBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        switch (HIWORD(m.WParam)) {
        case CBN_CLOSEUP:
            CloseUp();
            break;
        case CBN_SELCHANGE:
            itemIndex_ = int(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
            Change();
            break;
        default:
            break;
        }
        m.Result = 0;
        return;
    case WM_DESTROY:
        itemIndex_ = int(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
        break;
    case WM_WINDOWPOSCHANGED: {
        // The window's own height includes the dropped list; Height keeps the box's.
        TWinControl::WndProc(m);
        RECT r{};
        GetWindowRect(Handle(), &r);
        if (!IsIconic(Handle())) height_ = r.bottom - r.top;
        return;
    }
    default:
        break;
    }
    TWinControl::WndProc(m);
}

// -------------------------------------------------------------- class tables

namespace {
std::vector<PropertyInfo> ButtonEvents() {
    return {TControl::Props::OnClick(),     TControl::Props::OnEnter(),     TControl::Props::OnExit(),
            TControl::Props::OnKeyDown(),   TControl::Props::OnKeyPress(),  TControl::Props::OnKeyUp(),
            TControl::Props::OnMouseDown(), TControl::Props::OnMouseMove(), TControl::Props::OnMouseUp()};
}
std::vector<PropertyInfo> Concat(std::vector<PropertyInfo> a, std::vector<PropertyInfo> b) {
    for (auto& p : b) a.push_back(std::move(p));
    return a;
}
}  // namespace

const ClassInfo& TButtonControl::StaticClassInfo() {
    static const ClassInfo info{"TButtonControl", &TWinControl::StaticClassInfo(), {}, {}};
    return info;
}

const ClassInfo& TButton::StaticClassInfo() {
    static const ClassInfo info{"TButton", &TButtonControl::StaticClassInfo(),
                                Concat({Props::Caption(), Props::Enabled(), Props::Font(), Props::ParentFont(),
                                        Props::TabOrder(), Props::TabStop(true), Props::Visible()},
                                       ButtonEvents()),
                                [](TComponent* owner) -> TComponent* { return new TButton(owner); }};
    return info;
}

const ClassInfo& TCheckBox::StaticClassInfo() {
    static const ClassInfo info{
        "TCheckBox", &TButtonControl::StaticClassInfo(),
        Concat({Props::Caption(),
                BoolProperty<TCheckBox>("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked,
                                        TCheckBox::Defaults::Checked),
                Props::Color(clWindow), Props::Enabled(), Props::Font(), Props::ParentColor(), Props::ParentFont(),
                Props::TabOrder(), Props::TabStop(true), Props::Visible()},
               ButtonEvents()),
        [](TComponent* owner) -> TComponent* { return new TCheckBox(owner); }};
    return info;
}

const ClassInfo& TRadioButton::StaticClassInfo() {
    static const ClassInfo info{
        "TRadioButton", &TButtonControl::StaticClassInfo(),
        Concat({Props::Caption(),
                BoolProperty<TRadioButton>("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked,
                                           TRadioButton::Defaults::Checked),
                Props::Color(clWindow), Props::Enabled(), Props::Font(), Props::ParentColor(), Props::ParentFont(),
                Props::TabOrder(), Props::TabStop(false), Props::Visible()},
               ButtonEvents()),
        [](TComponent* owner) -> TComponent* { return new TRadioButton(owner); }};
    return info;
}

const ClassInfo& TComboBox::StaticClassInfo() {
    static const std::vector<std::string> bevels{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
    static const ClassInfo info{
        "TComboBox", &TWinControl::StaticClassInfo(),
        Concat({EnumProperty<TComboBox, TComboBoxStyle>("Style", {"csDropDown", "csSimple", "csDropDownList"},
                                                        &TComboBox::Style, &TComboBox::SetStyle,
                                                        TComboBox::Defaults::Style),
                EnumProperty<TComboBox, TBevelCut>("BevelInner", bevels, &TComboBox::BevelInner,
                                                   &TComboBox::SetBevelInner, TComboBox::Defaults::BevelInner),
                EnumProperty<TComboBox, TBevelCut>("BevelOuter", bevels, &TComboBox::BevelOuter,
                                                   &TComboBox::SetBevelOuter, TComboBox::Defaults::BevelOuter),
                Props::Color(TComboBox::Defaults::Color),
                BoolProperty<TComboBox>("Ctl3D", &TComboBox::Ctl3D, &TComboBox::SetCtl3D, TComboBox::Defaults::Ctl3D),
                Props::Enabled(),
                Props::Font(),
                IntProperty<TComboBox>("ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight,
                                       TComboBox::Defaults::ItemHeight),
                IntProperty<TComboBox>("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex,
                                       TComboBox::Defaults::ItemIndex),
                // A list has its own colour unless told otherwise.
                BoolProperty<TControl>("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, false),
                Props::ParentFont(), Props::TabOrder(), Props::TabStop(true), Props::Visible(),
                NotifyEventProperty<TComboBox>("OnChange", &TComboBox::OnChange)},
               Concat(ButtonEvents(),
                      {NotifyEventProperty<TComboBox>("OnCloseUp", &TComboBox::OnCloseUp),
                       // After the events, as descriptions list the items last.
                       StringListProperty<TComboBox>("Items", &TComboBox::Items, &TComboBox::SetItems)})),
        [](TComponent* owner) -> TComponent* { return new TComboBox(owner); }};
    return info;
}

void RegisterStandardControls() {
    static const bool done = [] {
        RegisterClassInfo(TButton::StaticClassInfo());
        RegisterClassInfo(TCheckBox::StaticClassInfo());
        RegisterClassInfo(TRadioButton::StaticClassInfo());
        RegisterClassInfo(TComboBox::StaticClassInfo());
        RegisterClassInfo(TImage::StaticClassInfo());
        return true;
    }();
    (void)done;
}
