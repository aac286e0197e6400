#include "framework/Forms.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/Dpi.h"
#include "framework/StdCtrls.h"
#include "framework/Streaming.h"
#include "framework/Text.h"

// ---------------------------------------------------------- pure arithmetic

POINT DesktopCenterPosition(int virtualLeft, int virtualTop, int virtualWidth, int virtualHeight, int outerWidth,
                            int outerHeight) {
    // C++ integer division truncates toward zero, also for a window larger
    // than the screen.
    return POINT{virtualLeft + (virtualWidth - outerWidth) / 2, virtualTop + (virtualHeight - outerHeight) / 2};
}

TWindowState StartupWindowState(bool hasShowWindow, WORD showWindow) {
    if (!hasShowWindow) return wsNormal;
    if (showWindow == SW_SHOWMAXIMIZED) return wsMaximized;
    if (showWindow == SW_SHOWMINNOACTIVE) return wsMinimized;
    return wsNormal;
}

// ---------------------------------------------------------------------- TForm

TForm* GetParentForm(const TControl* control) {
    const TControl* c = control;
    while (c && c->Parent()) c = c->Parent();
    return const_cast<TForm*>(dynamic_cast<const TForm*>(c));
}

int MeasureTextHeight(const TFont& base, int height) {
    TFont font;
    font.Assign(base);
    font.SetHeight(height);
    WindowDC screen(nullptr);
    TCanvas canvas(screen.get());
    canvas.SetFont(font);
    return canvas.TextHeight("0");
}

namespace {

void FormStyles(TFormBorderStyle border, TBorderIcons icons, DWORD& style, DWORD& exStyle) {
    style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    exStyle = 0;
    switch (border) {
    case bsNone:
        style |= WS_POPUP;
        icons = {};
        break;
    case bsSingle:
        style |= WS_CAPTION;
        break;
    case bsSizeable:
        style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        style |= WS_CAPTION;
        exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        icons = icons & TBorderIcons{biSystemMenu};  // a dialog has only its close box
        break;
    }
    if (icons.Contains(biSystemMenu)) {
        style |= WS_SYSMENU;
        if (icons.Contains(biMinimize)) style |= WS_MINIMIZEBOX;
        if (icons.Contains(biMaximize)) style |= WS_MAXIMIZEBOX;
    }
}

}  // namespace

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    SetParentFont(false);
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks});
    SetColor(Defaults::Color);
    left_ = 0;
    top_ = 0;
    width_ = 320;
    height_ = 240;
}

TForm::~TForm() {
    if (Application.mainForm_ == this) Application.mainForm_ = nullptr;
    // The window goes while this object is still a TForm.
    DestroyWindowFirst();
}

void TForm::ReadDescription(const std::string& text) {
    RegisterStandardControls();
    ReadComponentText(text, this);
    ScaleTo(LayoutDpi(HandleIfAny()));
}

TFormScaling TForm::ScalingFor(int ppi) {
    // The description as read is what every scaling starts from.
    if (!basis_) basis_ = Basis{pixelsPerInch_, textHeight_, Font()->Height()};
    return ComputeFormScaling(basis_->ppi, basis_->textHeight, ppi, basis_->fontHeight,
                              [this](int h) { return MeasureTextHeight(*Font(), h); });
}

SIZE TForm::ClientSizeAt(const TFormScaling& s) const {
    return SIZE{Design().At(&clientWidth_, Design().Last(&clientWidth_, ClientWidth()), s),
                Design().At(&clientHeight_, Design().Last(&clientHeight_, ClientHeight()), s)};
}

SIZE TForm::OuterSizeAt(const TFormScaling& s, int dpi) const {
    const SIZE client = ClientSizeAt(s);
    return OuterSizeForClient(client.cx, client.cy, dpi);
}

void TForm::ScaleTo(int ppi) { Rescale(ppi, nullptr, WindowDpi(HandleIfAny())); }

