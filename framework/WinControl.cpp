// TWinControl: children in index and tab order, focus, bounds of the window,
// and the message procedure that dispatches to small named handlers.
#include <windowsx.h>

#include <algorithm>

#include "framework/Controls.h"
#include "framework/Text.h"

// --------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* owner)
    : TControl(owner), brush_(std::make_unique<TBrush>()), canvas_(std::make_unique<TCanvas>()) {
    brush_->SetColor(Color());
}

TWinControl::~TWinControl() {
    destroying_ = true;
    if (TWinControl* top = TopLevel(); top != this) top->ControlDestroyed(this);
    while (!controls_.empty()) delete controls_.back();  // each leaves the list
    ReleaseBorrowedDC();
    DetachWindow();
}

void TWinControl::ChangeScale(const TFormScaling& s) {
    TControl::ChangeScale(s);
    for (TControl* c : std::vector<TControl*>(controls_)) c->ApplyScaling(s);
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount())
        throw EListError("control index " + std::to_string(index) + " out of range");
    return controls_[std::size_t(index)];
}

void TWinControl::InsertControl(TControl* c) {
    controls_.push_back(c);
    c->parent_ = this;
    // Made after the form was scaled: what it is given counts at that scaling.
    c->design_.ScaledTo(design_.InForce());
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
        int pos = c->pendingTabOrder_;
        if (pos < 0 || pos > int(tabList_.size())) pos = int(tabList_.size());
        tabList_.insert(tabList_.begin() + pos, w);
        c->pendingTabOrder_ = -1;
    }
}

void TWinControl::RemoveControl(TControl* c) {
    c->Invalidate();
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), c), tabList_.end());
    c->parent_ = nullptr;
}

int TWinControl::TabOrder() const {
    if (!Parent()) return pendingTabOrder_;
    const auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!Parent()) {
        pendingTabOrder_ = order;
        return;
    }
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    if (order < 0 || order > int(list.size())) order = int(list.size());
    list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool on) {
    if (tabStop_ == on) return;
    tabStop_ = on;
    if (handle_) {
        LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
        style = on ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP));
        SetWindowLongPtrW(handle_, GWL_STYLE, style);
    }
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (TWinControl* top = TopLevel(); top != this) top->ControlActivated(this);
    ::SetFocus(Handle());
}

TWinControl* TWinControl::TopLevel() {
    TWinControl* w = this;
    while (w->Parent()) w = w->Parent();
    return w;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::NotifyControls(UINT msg, WPARAM wParam, LPARAM lParam) {
    // A handler may add or remove children: walk a copy.
    std::vector<TControl*> list = controls_;
    for (TControl* c : list) c->Perform(msg, wParam, lParam);
}

void TWinControl::Broadcast(UINT msg, WPARAM wParam, LPARAM lParam) {
    std::vector<TControl*> list = controls_;
    for (TControl* c : list) {
        c->Perform(msg, wParam, lParam);
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->Broadcast(msg, wParam, lParam);
    }
}

std::vector<TComponent*> TWinControl::StreamedChildren(TComponent* root) const {
    std::vector<TComponent*> out;
    for (TControl* c : controls_)
        if (c->Owner() == root) out.push_back(c);
    if (root == this)
        for (TComponent* c : Components())
            if (!dynamic_cast<TControl*>(c)) out.push_back(c);
    return out;
}

void TWinControl::SetParent(TWinControl* parent) {
    if (parent == Parent()) return;
    // A child window cannot live without its parent's window.
    if (handle_ && (!parent || !parent->HandleAllocated())) DestroyWnd();
    TControl::SetParent(parent);
    if (parent && parent->HandleAllocated()) {
        if (handle_)
            ::SetParent(handle_, parent->handle_);
        else
            CreateHandle();
    }
}


void TWinControl::WindowPosChanged(const WINDOWPOS& wp) {
    if (IsIconic(handle_)) return;
    if (!(wp.flags & SWP_NOMOVE)) {
        left_ = wp.x;
        top_ = wp.y;
    }
    if (!(wp.flags & SWP_NOSIZE)) {
        width_ = wp.cx;
        height_ = wp.cy;
    }
}

// Enter and leave: while the control holds the capture, by testing the
// client rectangle at every move; otherwise by TrackMouseEvent.
void TWinControl::TrackMouse(TMessage& m) {
    if (GetCapture() == handle_) {
        RECT r = ClientRect();
        bool inside = PtInRect(&r, POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}) != FALSE;
        if (inside != PointerInside())
            Perform(inside ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
        return;
    }
    if (!PointerInside()) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
        TrackMouseEvent(&t);
        Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(this));
    }
}

// One line per message: a handler returns true when it has answered the
// message, false to pass it on to TControl (and so to the system).
void TWinControl::WndProc(TMessage& m) {
    bool done = false;
    switch (m.Msg) {
    case WM_PAINT: done = WMPaint(m); break;
    case WM_ERASEBKGND: done = WMEraseBkgnd(m); break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: done = WMMouseOver(m); break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: done = WMMouseButton(m); break;
    case WM_MOUSELEAVE: done = WMMouseLeave(m); break;
    case WM_CAPTURECHANGED: done = WMCaptureChanged(m); break;
    case WM_SETFOCUS: done = WMSetFocus(m); break;
    case WM_KILLFOCUS: done = WMKillFocus(m); break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: done = WMKeyDown(m); break;
    case WM_KEYUP:
    case WM_SYSKEYUP: done = WMKeyUp(m); break;
    case WM_CHAR: done = WMChar(m); break;
    case WM_COMMAND: done = WMCommand(m); break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: done = WMCtlColor(m); break;
    case WM_DRAWITEM: done = WMDrawItem(m); break;
    case WM_WINDOWPOSCHANGED: done = WMWindowPosChanged(m); break;
    case CM_ENABLEDCHANGED: done = CMEnabledChanged(m); break;
    case CM_FONTCHANGED: done = CMFontChanged(m); break;
    case CM_COLORCHANGED: done = CMColorChanged(m); break;
    case CM_TEXTCHANGED: done = CMTextChanged(m); break;
    case CM_MOUSEENTER: mouseInside_ = true; break;
    case CM_MOUSELEAVE: mouseInside_ = false; break;
    default: break;
    }
    if (!done) TControl::WndProc(m);
}

