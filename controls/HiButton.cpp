#include "controls/HiButton.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "framework/Forms.h"
#include "framework/PropertyHelpers.h"

namespace {

UINT HorizontalFormat(TNHAlignment a) {
    switch (a) {
    case haLeft: return DT_LEFT;
    case haRight: return DT_RIGHT;
    default: return DT_CENTER;
    }
}

bool IsFormClassName(const TControl* c) { return c->ClassName().compare(0, 5, "TForm") == 0; }

// What a window shows now, to read from: forms and custom-drawn controls
// have a canvas; a control without a window has drawn nothing.
TCanvas* CanvasOf(TWinControl* w) {
    if (!w->HandleAllocated()) return nullptr;
    if (auto* form = dynamic_cast<TForm*>(w)) return form->Canvas();
    if (auto* custom = dynamic_cast<TCustomControl*>(w)) return custom->Canvas();
    return nullptr;
}

// Toggles of these classes with the same GroupID on one parent form a radio group.
bool IsGroupClassName(const std::string& name) {
    static const char* const kNames[] = {"THiSukeSuke",      "THiGradation",   "THiSukeSukeGrad",  "THiSukeSukeEx",
                                         "THiSukeSukeImgEx", "THiGradationEx", "THiSukeSukeGradEx", "THiSukeSukeImgTr"};
    for (const char* n : kNames)
        if (name == n) return true;
    return false;
}

// Slopes are floating-point quotients; the product is truncated toward zero.
int Cut(int step, int rise, int run) { return int(std::trunc(double(step) * (double(rise) / double(run)))); }

constexpr TColor kSlideShadowColor = 0x777777;
constexpr TColor kFocusOnBlackEdgeColor = 0x884444;  // dark blue: red 0x44, green 0x44, blue 0x88

}  // namespace

// The live key state (GetKeyState): mouse buttons, Shift, Ctrl and Alt.
TShiftState CurrentShiftState() { return KeyboardShiftState(); }

// ------------------------------------------------------------------ THiBase

THiBase::THiBase(TComponent* owner) : TCustomControl(owner) {
    SetDoubleBuffered(true);
    Brush()->SetStyle(bsClear);
    onFrameColor_ = clBtnShadow;
    offFrameColor_ = clBtnFace;
    frameWidth_ = 0;
    capAlignH_ = haCenter;
    capAlignV_ = vaCenter;
    onCaption_ = std::make_unique<TStringList>();
    offCaption_ = std::make_unique<TStringList>();
    mouseInside_ = 0;
    firstPaintDone_ = 0;
    SetControlStyle(ControlStyle() + csOpaque);
}

THiBase::~THiBase() = default;

void THiBase::SetOnFrameColor(TColor c) {
    if (c == onFrameColor_) return;
    onFrameColor_ = c;
    Invalidate();
}

void THiBase::SetOffFrameColor(TColor c) {
    if (c == offFrameColor_) return;
    offFrameColor_ = c;
    Invalidate();
}

void THiBase::SetFrameWidth(int w) {
    if (w == frameWidth_) return;
    frameWidth_ = w;
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
    if (a == capAlignH_) return;
    capAlignH_ = a;
    Invalidate();
}

void THiBase::SetCapAlignV(TNVAlignment a) {
    if (a == capAlignV_) return;
    capAlignV_ = a;
    Invalidate();
}

void THiBase::SetGroupID(int id) {
    if (id == groupID_) return;
    groupID_ = id;
    Invalidate();
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

// ---------------------------------------------------------- TMouseOverColor

TMouseOverColor::TMouseOverColor() = default;

void TMouseOverColor::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TMouseOverColor*>(&source);
    if (!other) throw EFrameworkError("cannot assign a " + source.ClassName() + " to a TMouseOverColor");
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
    SetOnFaceColor(clBtnFace);
    SetOffFaceColor(clBtnFace);
    SetHighlightColor(clBtnHighlight);
    SetShadowColor(clBtnShadow);
    SetOnHighlightColor(clBtnHighlight);
    SetOnShadowColor(clBtnShadow);
    SetOnFontColor(clBtnText);
    SetEdgeColor(clBlack);
    SetButtonStyle(bsNormal);
    SetButtonState(bstOff);
    SetBevelWidth(5);
    SetBevelWidthMargin(0);
    SetBevelHeightMargin(0);
    SetBevelTopMargin(0);
    SetBevelLeftMargin(0);
    SetEdgeDraw(false);
    SetOnSlideSize(0);
}

THiButtonBase::~THiButtonBase() = default;

