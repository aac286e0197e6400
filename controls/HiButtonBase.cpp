// TMouseOverColor and THiButtonBase: the bevelled push and toggle button,
// its mouse handling, groups and caption block.
#include "controls/HiButtonShared.h"

namespace {

// Toggles of these classes with the same GroupID on one parent form a radio group.
bool IsGroupClassName(const std::string& name) {
    static const char* const kNames[] = {"THiSukeSuke",      "THiGradation",   "THiSukeSukeGrad",  "THiSukeSukeEx",
                                         "THiSukeSukeImgEx", "THiGradationEx", "THiSukeSukeGradEx", "THiSukeSukeImgTr"};
    for (const char* n : kNames)
        if (name == n) return true;
    return false;
}

MouseKey KeyOf(TMouseButton button) {
    switch (button) {
    case mbLeft: return MouseKey::Left;
    case mbRight: return MouseKey::Right;
    default: return MouseKey::Middle;
    }
}

}  // namespace

// The live key state (GetKeyState): mouse buttons, Shift, Ctrl and Alt.
TShiftState CurrentShiftState() { return KeyboardShiftState(); }

// ---------------------------------------------------------- TMouseOverColor

TMouseOverColor::TMouseOverColor() = default;

void TMouseOverColor::Assign(const TPersistent& source) {
    const auto* other = AssignSource<TMouseOverColor>(source, "TMouseOverColor");
    enabled_ = other->enabled_;
    offFontColor_ = other->offFontColor_;
    offFaceColor_ = other->offFaceColor_;
    offFrameColor_ = other->offFrameColor_;
    onFontColor_ = other->onFontColor_;
    onFaceColor_ = other->onFaceColor_;
    onFrameColor_ = other->onFrameColor_;
}

bool TMouseOverColor::SameColors(const TMouseOverColor& o) const {
    return offFontColor_ == o.offFontColor_ && offFaceColor_ == o.offFaceColor_ &&
           offFrameColor_ == o.offFrameColor_ && onFontColor_ == o.onFontColor_ && onFaceColor_ == o.onFaceColor_ &&
           onFrameColor_ == o.onFrameColor_;
}

// ------------------------------------------------------------ THiButtonBase

THiButtonBase::THiButtonBase(TComponent* owner) : THiBase(owner) {
    focused_ = false;
    SetDoubleBuffered(true);
    mouseOverColor_ = std::make_unique<TMouseOverColor>();
    Brush()->SetStyle(bsClear);
    SetRaised(true);
    SetOnFaceColor(Defaults::OnFaceColor);
    SetOffFaceColor(Defaults::OffFaceColor);
    SetHighlightColor(Defaults::HighlightColor);
    SetShadowColor(Defaults::ShadowColor);
    SetOnHighlightColor(Defaults::OnHighlightColor);
    SetOnShadowColor(Defaults::OnShadowColor);
    SetOnFontColor(Defaults::OnFontColor);
    SetEdgeColor(Defaults::EdgeColor);
    SetButtonStyle(Defaults::ButtonStyle);
    SetButtonState(Defaults::ButtonState);
    SetBevelWidth(Defaults::BevelWidth);
    SetBevelWidthMargin(Defaults::BevelWidthMargin);
    SetBevelHeightMargin(Defaults::BevelHeightMargin);
    SetBevelTopMargin(Defaults::BevelTopMargin);
    SetBevelLeftMargin(Defaults::BevelLeftMargin);
    SetEdgeDraw(Defaults::EdgeDraw);
    SetOnSlideSize(Defaults::OnSlideSize);
}

THiButtonBase::~THiButtonBase() = default;

void THiButtonBase::ChangeScale(const TFormScaling& s) {
    THiBase::ChangeScale(s);
    ScaleOwn(bevelWidth_, s, [this](int v) { SetBevelWidth(v); });
    ScaleOwn(bevelWidthMargin_, s, [this](int v) { SetBevelWidthMargin(v); });
    ScaleOwn(bevelHeightMargin_, s, [this](int v) { SetBevelHeightMargin(v); });
    ScaleOwn(bevelTopMargin_, s, [this](int v) { SetBevelTopMargin(v); });
    ScaleOwn(bevelLeftMargin_, s, [this](int v) { SetBevelLeftMargin(v); });
    // Kept below the bevel by its setter, as when it is set in code.
    ScaleOwn(onSlideSize_, s, [this](int v) { SetOnSlideSize(v); });
}

