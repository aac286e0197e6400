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
    pressed_ = false;
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
    if (!designPixels_)
        designPixels_ = DesignPixels{bevelWidth_,     bevelWidthMargin_, bevelHeightMargin_,
                                     bevelTopMargin_, bevelLeftMargin_,  onSlideSize_};
    THiBase::ChangeScale(s);
    const DesignPixels& d = *designPixels_;
    SetBevelWidth(s.Scale(d.bevelWidth));
    SetBevelWidthMargin(s.Scale(d.bevelWidthMargin));
    SetBevelHeightMargin(s.Scale(d.bevelHeightMargin));
    SetBevelTopMargin(s.Scale(d.bevelTopMargin));
    SetBevelLeftMargin(s.Scale(d.bevelLeftMargin));
    SetOnSlideSize(s.Scale(d.onSlideSize));
}

void THiButtonBase::SetBevelWidth(int w) {
    if (StoreIfChanged(bevelWidth_, w)) Invalidate();
}
void THiButtonBase::SetRaised(bool raised) {
    raised_ = raised;
    Invalidate();
}
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

void THiButtonBase::SetButtonState(TButtonState s) {
    if (s == buttonState_) return;
    buttonState_ = s;
    SetRaised(s == bstOff);
    Invalidate();
}

// A change of Enabled alone is not visible, so it repaints nothing.
void THiButtonBase::SetMouseOverColor(const TMouseOverColor* colors) {
    if (!colors || colors == mouseOverColor_.get()) return;
    const bool changed = !mouseOverColor_->SameColors(*colors);
    mouseOverColor_->Assign(*colors);
    if (changed) Invalidate();
}

const TStringList& THiButtonBase::CaptionList() const {
    if (raised_) return *offCaption_;
    return onCaption_->Text().empty() ? *offCaption_ : *onCaption_;
}

void THiButtonBase::Compose(TCanvas* target) {
    const RECT c = ClientRect();
    clientArea_ = THiArea{c.top, c.bottom, c.left, c.right};
    TCanvas& canvas = TargetCanvas(target);
    canvas.Pen().SetColor(clWhite);
    canvas.Brush().SetColor(clWhite);
    canvas.Rectangle(c.left, c.top, c.right, c.bottom);
}

// Text goes through DrawTextW: lengths are counted in UTF-16 characters, and
// "&" marks the next character as a prefix, as the flags leave it.
void THiButtonBase::DrawCaption(TCanvas& canvas, const std::string& text, const RECT& rect, TColor fontColor,
                                int lineCount) {
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

void THiButtonBase::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    // A press is over the button even when no enter notice came before it.
    mouseInside_ = 1;
    TakeFocus();
    const bool starting = !pressed_;
    const TButtonState stateBefore = buttonState_;
    const bool raisedBefore = raised_;
    if (buttonStyle_ == bsNormal) {
        if (button == mbLeft) {
            SetRaised(false);
            pressed_ = true;
        }
    } else if (raised_) {
        SetRaised(false);
        SetButtonState(bstOn);
        pressed_ = true;
    } else if (groupID_ == 0) {
        SetRaised(true);
        SetButtonState(bstOff);
        pressed_ = true;
    }
    // A grouped toggle that is on cannot be switched off by pressing it.
    if (starting && pressed_) {
        stateBeforePress_ = stateBefore;
        raisedBeforePress_ = raisedBefore;
        // The framework captures left presses only; a toggle needs the
        // release of every button, wherever it happens.
        if (button != mbLeft && HandleAllocated()) SetMouseCapture(true);
    }
    Invalidate();
    THiBase::MouseDown(button, shift, x, y);
}

void THiButtonBase::Click() {
    if (buttonStyle_ == bsNormal) SetRaised(true);
    if (!raised_ && groupID_ != 0 && buttonStyle_ == bsToggle) SwitchOffGroup();
    Invalidate();
    THiBase::Click();
}

void THiButtonBase::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (buttonStyle_ == bsNormal) {
        SetRaised(true);
    } else if (pressed_) {
        // A toggle released outside takes back its press: state and look
        // return to what they were, as no click follows to act on the change.
        const RECT r = ClientRect();
        if (!PtInRect(&r, POINT{x, y})) {
            SetButtonState(stateBeforePress_);
            SetRaised(raisedBeforePress_);
        }
    }
    Invalidate();
    // Every release that ends a press raises OnMouseUp.
    if (pressed_) {
        pressed_ = false;
        THiBase::MouseUp(button, shift, x, y);
    }
    ::ReleaseCapture();
}

void THiButtonBase::MouseMove(TShiftState shift, int x, int y) { THiBase::MouseMove(shift, x, y); }

void THiButtonBase::MouseEnter(TShiftState shift, int x, int y) {
    const bool wasInside = mouseInside_ == 1;
    mouseInside_ = 1;
    // Coming back to a held button presses it again. An enter notice that
    // arrives late for a press made inside is no return: pressing again
    // would switch a toggle straight back.
    if (pressed_ && !wasInside)
        MouseDown(mbLeft, shift, x, y);
    else
        Invalidate();
}

void THiButtonBase::MouseLeave(TShiftState shift, int x, int y) {
    (void)shift;
    (void)x;
    (void)y;
    if (pressed_) SetRaised(!raised_);
    mouseInside_ = 0;
    Invalidate();
}

void THiButtonBase::SwitchOffGroup() {
    TWinControl* parent = Parent();
    if (!parent) return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!IsGroupClassName(c->ClassName())) continue;
        auto* member = dynamic_cast<THiButtonBase*>(c);
        if (member && member->GroupID() == groupID_ && member->Name() != Name()) member->SetButtonState(bstOff);
    }
}

void THiButtonBase::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_SIZE:
        THiBase::WndProc(m);
        if (painting_)
            Invalidate();
        else
            Repaint();
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