namespace {
template <class V>
bool StoreIfChanged(V& field, V value) {
    if (field == value) return false;
    field = value;
    return true;
}
}  // namespace

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
    RECT r = rect;
    const int blockHeight = lineHeight * lineCount;
    if (capAlignV_ == vaCenter)
        r.top = (r.top + r.bottom - blockHeight) / 2;  // truncates toward zero
    else if (capAlignV_ == vaBottom)
        r.top = r.bottom - blockHeight;
    r.bottom = r.top + blockHeight;
    if (Enabled()) {
        canvas.DrawText(text, r, format);
        return;
    }
    canvas.Font().SetColor(clBtnHighlight);
    RECT raisedRect{r.left, r.top - 1, r.right, r.bottom - 1};
    canvas.DrawText(text, raisedRect, format);
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

// --------------------------------------------------------------- THiSukeSuke

THiSukeSuke::THiSukeSuke(TComponent* owner) : THiButtonBase(owner) {
    SetBlendRitu(127);
    background_ = std::make_unique<THiBitmap>();
}

THiSukeSuke::~THiSukeSuke() = default;

void THiSukeSuke::SetBlendRitu(std::uint8_t v) {
    if (StoreIfChanged(blendRitu_, v)) Invalidate();
}

void THiSukeSuke::SetCapDrawLayer(TCapDrawLayer v) {
    if (StoreIfChanged(capDrawLayer_, v)) Invalidate();
}

void THiSukeSuke::FocusChanged(TWinControl* focused) {
    focused_ = focused == this;
    Invalidate();
}

void THiSukeSuke::WndProc(TMessage& m) {
    if (m.Msg == CM_FOCUSCHANGED) FocusChanged(reinterpret_cast<TWinControl*>(m.LParam));
    THiButtonBase::WndProc(m);
}

TFaceColors THiSukeSuke::SelectFaceColors() const {
    const bool over = mouseInside_ == 1 && mouseOverColor_->Enabled();
    TFaceColors k;
    if (raised_) {
        k.TopLeft = highlightColor_;
        k.BottomRight = shadowColor_;
        k.Font = over ? mouseOverColor_->OffFontColor() : Font()->Color();
        k.Face = over ? mouseOverColor_->OffFaceColor() : offFaceColor_;
        k.Frame = over ? mouseOverColor_->OffFrameColor() : offFrameColor_;
    } else {
        k.TopLeft = onShadowColor_;
        k.BottomRight = onHighlightColor_;
        k.Font = over ? mouseOverColor_->OnFontColor() : onFontColor_;
        k.Face = over ? mouseOverColor_->OnFaceColor() : onFaceColor_;
        k.Frame = over ? mouseOverColor_->OnFrameColor() : onFrameColor_;
    }
    return k;
}

void THiSukeSuke::EnsureMinimumSize(int minSize) {
    if (Height() < minSize) SetHeight(minSize);
    if (Width() < minSize) SetWidth(minSize);
}

// The snapshot is taken once, whatever it finds: FirstPaintDone goes first.
void THiSukeSuke::CaptureBackground() {
    firstPaintDone_ = 1;
    const RECT c = ClientRect();
    background_->SetSize(c.right - c.left, c.bottom - c.top);
    TWinControl* parent = Parent();
    if (!parent) return;
    TWinControl* form = nullptr;
    RECT source{};
    if (IsFormClassName(parent)) {
        form = parent;
        source = BoundsRect();
    } else {
        int x = Left() + parent->Left();
        int y = Top() + parent->Top();
        TWinControl* a = parent->Parent();
        while (a && !IsFormClassName(a)) {
            x += a->Left();
            y += a->Top();
            a = a->Parent();
        }
        if (!a) return;
        form = a;
        source = RECT{x, y, x + Width(), y + Height()};
    }
    TCanvas* formCanvas = CanvasOf(form);
    if (!formCanvas || background_->Empty()) return;
    background_->Canvas().CopyRect(c, *formCanvas, source);
}

RECT THiSukeSuke::ComputeFaceArea(const RECT& c) {
    int top = c.top + bevelWidth_ + bevelHeightMargin_ + bevelTopMargin_;
    int bottom = c.bottom - bevelWidth_ - bevelHeightMargin_ + bevelTopMargin_;
    int left = c.left + bevelWidth_ + bevelWidthMargin_ + bevelLeftMargin_;
    int right = c.right - bevelWidth_ - bevelWidthMargin_ + bevelLeftMargin_;
    if (!raised_) {
        top += onSlideSize_;
        bottom += onSlideSize_;
        left += onSlideSize_;
        right += onSlideSize_;
    }
    top = std::max(top, int(c.top));
    bottom = std::min(bottom, int(c.bottom));
    left = std::max(left, int(c.left));
    right = std::min(right, int(c.right));
    faceArea_ = THiArea{top, bottom, left, right};
    return RECT{left, top, right, bottom};
}

