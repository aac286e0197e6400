// TControl: parent, bounds, font and colour following the parent, mouse
// dispatch and events.
#include <windowsx.h>

#include "framework/Controls.h"

// ------------------------------------------------------------------ helpers

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(ssShift);
    if (keys & MK_CONTROL) s.Include(ssCtrl);
    if (keys & MK_LBUTTON) s.Include(ssLeft);
    if (keys & MK_RBUTTON) s.Include(ssRight);
    if (keys & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

// GetKeyState gives the state the thread's input messages have built, so the
// mouse buttons are the logical ones: with the buttons swapped, ssLeft is the
// primary button, as the messages' MK_LBUTTON is.
TShiftState KeyboardShiftState() {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
    if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
    if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
    return s;
}

namespace {

bool IsMouseButtonMessage(UINT msg) {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEMOVE:
        return true;
    default:
        return false;
    }
}

}  // namespace

// ------------------------------------------------------------------ TControl

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
    font_->OnChange.handler = [this](TObject*) { FontAttributesChanged(); };
}

TControl::~TControl() {
    font_->OnChange.handler = nullptr;
    if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw EFrameworkError("a control cannot be its own parent");
    for (TControl* p = parent; p; p = p->parent_)
        if (p == this) throw EFrameworkError("a control cannot be the parent of its own parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
    if (parent_) {
        if (parentFont_) FollowParentFont();
        if (parentColor_) Perform(CM_PARENTCOLORCHANGED);
        Invalidate();
    }
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
}

void TControl::ApplyScaling(const TFormScaling& s) {
    ChangeScale(s);
    design_.ScaledTo(s);
}

void TControl::ChangeScale(const TFormScaling& s) {
    SetBounds(design_.Scale(&left_, left_, s), design_.Scale(&top_, top_, s), design_.Scale(&width_, width_, s),
              design_.Scale(&height_, height_, s));
    // As the control kept them (one may keep a smallest size of its own).
    for (const int* bound : {&left_, &top_, &width_, &height_}) design_.Made(bound, *bound);
    if (!parentFont_)
        font_->SetHeight(design_.Scale(font_.get(), font_->Height(), s, rastel::DesignValues::Unit::FontHeight));
}

RECT TControl::BoundsAt(const TFormScaling& s) const {
    const int left = design_.At(&left_, left_, s), top = design_.At(&top_, top_, s);
    return RECT{left, top, left + design_.At(&width_, width_, s), top + design_.At(&height_, height_, s)};
}

RECT TControl::ClientRect() const { return RECT{0, 0, width_, height_}; }

POINT TControl::ClientOrigin() const {
    POINT p{left_, top_};
    if (parent_) {
        POINT o = parent_->ClientOrigin();
        p.x += o.x;
        p.y += o.y;
    }
    return p;
}

POINT TControl::ClientToScreen(POINT p) const {
    POINT o = ClientOrigin();
    return POINT{p.x + o.x, p.y + o.y};
}

POINT TControl::ScreenToClient(POINT p) const {
    POINT o = ClientOrigin();
    return POINT{p.x - o.x, p.y - o.y};
}

void TControl::SetVisible(bool on) {
    if (visible_ == on) return;
    if (!on) Invalidate();
    visible_ = on;
    if (on) Invalidate();
    Perform(CM_VISIBLECHANGED, on);
}

void TControl::SetEnabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetCaption(const std::string& text) {
    if (caption_ == text) return;
    caption_ = text;
    Perform(CM_TEXTCHANGED);
}

void TControl::SetFont(const TFont* font) {
    if (font && font != font_.get()) font_->Assign(*font);
}

void TControl::SetParentFont(bool on) {
    if (parentFont_ == on) return;
    parentFont_ = on;
    if (on && parent_) FollowParentFont();
}

void TControl::FollowParentFont() {
    FlagScope following(followingParentFont_, true);
    font_->Assign(*parent_->Font());
}

void TControl::FontAttributesChanged() {
    if (!followingParentFont_) parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetColor(TColor c) {
    if (color_ == c) return;
    color_ = c;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool on) {
    if (parentColor_ == on) return;
    parentColor_ = on;
    if (on && parent_) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::Invalidate() {
    if (!visible_ || !parent_ || !parent_->HandleAllocated()) return;
    RECT r = BoundsRect();
    InvalidateRect(parent_->handle_, &r, !controlStyle_.Contains(csOpaque));
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

bool TControl::MouseCapture() const {
    auto* w = dynamic_cast<const TWinControl*>(this);
    return w && w->HandleAllocated() && GetCapture() == w->handle_;
}

void TControl::SetMouseCapture(bool on) {
    auto* w = dynamic_cast<TWinControl*>(this);
    if (!w) return;
    if (on)
        SetCapture(w->Handle());
    else if (MouseCapture())
        ReleaseCapture();
}

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }
void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) { OnMouseDown(this, button, shift, x, y); }
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) { OnMouseUp(this, button, shift, x, y); }
void TControl::MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
}

// Press, release, double click and move of the three buttons. A left press
// captures the mouse and starts a click; its release inside the client area
// clicks before MouseUp. The second press of a double click raises
// DblClick and MouseDown with ssDouble, and its release clicks nothing.
void TControl::MouseMessage(TMessage& m) {
    const int x = GET_X_LPARAM(m.LParam);
    const int y = GET_Y_LPARAM(m.LParam);
    const TShiftState shift = KeysToShiftState(m.WParam);
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
        if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
        if (controlStyle_.Contains(csClickEvents)) clicked_ = true;
        MouseDown(mbLeft, shift, x, y);
        break;
    case WM_LBUTTONDBLCLK:
        if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
        clicked_ = false;
        if (controlStyle_.Contains(csClickEvents)) DblClick();
        MouseDown(mbLeft, shift + ssDouble, x, y);
        break;
    case WM_LBUTTONUP: {
        if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(false);
        if (clicked_) {
            clicked_ = false;
            RECT r = ClientRect();
            if (PtInRect(&r, POINT{x, y})) Click();
        }
        MouseUp(mbLeft, shift, x, y);
        break;
    }
    case WM_RBUTTONDOWN:
        MouseDown(mbRight, shift, x, y);
        break;
    case WM_RBUTTONDBLCLK:
        MouseDown(mbRight, shift + ssDouble, x, y);
        break;
    case WM_RBUTTONUP:
        MouseUp(mbRight, shift, x, y);
        break;
    case WM_MBUTTONDOWN:
        MouseDown(mbMiddle, shift, x, y);
        break;
    case WM_MBUTTONDBLCLK:
        MouseDown(mbMiddle, shift + ssDouble, x, y);
        break;
    case WM_MBUTTONUP:
        MouseUp(mbMiddle, shift, x, y);
        break;
    case WM_MOUSEMOVE:
        MouseMove(shift, x, y);
        break;
    default:
        break;
    }
}

void TControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        return;
    case CM_VISIBLECHANGED:
        return;
    case CM_PARENTFONTCHANGED:
        if (parentFont_ && parent_) FollowParentFont();
        return;
    case CM_PARENTCOLORCHANGED:
        if (parentColor_ && parent_ && color_ != parent_->color_) {
            color_ = parent_->color_;
            Perform(CM_COLORCHANGED);
        }
        return;
    default:
        break;
    }
    if (!IsWindowed() && IsMouseButtonMessage(m.Msg)) {
        MouseMessage(m);
        return;
    }
    DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage& m) { m.Result = 0; }