// ---- message handlers

bool TWinControl::WMPaint(TMessage& m) {
    if (!ownClass_) return false;
    PaintMessage(m);
    return true;
}

// Double buffered: the system's erase is skipped; the paint erases into its
// memory bitmap (WParam == LParam marks that call).
bool TWinControl::WMEraseBkgnd(TMessage& m) {
    if (!ownClass_) return false;
    if (!(doubleBuffered_ && m.WParam != WPARAM(m.LParam))) EraseBackground(reinterpret_cast<HDC>(m.WParam));
    m.Result = 1;
    return true;
}

// A press can come with no move before it: the pointer is over the control
// all the same, and a later drag off must be noticed.
bool TWinControl::WMMouseOver(TMessage& m) {
    TrackMouse(m);
    return WMMouseButton(m);
}

bool TWinControl::WMMouseButton(TMessage& m) {
    if (ownClass_) {
        MouseMessage(m);
        DefaultHandler(m);
    } else {
        // The system class reacts first (its own capture and click).
        DefaultHandler(m);
        MouseMessage(m);
    }
    return true;
}

bool TWinControl::WMMouseLeave(TMessage&) {
    if (PointerInside() && GetCapture() != handle_) Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
    return false;
}

// Leave tracking stops while captured: start it again, so that a cursor
// already outside gets its WM_MOUSELEAVE at once.
bool TWinControl::WMCaptureChanged(TMessage& m) {
    if (PointerInside() && handle_ && HWND(m.LParam) != handle_) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
        TrackMouseEvent(&t);
    }
    return false;
}

bool TWinControl::WMSetFocus(TMessage&) {
    TopLevel()->ControlFocused(this);
    DoEnter();
    return false;
}

bool TWinControl::WMKillFocus(TMessage&) {
    DoExit();
    return false;
}

bool TWinControl::WMKeyDown(TMessage& m) { return KeyMessage(m, &TWinControl::KeyDown); }
bool TWinControl::WMKeyUp(TMessage& m) { return KeyMessage(m, &TWinControl::KeyUp); }

// The handler may change the key; setting it to 0 swallows it.
bool TWinControl::KeyMessage(TMessage& m, void (TWinControl::*handler)(WORD& key, TShiftState shift)) {
    WORD key = WORD(m.WParam);
    (this->*handler)(key, KeyboardShiftState());
    if (key == 0) return true;
    m.WParam = key;
    return false;
}

// A KeyPress that sets the character to 0 swallows it.
bool TWinControl::WMChar(TMessage& m) {
    wchar_t ch = wchar_t(m.WParam);
    KeyPress(ch);
    if (ch == 0) return true;
    m.WParam = ch;
    return false;
}

// A child's notification goes back to the child; a menu's stays here.
bool TWinControl::WMCommand(TMessage& m) {
    if (!m.LParam) return false;
    ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
    return true;
}

bool TWinControl::WMCtlColor(TMessage& m) {
    ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
    return true;
}

bool TWinControl::WMDrawItem(TMessage& m) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    if (!dis || dis->CtlType == ODT_MENU) return false;
    ReflectToChild(m, dis->hwndItem);
    return true;
}

bool TWinControl::WMWindowPosChanged(TMessage& m) {
    WindowPosChanged(*reinterpret_cast<WINDOWPOS*>(m.LParam));
    return false;
}

bool TWinControl::CMEnabledChanged(TMessage&) {
    if (handle_) EnableWindow(handle_, Enabled());
    return false;
}

bool TWinControl::CMFontChanged(TMessage&) {
    if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
    NotifyControls(CM_PARENTFONTCHANGED);
    return false;
}

// A clear brush stays clear.
bool TWinControl::CMColorChanged(TMessage&) {
    TBrushStyle style = brush_->Style();
    brush_->SetColor(Color());
    brush_->SetStyle(style);
    NotifyControls(CM_PARENTCOLORCHANGED);
    return false;
}

bool TWinControl::CMTextChanged(TMessage&) {
    if (handle_) SetWindowTextW(handle_, Widen(Caption()).c_str());
    return false;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (handle_) SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TWinControl::ClientRect() const {
    if (handle_) {
        RECT r{};
        GetClientRect(handle_, &r);
        return r;
    }
    return TControl::ClientRect();
}

POINT TWinControl::ClientOrigin() const {
    if (!handle_) return TControl::ClientOrigin();
    POINT p{0, 0};
    ::ClientToScreen(handle_, &p);
    return p;
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, !ControlStyle().Contains(csOpaque));
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::SetVisible(bool on) {
    if (Visible() == on) return;
    TControl::SetVisible(on);
    if (handle_) ShowWindow(handle_, on ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) { OnKeyDown(this, key, shift); }
void TWinControl::KeyUp(WORD& key, TShiftState shift) { OnKeyUp(this, key, shift); }
void TWinControl::KeyPress(wchar_t& key) { OnKeyPress(this, key); }
void TWinControl::DoEnter() { OnEnter(this); }
void TWinControl::DoExit() { OnExit(this); }