void THiSukeSuke::DrawBevel(TColor topLeft, TColor bottomRight, THiBitmap& buffer) {
    const int L0 = clientArea_.Left, T0 = clientArea_.Top, R0 = clientArea_.Right, B0 = clientArea_.Bottom;
    const int L1 = faceArea_.Left, T1 = faceArea_.Top, R1 = faceArea_.Right, B1 = faceArea_.Bottom;
    const std::uint8_t ratio = blendRitu_;
    // Mitred at the bottom-left and top-right corners; the top-left square is
    // the left bevel's, the bottom-right square the right bevel's.
    for (int x = L0; x < L1; ++x) {
        const int d = Cut(x - L0, B0 - B1, L1 - L0);
        buffer.BlendFill(x, T0, 1, B0 - T0 - d, topLeft, ratio);
    }
    for (int y = T0; y < T1; ++y) {
        const int d = Cut(y - T0, R0 - R1, T1 - T0);
        buffer.BlendFill(L1, y, R0 - L1 - d, 1, topLeft, ratio);
    }
    for (int x = R1; x < R0; ++x) {
        const int d = Cut(x - R1, T1 - T0, R0 - R1);
        buffer.BlendFill(x, T1 - d, 1, B0 - T1 + d, bottomRight, ratio);
    }
    for (int y = B1; y < B0; ++y) {
        const int d = Cut(y - B1, L1 - L0, B0 - B1);
        buffer.BlendFill(L1 - d, y, R1 - L1 + d, 1, bottomRight, ratio);
    }

    if (edgeDraw_) {
        TCanvas& canvas = buffer.Canvas();
        canvas.Pen().SetColor(edgeColor_);
        canvas.Pen().SetWidth(1);
        canvas.MoveTo(L0, T0);
        canvas.LineTo(L1, T1);
        canvas.MoveTo(L0, B0);
        canvas.LineTo(L1, B1);
        canvas.MoveTo(R0, T0);
        canvas.LineTo(R1, T1);
        canvas.MoveTo(R0, B0);
        canvas.LineTo(R1, B1);
        canvas.Brush().SetStyle(bsClear);
        canvas.Rectangle(L0, T0, R0, B0);
        canvas.Rectangle(L1, T1, R1, B1);
    }

    // Pressed with a slide: the rows and columns the face moved away from are shaded.
    if (onSlideSize_ != 0 && !raised_) {
        for (int x = L0; x < L1 && x - L0 < onSlideSize_; ++x) {
            const int d = Cut(x - L0, B0 - B1, L1 - L0);
            buffer.BlendFill(x, T0, 1, B0 - T0 - d, kSlideShadowColor, 255);
        }
        for (int y = T0; y < T1 && y - T0 < onSlideSize_; ++y) {
            const int d = Cut(y - T0, R0 - R1, T1 - T0);
            buffer.BlendFill(L0, y, R0 - L0 - d, 1, kSlideShadowColor, 255);
        }
        if (onSlideSize_ > 0 && R1 <= R0 - 1) buffer.BlendFill(R0 - 1, T0, 1, B0, kSlideShadowColor, 255);
        if (onSlideSize_ > 0 && B1 <= B0 - 1) buffer.BlendFill(L0, B0 - 1, R0, 1, kSlideShadowColor, 255);
    }
}

// Four strips that tile the ring of width FrameWidth inside the face.
void THiSukeSuke::DrawFrame(const RECT& f, TColor color, THiBitmap& buffer) {
    const int fw = frameWidth_;
    const std::uint8_t ratio = blendRitu_;
    buffer.BlendFill(f.left, f.top, fw, f.bottom - f.top - fw, color, ratio);
    buffer.BlendFill(f.left + fw, f.top, f.right - f.left - fw, fw, color, ratio);
    buffer.BlendFill(f.left, f.bottom - fw, f.right - f.left - fw, fw, color, ratio);
    buffer.BlendFill(f.right - fw, f.top + fw, fw, f.bottom - f.top - fw, color, ratio);
}

void THiSukeSuke::DrawFocusMark(THiBitmap& buffer) {
    if (!focused_) return;
    TCanvas& canvas = buffer.Canvas();
    canvas.Pen().SetColor(edgeDraw_ && edgeColor_ == 0 ? kFocusOnBlackEdgeColor : clBlack);
    canvas.Brush().SetStyle(bsClear);
    canvas.Rectangle(clientArea_.Left, clientArea_.Top, clientArea_.Right, clientArea_.Bottom);
    if (faceArea_.Right - faceArea_.Left >= 7 && faceArea_.Bottom - faceArea_.Top >= 7) DrawFocusDots(buffer);
}