void TForm::Rescale(int ppi, const RECT* place, int frameDpi) {
    const TFormScaling next = ScalingFor(ppi);
    const FlagScope rescaling(rescaling_, true);
    // The size from the design as code asked for it (the window's own may be
    // a pixel off where the system rounds its frame).
    const int cw = Design().Scale(&clientWidth_, Design().Last(&clientWidth_, ClientWidth()), next);
    const int ch = Design().Scale(&clientHeight_, Design().Last(&clientHeight_, ClientHeight()), next);
    Font()->SetHeight(next.fontHeight);
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->ApplyScaling(next);
    pixelsPerInch_ = ppi;
    textHeight_ = next.textHeight;
    scaling_ = next;
    if (!HandleAllocated()) {
        SetClientWidth(cw);
        SetClientHeight(ch);
    } else if (place) {
        SetBounds(place->left, place->top, place->right - place->left, place->bottom - place->top);
    } else {
        // One move: the new size at the old corner, so the system never sees
        // a size in between.
        const SIZE outer = OuterSizeAt(next, frameDpi);
        SetBounds(left_, top_, outer.cx, outer.cy);
    }
    Design().ScaledTo(next);
    ScaleChanged();
}

void TForm::CreateWnd() {
    TWinControl::CreateWnd();
    if (const int ppi = LayoutDpi(HandleIfAny()); ppi != pixelsPerInch_) ScaleTo(ppi);
}

void TForm::DpiChanged(TMessage& m) {
    // The system suggests a rectangle made from the size this form gave for
    // the new resolution (WM_GETDPISCALEDSIZE) and from where the window or
    // the cursor is: the window goes there, so it keeps its place under the
    // cursor and never flips back at a monitor's edge. Its size is the
    // form's own with the frame the window has now; once the system has moved
    // the window to the new resolution that is the suggested size itself.
    const RECT suggested = *reinterpret_cast<const RECT*>(m.LParam);
    const int ppi = HIWORD(m.WParam);
    const SIZE outer = OuterSizeAt(ScalingFor(ppi), WindowDpi(Handle()));
    const RECT place{suggested.left, suggested.top, suggested.left + outer.cx, suggested.top + outer.cy};
    Rescale(ppi, &place, 0);
    m.Result = 0;
}

void TForm::GetDpiScaledSize(TMessage& m) {
    // Asked before WM_DPICHANGED: the outer size the form will take at that
    // resolution, by the rule every scaling follows.
    const int dpi = int(m.WParam);
    if (dpi <= 0) return;
    *reinterpret_cast<SIZE*>(m.LParam) = OuterSizeAt(ScalingFor(dpi), dpi);
    m.Result = TRUE;
}

void TForm::AfterConstruction() {
    if (created_) return;
    created_ = true;
    DoCreate();
}

void TForm::DoCreate() {
    try {
        OnCreate(this);
    } catch (...) {
        Application.HandleException();
    }
}

SIZE TForm::OuterSizeForClient(int clientWidth, int clientHeight) const {
    // The frame of the resolution the window is drawn at, not the form's
    // (which a test may have set).
    return OuterSizeForClient(clientWidth, clientHeight, WindowDpi(HandleIfAny()));
}

SIZE TForm::OuterSizeForClient(int clientWidth, int clientHeight, int dpi) const {
    DWORD style = 0;
    DWORD exStyle = 0;
    FormStyles(borderStyle_, borderIcons_, style, exStyle);
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectForDpi(r, style, exStyle, dpi);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void TForm::StoreClientSize(int clientWidth, int clientHeight) {
    clientWidth_ = clientWidth;
    clientHeight_ = clientHeight;
    const SIZE outer = OuterSizeForClient(clientWidth, clientHeight);
    width_ = outer.cx;
    height_ = outer.cy;
}

void TForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    FormStyles(borderStyle_, borderIcons_, p.style, p.exStyle);
    if (!Enabled()) p.style |= WS_DISABLED;
    // Owned by the application's window, which is the program's one taskbar entry.
    p.wndParent = Application.Handle();
    p.x = left_;
    p.y = top_;
    const SIZE outer = OuterSizeForClient(ClientWidth(), ClientHeight());
    p.width = outer.cx;
    p.height = outer.cy;
}

void TForm::ChangeFrame(const std::function<void()>& change) {
    // The client area keeps its size; the outer size follows the new frame.
    const int cw = ClientWidth();
    const int ch = ClientHeight();
    change();
    if (HandleAllocated())
        RecreateWnd();
    else
        StoreClientSize(cw, ch);
}