void THiButtonBase::SetBevelWidth(int w) {
    if (!StoreIfChanged(bevelWidth_, w)) return;
    Invalidate();
    KeepMinimumSize();
}
void THiButtonBase::SetRaised(bool raised) { Follow(behavior_.SetLook(Rules(), raised)); }
void THiButtonBase::SetOnFaceColor(TColor c) {
    if (StoreIfChanged(onFaceColor_, c)) Invalidate();
}
void THiButtonBase::SetOffFaceColor(TColor c) {
    if (StoreIfChanged(offFaceColor_, c)) Invalidate();
}
void THiButtonBase::SetHighlightColor(TColor c) {
    if (StoreIfChanged(highlightColor_, c)) Invalidate();
}
void THiButtonBase::SetShadowColor(TColor c) {
    if (StoreIfChanged(shadowColor_, c)) Invalidate();
}
void THiButtonBase::SetOnHighlightColor(TColor c) {
    if (StoreIfChanged(onHighlightColor_, c)) Invalidate();
}
void THiButtonBase::SetOnShadowColor(TColor c) {
    if (StoreIfChanged(onShadowColor_, c)) Invalidate();
}
void THiButtonBase::SetOnFontColor(TColor c) {
    if (StoreIfChanged(onFontColor_, c)) Invalidate();
}
void THiButtonBase::SetEdgeColor(TColor c) {
    if (StoreIfChanged(edgeColor_, c)) Invalidate();
}
void THiButtonBase::SetBevelWidthMargin(int v) {
    if (StoreIfChanged(bevelWidthMargin_, v)) Invalidate();
}
void THiButtonBase::SetBevelHeightMargin(int v) {
    if (StoreIfChanged(bevelHeightMargin_, v)) Invalidate();
}
void THiButtonBase::SetBevelTopMargin(int v) {
    if (StoreIfChanged(bevelTopMargin_, v)) Invalidate();
}
void THiButtonBase::SetBevelLeftMargin(int v) {
    if (StoreIfChanged(bevelLeftMargin_, v)) Invalidate();
}
void THiButtonBase::SetEdgeDraw(bool v) {
    if (StoreIfChanged(edgeDraw_, v)) Invalidate();
}
void THiButtonBase::SetButtonStyle(TButtonStyle s) {
    if (StoreIfChanged(buttonStyle_, s)) Invalidate();
}

// The clamp uses BevelWidth as it is now; a later BevelWidth does not clamp again.
void THiButtonBase::SetOnSlideSize(int v) {
    if (v == onSlideSize_) return;
    onSlideSize_ = v;
    if (onSlideSize_ >= bevelWidth_) onSlideSize_ = bevelWidth_ - 1;
    Invalidate();
}

void THiButtonBase::SetButtonState(TButtonState s) { Follow(behavior_.SetState(Rules(), s)); }

// A change of Enabled alone is not visible, so it repaints nothing.
void THiButtonBase::SetMouseOverColor(const TMouseOverColor* colors) {
    if (!colors || colors == mouseOverColor_.get()) return;
    const bool changed = !mouseOverColor_->SameColors(*colors);
    mouseOverColor_->Assign(*colors);
    if (changed) Invalidate();
}

const TStringList& THiButtonBase::CaptionList() const {
    if (Raised()) return *offCaption_;
    return onCaption_->Text().empty() ? *offCaption_ : *onCaption_;
}

void THiButtonBase::Compose(TCanvas& canvas) const {
    const RECT c = ClientRect();
    canvas.Pen().SetColor(clWhite);
    canvas.Brush().SetColor(clWhite);
    canvas.Rectangle(c.left, c.top, c.right, c.bottom);
}

// Text goes through DrawTextW: lengths are counted in UTF-16 characters, and
// "&" marks the next character as a prefix, as the flags leave it.
void THiButtonBase::DrawCaption(TCanvas& canvas, const std::string& text, const RECT& rect, TColor fontColor,
                                int lineCount) const {
    const UINT format = HorizontalFormat(capAlignH_) | DT_NOCLIP;
    canvas.Brush().SetStyle(bsClear);
    canvas.SetFont(*Font());
    canvas.Font().SetColor(fontColor);
    const int lineHeight = canvas.TextHeight("W");
    DrawCaptionText(canvas, text, CaptionBlockRect(rect, lineHeight * lineCount), format);
}