void THiSukeSuke::DrawFocusDots(THiBitmap& buffer) {
    TCanvas& canvas = buffer.Canvas();
    const int L1 = faceArea_.Left, T1 = faceArea_.Top, R1 = faceArea_.Right, B1 = faceArea_.Bottom;
    for (int row : {T1 + 3, B1 - 3})
        for (int x = L1 + 3; x <= R1 - 3; x += 2) canvas.SetPixel(x, row, clBlack);
    for (int column : {L1 + 3, R1 - 3})
        for (int y = T1 + 3; y <= B1 - 3; y += 2) canvas.SetPixel(column, y, clBlack);
}

// Background, bevel, edge lines, slide shadow, frame, caption (dlInner),
// face, image, focus marks; then one copy to the target and the caption on
// top (dlTop).
void THiSukeSuke::Compose(TCanvas* target) {
    FlagScope painting(painting_, true);
    EnsureMinimumSize(bevelWidth_ + frameWidth_ + MinimumSizeExtra());
    if (!firstPaintDone_ && !DesignMode()) CaptureBackground();
    const RECT c = ClientRect();
    clientArea_ = THiArea{c.top, c.bottom, c.left, c.right};
    const RECT f = ComputeFaceArea(c);
    const int width = c.right - c.left;
    const int height = c.bottom - c.top;

    std::string text;
    int lineCount = 0;
    TFaceColors k;
    {
        // A new buffer is white: where nothing was captured the face blends over white.
        THiBitmap work;
        work.SetSize(width, height);
        // Read as 24-bit rows whatever the snapshot's format was turned into.
        const rastel::BgrView snapshot = background_->View24();
        const int copyWidth = std::min(width, snapshot.width);
        const int copyHeight = std::min(height, snapshot.height);
        if (copyWidth > 0)
            for (int y = 0; y < copyHeight; ++y)
                std::copy_n(snapshot.Row(y), std::size_t(copyWidth) * 3, work.ScanLine(y));

        k = SelectFaceColors();
        ColorsSelected();
        DrawBevel(k.TopLeft, k.BottomRight, work);
        DrawFrame(f, k.Frame, work);

        const TStringList& list = CaptionList();
        text = list.Text();
        lineCount = list.Count();
        if (capDrawLayer_ == dlInner) DrawCaptionBlock(work.Canvas(), text, f, k.Font, lineCount);

        const int fw = frameWidth_;
        work.BlendFill(f.left + fw, f.top + fw, f.right - f.left - 2 * fw, f.bottom - f.top - 2 * fw, k.Face,
                       blendRitu_);
        DrawImage(work, f);
        DrawFocusMark(work);
        TargetCanvas(target).StretchDraw(c, work);
    }
    if (capDrawLayer_ == dlTop) DrawCaptionBlock(TargetCanvas(target), text, f, k.Font, lineCount);
}

// ------------------------------------------------------------ THiSukeSukeImg

THiSukeSukeImg::THiSukeSukeImg(TComponent* owner) : THiSukeSuke(owner) {
    SetImageBlendRitu(127);
    offImagePict_ = std::make_unique<TPicture>();
    onImagePict_ = std::make_unique<TPicture>();
    SetOffImgAlignH(haCenter);
    SetOffImgAlignV(vaCenter);
    SetOnImgAlignH(haCenter);
    SetOnImgAlignV(vaCenter);
}

THiSukeSukeImg::~THiSukeSukeImg() = default;

void THiSukeSukeImg::SetImageBlendRitu(std::uint8_t v) {
    if (StoreIfChanged(imageBlendRitu_, v)) Invalidate();
}
void THiSukeSukeImg::SetImageStretch(bool v) {
    if (StoreIfChanged(imageStretch_, v)) Invalidate();
}
void THiSukeSukeImg::SetOffImgAlignH(TNHAlignment a) {
    if (StoreIfChanged(offImgAlignH_, a)) Invalidate();
}
void THiSukeSukeImg::SetOffImgAlignV(TNVAlignment a) {
    if (StoreIfChanged(offImgAlignV_, a)) Invalidate();
}
void THiSukeSukeImg::SetOnImgAlignH(TNHAlignment a) {
    if (StoreIfChanged(onImgAlignH_, a)) Invalidate();
}
void THiSukeSukeImg::SetOnImgAlignV(TNVAlignment a) {
    if (StoreIfChanged(onImgAlignV_, a)) Invalidate();
}

void THiSukeSukeImg::SetOffImagePict(const TPicture* picture) {
    if (!picture) return;
    if (picture != offImagePict_.get()) offImagePict_->Assign(*picture);
    Invalidate();
}