void TForm::SetBorderStyle(TFormBorderStyle s) {
    if (borderStyle_ != s) ChangeFrame([&] { borderStyle_ = s; });
}

void TForm::SetBorderIcons(TBorderIcons icons) {
    if (borderIcons_ != icons) ChangeFrame([&] { borderIcons_ = icons; });
}

RECT TForm::ClientRect() const {
    if (HandleAllocated()) return TWinControl::ClientRect();
    const SIZE frame = OuterSizeForClient(0, 0);
    const int w = clientWidth_ > 0 ? clientWidth_ : std::max<int>(0, width_ - frame.cx);
    const int h = clientHeight_ > 0 ? clientHeight_ : std::max<int>(0, height_ - frame.cy);
    return RECT{0, 0, w, h};
}

void TForm::SetClientWidth(int v) {
    if (!rescaling_) Design().Set(&clientWidth_, v);
    if (HandleAllocated()) {
        RECT c = TWinControl::ClientRect();
        SetBounds(left_, top_, width_ - c.right + v, height_);
        return;
    }
    StoreClientSize(v, ClientHeight());
}

void TForm::SetClientHeight(int v) {
    if (!rescaling_) Design().Set(&clientHeight_, v);
    if (HandleAllocated()) {
        RECT c = TWinControl::ClientRect();
        SetBounds(left_, top_, width_, height_ - c.bottom + v);
        return;
    }
    StoreClientSize(ClientWidth(), v);
}

void TForm::SetBounds(int left, int top, int width, int height) {
    if (!HandleAllocated()) {
        // An outer size given directly replaces a client size asked for earlier.
        if (width != width_) clientWidth_ = 0;
        if (height != height_) clientHeight_ = 0;
    }
    TWinControl::SetBounds(left, top, width, height);
}

void TForm::SetWindowState(TWindowState s) {
    if (windowState_ == s) return;
    windowState_ = s;
    if (HandleAllocated() && Visible())
        ShowWindow(Handle(), s == wsMaximized ? SW_MAXIMIZE : s == wsMinimized ? SW_MINIMIZE : SW_RESTORE);
}

void TForm::ControlActivated(TWinControl* control) { activeControl_ = control; }

void TForm::ControlDestroyed(TWinControl* control) {
    if (activeControl_ == control) activeControl_ = nullptr;
    if (focusedControl_ == control) focusedControl_ = nullptr;
}

