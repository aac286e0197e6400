// THiBase: the see-through control base of the button family.
#include "controls/HiButtonShared.h"

// ------------------------------------------------------------------ THiBase

THiBase::THiBase(TComponent* owner) : TCustomControl(owner) {
    SetDoubleBuffered(true);
    Brush()->SetStyle(bsClear);
    onFrameColor_ = Defaults::OnFrameColor;
    offFrameColor_ = Defaults::OffFrameColor;
    frameWidth_ = Defaults::FrameWidth;
    capAlignH_ = Defaults::CapAlignH;
    capAlignV_ = Defaults::CapAlignV;
    onCaption_ = std::make_unique<TStringList>();
    offCaption_ = std::make_unique<TStringList>();
    firstPaintDone_ = 0;
    SetControlStyle(ControlStyle() + csOpaque);
}

THiBase::~THiBase() = default;

void THiBase::SetOnFrameColor(TColor c) {
    if (StoreIfChanged(onFrameColor_, c)) Invalidate();
}

void THiBase::SetOffFrameColor(TColor c) {
    if (StoreIfChanged(offFrameColor_, c)) Invalidate();
}

void THiBase::SetFrameWidth(int w) {
    if (!StoreIfChanged(frameWidth_, w)) return;
    Invalidate();
    KeepMinimumSize();
}

THiArea THiBase::ClientArea() const {
    const RECT c = ClientRect();
    return THiArea{c.top, c.bottom, c.left, c.right};
}

void THiBase::ChangeScale(const TFormScaling& s) {
    TCustomControl::ChangeScale(s);
    ScaleOwn(frameWidth_, s, [this](int v) { SetFrameWidth(v); });
    firstPaintDone_ = 0;
    Invalidate();
}

void THiBase::SetOnCaption(const TStringList& lines) {
    if (&lines != onCaption_.get()) onCaption_->SetLines(lines.Lines());
    Invalidate();
}

void THiBase::SetOffCaption(const TStringList& lines) {
    if (&lines != offCaption_.get()) offCaption_->SetLines(lines.Lines());
    Invalidate();
}

void THiBase::SetCapAlignH(TNHAlignment a) {
    if (StoreIfChanged(capAlignH_, a)) Invalidate();
}

void THiBase::SetCapAlignV(TNVAlignment a) {
    if (StoreIfChanged(capAlignV_, a)) Invalidate();
}

void THiBase::SetGroupID(int id) {
    if (StoreIfChanged(groupID_, id)) Invalidate();
}

// The parent must paint under the control for the face to blend over it.
void THiBase::ClearParentClipChildren() {
    HWND parent = Parent()->Handle();
    LONG style = GetWindowLongW(parent, GWL_STYLE);
    SetWindowLongW(parent, GWL_STYLE, style & ~LONG(WS_CLIPCHILDREN));
}

// A parent without a window yet is not made to create one here (that would
// create every later sibling before its properties are read); the style is
// cleared when this control's own window is made.
void THiBase::SetParent(TWinControl* parent) {
    TCustomControl::SetParent(parent);
    if (Parent() && Parent()->HandleAllocated()) ClearParentClipChildren();
}

void THiBase::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (!DesignMode()) params.exStyle |= WS_EX_TRANSPARENT;
    if (Parent()) ClearParentClipChildren();
}

void THiBase::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_ENABLEDCHANGED:
        TCustomControl::WndProc(m);
        Repaint();
        return;
    case WM_ERASEBKGND:
        // Whatever the face does not cover keeps what the parent painted.
        m.Result = 0;
        return;
    default:
        TCustomControl::WndProc(m);
    }
}