void THiSukeSukeImg::SetOnImagePict(const TPicture* picture) {
    if (!picture) return;
    if (picture != onImagePict_.get()) onImagePict_->Assign(*picture);
    Invalidate();
}

// The raised look always shows the off state.
void THiSukeSukeImg::ColorsSelected() {
    if (raised_) SetButtonState(bstOff);
}

void THiSukeSukeImg::DrawImage(THiBitmap& work, const RECT& f) {
    // At ratio 0 the blend leaves every pixel as it is: no buffer is needed.
    if (imageBlendRitu_ == 0) return;
    const int fw = frameWidth_;
    const int faceWidth = f.right - f.left;
    const int faceHeight = f.bottom - f.top;
    THiBitmap image;
    image.SetWidth(faceWidth);
    image.SetHeight(faceHeight);
    TPicture* sized = nullptr;
    if (!imageStretch_) {
        if (raised_) {
            if (offImagePict_->HasGraphic()) sized = offImagePict_.get();
        } else if (onImagePict_->HasGraphic()) {
            sized = onImagePict_.get();
        } else if (offImagePict_->HasGraphic()) {
            sized = offImagePict_.get();
        }
    }
    if (sized) {
        image.SetWidth(sized->Width());
        image.SetHeight(sized->Height());
    }
    TPicture* chosen = raised_ || !onImagePict_->HasGraphic() ? offImagePict_.get() : onImagePict_.get();
    if (TGraphic* graphic = chosen->Graphic()) {
        if (imageStretch_)
            image.Canvas().StretchDraw(RECT{0, 0, image.Width(), image.Height()}, *graphic);
        else
            image.Canvas().Draw(0, 0, *graphic);
    }

    const int w = image.Width();
    const int h = image.Height();
    const TNHAlignment alignH = raised_ ? offImgAlignH_ : onImgAlignH_;
    const TNVAlignment alignV = raised_ ? offImgAlignV_ : onImgAlignV_;
    int offX = 0;
    if (alignH == haCenter)
        offX = (faceWidth - 2 * fw) / 2 - w / 2;
    else if (alignH == haRight)
        offX = faceWidth - 2 * fw - w;
    int offY = 0;
    if (alignV == vaCenter)
        offY = (faceHeight - 2 * fw) / 2 - h / 2;
    else if (alignV == vaBottom)
        offY = faceHeight - 2 * fw - h;
    offX = std::max(offX, 0);
    offY = std::max(offY, 0);
    // Not clipped to the face: a large image runs over the frame and the
    // bevel, up to the control's edge.
    image.BlendDraw(f.left + fw + offX, f.top + fw + offY, w, h, work, imageBlendRitu_);
}

// ---------------------------------------------------------- THiSukeSukeImgEx

THiSukeSukeImgEx::THiSukeSukeImgEx(TComponent* owner) : THiSukeSukeImg(owner) {
    fontLinePitch_ = 0;
    font2_ = std::make_unique<TFont>();
    font3_ = std::make_unique<TFont>();
    font2_->OnChange.handler = [this](TObject*) { Perform(CM_FONTCHANGED); };
    font3_->OnChange.handler = [this](TObject*) { Perform(CM_FONTCHANGED); };
    SetCapAlignH2(haCenter);
    SetCapAlignH3(haCenter);
}

THiSukeSukeImgEx::~THiSukeSukeImgEx() {
    font2_->OnChange.handler = nullptr;
    font3_->OnChange.handler = nullptr;
}

void THiSukeSukeImgEx::SetFontLinePitch(int v) {
    if (StoreIfChanged(fontLinePitch_, v)) Invalidate();
}
void THiSukeSukeImgEx::SetCapAlignH2(TNHAlignment a) {
    if (StoreIfChanged(capAlignH2_, a)) Invalidate();
}
void THiSukeSukeImgEx::SetCapAlignH3(TNHAlignment a) {
    if (StoreIfChanged(capAlignH3_, a)) Invalidate();
}

void THiSukeSukeImgEx::SetFont2(const TFont* font) {
    if (!font) return;
    if (font != font2_.get()) font2_->Assign(*font);
    Invalidate();
}

void THiSukeSukeImgEx::SetFont3(const TFont* font) {
    if (!font) return;
    if (font != font3_.get()) font3_->Assign(*font);
    Invalidate();
}

void THiSukeSukeImgEx::WndProc(TMessage& m) {
    if (m.Msg == CM_FONTCHANGED) {
        THiSukeSukeImg::WndProc(m);
        if (DesignMode()) Invalidate();
        return;
    }
    THiSukeSukeImg::WndProc(m);
}