RECT THiButtonBase::CaptionBlockRect(const RECT& rect, int blockHeight) const {
    RECT r = rect;
    if (capAlignV_ == vaCenter)
        r.top = (r.top + r.bottom - blockHeight) / 2;  // truncates toward zero
    else if (capAlignV_ == vaBottom)
        r.top = r.bottom - blockHeight;
    r.bottom = r.top + blockHeight;
    return r;
}

// Disabled: twice, in the highlight colour one pixel higher, then in the
// shadow colour in place.
void THiButtonBase::DrawCaptionText(TCanvas& canvas, const std::string& text, const RECT& r, UINT format) const {
    if (Enabled()) {
        canvas.DrawText(text, r, format);
        return;
    }
    canvas.Font().SetColor(clBtnHighlight);
    canvas.DrawText(text, RECT{r.left, r.top - 1, r.right, r.bottom - 1}, format);
    canvas.Font().SetColor(clBtnShadow);
    canvas.DrawText(text, r, format);
}

void THiButtonBase::TakeFocus() {
    if (HandleAllocated() && CanFocus()) SetFocus();
}

ButtonRules THiButtonBase::Rules() const { return ButtonRules{buttonStyle_, groupID_ != 0, RaisedMeansOff()}; }

// The focus goes first, so that what it sets off sees the button as it was.
void THiButtonBase::Follow(const ButtonStep& step, const std::function<void()>& mouseEvent) {
    if (step.TakeFocus) TakeFocus();
    behavior_ = step.Next;
    if (step.Capture == CaptureChange::Take && HandleAllocated()) SetMouseCapture(true);
    if (step.SwitchOffGroup) SwitchOffGroup();
    if (step.Repaint) Invalidate();
    for (ButtonEvent e : step.Events) {
        switch (e) {
        case ButtonEvent::MouseDown:
        case ButtonEvent::MouseUp:
            if (mouseEvent) mouseEvent();
            break;
        case ButtonEvent::Click: THiBase::Click(); break;
        case ButtonEvent::StateSettled: OnStateSettled(this); break;
        }
    }
    if (step.Capture == CaptureChange::Release) ::ReleaseCapture();
}

void THiButtonBase::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    Follow(behavior_.Press(Rules(), KeyOf(button)), [&] { THiBase::MouseDown(button, shift, x, y); });
}

void THiButtonBase::Click() { Follow(behavior_.Click(Rules())); }

void THiButtonBase::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const RECT r = ClientRect();
    const bool inside = PtInRect(&r, POINT{x, y}) != FALSE;
    Follow(behavior_.Release(Rules(), inside), [&] { THiBase::MouseUp(button, shift, x, y); });
}

void THiButtonBase::MouseMove(TShiftState shift, int x, int y) { THiBase::MouseMove(shift, x, y); }

void THiButtonBase::MouseEnter(TShiftState shift, int x, int y) {
    const ButtonStep step = behavior_.Enter(Rules());
    Follow(step);
    if (step.PressAgain) MouseDown(mbLeft, shift, x, y);
}

void THiButtonBase::MouseLeave(TShiftState shift, int x, int y) {
    (void)shift;
    (void)x;
    (void)y;
    Follow(behavior_.Leave(Rules()));
}

void THiButtonBase::SwitchOffGroup() {
    TWinControl* parent = Parent();
    if (!parent) return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!IsGroupClassName(c->ClassName())) continue;
        auto* member = dynamic_cast<THiButtonBase*>(c);
        // Switched off through the setter, so a member that was on rises and repaints.
        if (member && member->GroupID() == groupID_ && member->Name() != Name()) member->SetButtonState(bstOff);
    }
}

void THiButtonBase::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_SIZE:
        THiBase::WndProc(m);
        Repaint();
        return;
    case WM_NCDESTROY:
        Follow(behavior_.WindowGone());
        THiBase::WndProc(m);
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        POINT p{};
        GetCursorPos(&p);
        if (HandleAllocated())
            ::ScreenToClient(Handle(), &p);
        else
            p = ScreenToClient(p);
        if (m.Msg == CM_MOUSEENTER)
            MouseEnter(CurrentShiftState(), p.x, p.y);
        else
            MouseLeave(CurrentShiftState(), p.x, p.y);
        m.Result = 0;
        return;
    }
    default:
        THiBase::WndProc(m);
    }
}