void TForm::ControlFocused(TWinControl* control) {
    if (focusedControl_ == control) return;
    focusedControl_ = control;
    if (control != this) activeControl_ = control;
    Broadcast(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

namespace {
void AddTabOrderList(const TWinControl& parent, std::vector<TWinControl*>& out) {
    std::vector<std::pair<int, TWinControl*>> children;
    for (int i = 0; i < parent.ControlCount(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(parent.Controls(i))) children.emplace_back(w->TabOrder(), w);
    std::stable_sort(children.begin(), children.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [order, w] : children) {
        out.push_back(w);
        AddTabOrderList(*w, out);
    }
}
}  // namespace

void TForm::SelectNext(TWinControl* current, bool forward) {
    std::vector<TWinControl*> list;
    AddTabOrderList(*this, list);
    if (list.empty()) return;
    const int n = int(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[std::size_t(i)] == current) start = i;
    if (start < 0) start = forward ? -1 : n;
    for (int step = 1; step <= n; ++step) {
        int i = ((start + (forward ? step : -step)) % n + n) % n;
        TWinControl* c = list[std::size_t(i)];
        if (c != current && c->TabStop() && c->CanFocus()) {
            c->SetFocus();
            return;
        }
    }
}

void TForm::PlaceOnFirstShow() {
    if (shownOnce_) return;
    shownOnce_ = true;
    if (position_ != poDesktopCenter) return;
    auto centred = [](SIZE outer) {
        const POINT p = DesktopCenterPosition(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                              GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                              GetSystemMetrics(SM_CYVIRTUALSCREEN), outer.cx, outer.cy);
        return RECT{p.x, p.y, p.x + outer.cx, p.y + outer.cy};
    };
    RECT r{};
    GetWindowRect(Handle(), &r);
    const RECT there = centred(SIZE{r.right - r.left, r.bottom - r.top});
    // Going to a monitor of another resolution: laid out for it first, with
    // its frame, and then centred at that size, so the one move there finds
    // the window at the size the system will ask of it.
    if (const int ppi = LayoutDpiAt(there); ppi != pixelsPerInch_) {
        Rescale(ppi, nullptr, ppi);
        GetWindowRect(Handle(), &r);
    }
    const RECT place = centred(SIZE{r.right - r.left, r.bottom - r.top});
    SetBounds(place.left, place.top, place.right - place.left, place.bottom - place.top);
}

void TForm::SetVisible(bool on) {
    if (!on) {
        TControl::SetVisible(false);
        if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
        return;
    }
    if (Visible()) return;
    HandleNeeded();
    PlaceOnFirstShow();
    TControl::SetVisible(true);
    const int cmd = windowState_ == wsMaximized   ? SW_SHOWMAXIMIZED
                    : windowState_ == wsMinimized ? SW_SHOWMINNOACTIVE
                                                  : SW_SHOWNORMAL;
    ShowWindow(Handle(), cmd);
    if (windowState_ != wsMinimized) {
        if (activeControl_ && activeControl_->CanFocus())
            ::SetFocus(activeControl_->Handle());
        else if (!activeControl_)
            SelectNext(nullptr, true);
    }
}

void TForm::Show() {
    SetVisible(true);
    if (windowState_ != wsMinimized) SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TForm::Close() {
    if (Application.MainForm() == this)
        Application.Terminate();
    else
        Hide();
}

void TForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        m.Result = 0;
        return;
    case WM_ACTIVATE:
        if (LOWORD(m.WParam) != WA_INACTIVE && activeControl_ && activeControl_->HandleAllocated() &&
            activeControl_->CanFocus()) {
            ::SetFocus(activeControl_->Handle());
            m.Result = 0;
            return;
        }
        break;
    case WM_DESTROY:
        if (Application.running_ && Application.mainForm_ == this) Application.Terminate();
        break;
    case WM_SYSCOLORCHANGE:
        LoadSystemColors();
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        break;
    case WM_SETTINGCHANGE:
        // A high-contrast theme switched on or off: the colours to draw in change.
        if (m.WParam == SPI_SETHIGHCONTRAST)
            RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        break;
    case WM_DPICHANGED:
        DpiChanged(m);
        return;
    case WM_GETDPISCALEDSIZE:
        GetDpiScaledSize(m);
        return;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

const ClassInfo& TForm::StaticClassInfo() {
    static const ClassInfo info{
        "TForm",
        &TWinControl::StaticClassInfo(),
        {
            // The outer size follows from the client size: never written.
            StoredWhen<TControl>(Props::Width(), [](const TControl&) { return false; }),
            StoredWhen<TControl>(Props::Height(), [](const TControl&) { return false; }),
            SetProperty<TForm, TBorderIcon>("BorderIcons", {"biSystemMenu", "biMinimize", "biMaximize"},
                                            &TForm::BorderIcons, &TForm::SetBorderIcons, TForm::Defaults::BorderIcons),
            EnumProperty<TForm, TFormBorderStyle>("BorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog"},
                                                  &TForm::BorderStyle, &TForm::SetBorderStyle,
                                                  TForm::Defaults::BorderStyle),
            Props::Caption(),
            IntProperty<TForm>("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight, std::nullopt),
            IntProperty<TForm>("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth, std::nullopt),
            Props::Color(TForm::Defaults::Color),
            Props::Font(),
            BoolProperty<TForm>("OldCreateOrder", &TForm::OldCreateOrder, &TForm::SetOldCreateOrder, std::nullopt),
            EnumProperty<TForm, TPosition>("Position", {"poDesigned", "poDesktopCenter"}, &TForm::Position,
                                           &TForm::SetPosition, TForm::Defaults::Position),
            NotifyEventProperty<TForm>("OnCreate", &TForm::OnCreate),
            IntProperty<TForm>("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch, std::nullopt),
            IntProperty<TForm>("TextHeight", &TForm::TextHeight, &TForm::SetTextHeight, std::nullopt),
        },
        [](TComponent* owner) -> TComponent* { return new TForm(owner); }};
    return info;
}