// Text goes through DrawTextW: lengths are counted in UTF-16 characters, and
// "&" marks the next character as a prefix, as the flags leave it.
void THiSukeSukeImgEx::DrawCaptionLines(TCanvas& canvas, const std::string& text, const RECT& rect, TColor fontColor,
                                        int lineCount) {
    const UINT a1 = HorizontalFormat(capAlignH_);
    const UINT a2 = HorizontalFormat(capAlignH2_);
    const UINT a3 = HorizontalFormat(capAlignH3_);
    const TStringList& list = CaptionList();
    canvas.Brush().SetStyle(bsClear);
    canvas.SetFont(*font2_);
    const int h2 = canvas.TextHeight("W");
    canvas.SetFont(*font3_);
    const int h3 = canvas.TextHeight("W");
    canvas.SetFont(*Font());
    const int h1 = canvas.TextHeight("W");
    canvas.Font().SetColor(fontColor);

    const int n = lineCount;
    const int pitch = fontLinePitch_;
    int block = h1;
    if (n >= 3)
        block = h1 + h2 + (n - 2) * h3 + (n - 1) * pitch;
    else if (n == 2)
        block = h1 + h2 + pitch;
    RECT r = rect;
    if (capAlignV_ == vaCenter)
        r.top = (r.top + r.bottom - block) / 2;  // truncates toward zero
    else if (capAlignV_ == vaBottom)
        r.top = r.bottom - block;
    r.bottom = r.top + block;

    // Disabled: each drawing twice, highlight one pixel higher, then shadow in place.
    auto draw = [&](const std::string& s, UINT format) {
        if (Enabled()) {
            canvas.DrawText(s, r, format);
            return;
        }
        canvas.Font().SetColor(clBtnHighlight);
        RECT up{r.left, r.top - 1, r.right, r.bottom - 1};
        canvas.DrawText(s, up, format);
        canvas.Font().SetColor(clBtnShadow);
        canvas.DrawText(s, r, format);
    };

    if (n <= 1) {
        draw(text, a1 | DT_NOCLIP);
        return;
    }
    const bool lookColorForAll = !raised_ || (mouseInside_ == 1 && mouseOverColor_->Enabled());
    for (int i = 0; i < n && i < list.Count(); ++i) {
        const UINT format = (i == 1 ? a2 : i == 2 ? a3 : a1) | DT_NOCLIP;
        draw(list[i], format);
        if (i == 0) {
            canvas.SetFont(*font2_);
            r.top += h1 + pitch;
        } else if (i == 1) {
            canvas.SetFont(*font3_);
            r.top += h2 + pitch;
        } else {
            r.top += h3 + pitch;
        }
        if (lookColorForAll) canvas.Font().SetColor(fontColor);
    }
}

// ------------------------------------------------------------- class tables

namespace {

// Functions, not globals: class tables may be built during static initialisation.
const std::vector<std::string>& HAlignNames() {
    static const std::vector<std::string> names{"haLeft", "haCenter", "haRight"};
    return names;
}
const std::vector<std::string>& VAlignNames() {
    static const std::vector<std::string> names{"vaTop", "vaCenter", "vaBottom"};
    return names;
}

}  // namespace

const ClassInfo& THiBase::StaticClassInfo() {
    static const ClassInfo info{
        "THiBase",
        &TCustomControl::StaticClassInfo(),
        {
            // The framework's component and control properties, in the order
            // their classes publish them; Name is written in the object header.
            StoredWhen<TComponent>(StringProperty<TComponent>("Name", &TComponent::Name, &TComponent::SetName),
                                   [](const TComponent&) { return false; }),
            IntProperty<THiBase>("Tag", &THiBase::Tag, &THiBase::SetTag, 0),
            TControl::Props::Left(),
            TControl::Props::Top(),
            TControl::Props::Width(),
            TControl::Props::Height(),
            IntProperty<THiBase>("Cursor", &THiBase::Cursor, &THiBase::SetCursor, 0),
            StringProperty<THiBase>("Hint", &THiBase::Hint, &THiBase::SetHint),
            EnumProperty<THiBase, THelpType>("HelpType", {"htKeyword", "htContext"}, &THiBase::HelpType,
                                             &THiBase::SetHelpType, htContext),
            StringProperty<THiBase>("HelpKeyword", &THiBase::HelpKeyword, &THiBase::SetHelpKeyword),
            IntProperty<THiBase>("HelpContext", &THiBase::HelpContext, &THiBase::SetHelpContext, 0),
            // Republished framework properties.
            TControl::Props::Enabled(),
            TControl::Props::TabOrder(),
            TControl::Props::TabStop(false),
            TControl::Props::Visible(),
            TControl::Props::Font(),
            // Own.
            ColorProperty<THiBase>("OnFrameColor", &THiBase::OnFrameColor, &THiBase::SetOnFrameColor, clBtnShadow),
            ColorProperty<THiBase>("OffFrameColor", &THiBase::OffFrameColor, &THiBase::SetOffFrameColor, clBtnFace),
            IntProperty<THiBase>("FrameWidth", &THiBase::FrameWidth, &THiBase::SetFrameWidth, 0),
            StringListProperty<THiBase>("OnCaption", &THiBase::OnCaption, &THiBase::SetOnCaption),
            StringListProperty<THiBase>("OffCaption", &THiBase::OffCaption, &THiBase::SetOffCaption),
            EnumProperty<THiBase, TNHAlignment>("CapAlignH", HAlignNames(), &THiBase::CapAlignH, &THiBase::SetCapAlignH,
                                                haCenter),
            EnumProperty<THiBase, TNVAlignment>("CapAlignV", VAlignNames(), &THiBase::CapAlignV, &THiBase::SetCapAlignV,
                                                vaCenter),
            IntProperty<THiBase>("GroupID", &THiBase::GroupID, &THiBase::SetGroupID, 0),
            // Republished framework events.
            TControl::Props::OnClick(),
            TControl::Props::OnDblClick(),
            TControl::Props::OnEnter(),
            TControl::Props::OnExit(),
            TControl::Props::OnKeyPress(),
            TControl::Props::OnKeyDown(),
            TControl::Props::OnKeyUp(),
            TControl::Props::OnMouseMove(),
            TControl::Props::OnMouseDown(),
            TControl::Props::OnMouseUp(),
        },
        [](TComponent* owner) -> TComponent* { return new THiBase(owner); }};
    return info;
}

const ClassInfo& TMouseOverColor::StaticClassInfo() {
    using T = TMouseOverColor;
    static const ClassInfo info{"TMouseOverColor",
                                &TPersistent::StaticClassInfo(),
                                {
                                    BoolProperty<T>("Enabled", &T::Enabled, &T::SetEnabled, false),
                                    ColorProperty<T>("OffFontColor", &T::OffFontColor, &T::SetOffFontColor, clYellow),
                                    ColorProperty<T>("OffFaceColor", &T::OffFaceColor, &T::SetOffFaceColor, clBtnFace),
                                    ColorProperty<T>("OffFrameColor", &T::OffFrameColor, &T::SetOffFrameColor, clYellow),
                                    ColorProperty<T>("OnFontColor", &T::OnFontColor, &T::SetOnFontColor, clYellow),
                                    ColorProperty<T>("OnFaceColor", &T::OnFaceColor, &T::SetOnFaceColor, clBtnFace),
                                    ColorProperty<T>("OnFrameColor", &T::OnFrameColor, &T::SetOnFrameColor, clYellow),
                                },
                                {}};
    return info;
}

const ClassInfo& THiButtonBase::StaticClassInfo() {
    using T = THiButtonBase;
    static const ClassInfo info{
        "THiButtonBase",
        &THiBase::StaticClassInfo(),
        {
            IntProperty<T>("BevelWidth", &T::BevelWidth, &T::SetBevelWidth, 5),
            ColorProperty<T>("OnFaceColor", &T::OnFaceColor, &T::SetOnFaceColor, clBtnFace),
            ColorProperty<T>("OffFaceColor", &T::OffFaceColor, &T::SetOffFaceColor, clBtnFace),
            ColorProperty<T>("HighlightColor", &T::HighlightColor, &T::SetHighlightColor, clBtnHighlight),
            ColorProperty<T>("ShadowColor", &T::ShadowColor, &T::SetShadowColor, clBtnShadow),
            ColorProperty<T>("OnHighlightColor", &T::OnHighlightColor, &T::SetOnHighlightColor, clBtnHighlight),
            ColorProperty<T>("OnShadowColor", &T::OnShadowColor, &T::SetOnShadowColor, clBtnShadow),
            ColorProperty<T>("OnFontColor", &T::OnFontColor, &T::SetOnFontColor, clBtnText),
            ColorProperty<T>("EdgeColor", &T::EdgeColor, &T::SetEdgeColor, clBlack),
            ObjectProperty<T>("MouseOverColor", &T::MouseOverColor),
            IntProperty<T>("BevelWidthMargin", &T::BevelWidthMargin, &T::SetBevelWidthMargin, 0),
            IntProperty<T>("BevelHeightMargin", &T::BevelHeightMargin, &T::SetBevelHeightMargin, 0),
            IntProperty<T>("BevelTopMargin", &T::BevelTopMargin, &T::SetBevelTopMargin, 0),
            IntProperty<T>("BevelLeftMargin", &T::BevelLeftMargin, &T::SetBevelLeftMargin, 0),
            BoolProperty<T>("EdgeDraw", &T::EdgeDraw, &T::SetEdgeDraw, false),
            IntProperty<T>("OnSlideSize", &T::OnSlideSize, &T::SetOnSlideSize, 0),
            EnumProperty<T, TButtonStyle>("ButtonStyle", {"bsNormal", "bsToggle"}, &T::ButtonStyle, &T::SetButtonStyle,
                                          bsNormal),
            EnumProperty<T, TButtonState>("ButtonState", {"bstOff", "bstOn"}, &T::ButtonState, &T::SetButtonState,
                                          bstOff),
        },
        [](TComponent* owner) -> TComponent* { return new THiButtonBase(owner); }};
    return info;
}

const ClassInfo& THiSukeSuke::StaticClassInfo() {
    using T = THiSukeSuke;
    static const ClassInfo info{
        "THiSukeSuke",
        &THiButtonBase::StaticClassInfo(),
        {
            IntProperty<T>("BlendRitu", &T::BlendRitu, &T::SetBlendRitu, 127),
            EnumProperty<T, TCapDrawLayer>("CapDrawLayer", {"dlTop", "dlInner"}, &T::CapDrawLayer, &T::SetCapDrawLayer,
                                           dlTop),
        },
        [](TComponent* owner) -> TComponent* { return new THiSukeSuke(owner); }};
    return info;
}

const ClassInfo& THiSukeSukeImg::StaticClassInfo() {
    using T = THiSukeSukeImg;
    static const ClassInfo info{
        "THiSukeSukeImg",
        &THiSukeSuke::StaticClassInfo(),
        {
            IntProperty<T>("ImageBlendRitu", &T::ImageBlendRitu, &T::SetImageBlendRitu, 127),
            BoolProperty<T>("ImageStretch", &T::ImageStretch, &T::SetImageStretch, false),
            ObjectProperty<T>("OffImagePict", &T::OffImagePict),
            ObjectProperty<T>("OnImagePict", &T::OnImagePict),
            EnumProperty<T, TNHAlignment>("OffImgAlignH", HAlignNames(), &T::OffImgAlignH, &T::SetOffImgAlignH, haCenter),
            EnumProperty<T, TNVAlignment>("OffImgAlignV", VAlignNames(), &T::OffImgAlignV, &T::SetOffImgAlignV, vaCenter),
            EnumProperty<T, TNHAlignment>("OnImgAlignH", HAlignNames(), &T::OnImgAlignH, &T::SetOnImgAlignH, haCenter),
            EnumProperty<T, TNVAlignment>("OnImgAlignV", VAlignNames(), &T::OnImgAlignV, &T::SetOnImgAlignV, vaCenter),
        },
        [](TComponent* owner) -> TComponent* { return new THiSukeSukeImg(owner); }};
    return info;
}

const ClassInfo& THiSukeSukeImgEx::StaticClassInfo() {
    using T = THiSukeSukeImgEx;
    static const ClassInfo info{
        "THiSukeSukeImgEx",
        &THiSukeSukeImg::StaticClassInfo(),
        {
            IntProperty<T>("FontLinePitch", &T::FontLinePitch, &T::SetFontLinePitch, 0),
            ObjectProperty<T>("Font2", &T::Font2),
            ObjectProperty<T>("Font3", &T::Font3),
            EnumProperty<T, TNHAlignment>("CapAlignH2", HAlignNames(), &T::CapAlignH2, &T::SetCapAlignH2, haCenter),
            EnumProperty<T, TNHAlignment>("CapAlignH3", HAlignNames(), &T::CapAlignH3, &T::SetCapAlignH3, haCenter),
        },
        [](TComponent* owner) -> TComponent* { return new THiSukeSukeImgEx(owner); }};
    return info;
}

void RegisterHiButtonClasses() {
    static const bool done = [] {
        RegisterClassInfo(THiBase::StaticClassInfo());
        RegisterClassInfo(THiButtonBase::StaticClassInfo());
        RegisterClassInfo(THiSukeSuke::StaticClassInfo());
        RegisterClassInfo(THiSukeSukeImg::StaticClassInfo());
        RegisterClassInfo(THiSukeSukeImgEx::StaticClassInfo());
        return true;
    }();
    (void)done;
}

namespace {
// Linked in whenever the program uses a class of the family.
const bool registeredAtStart = (RegisterHiButtonClasses(), true);
}  // namespace
