#include "framework/Controls.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/Forms.h"
#include "framework/Text.h"

using rastel::Widen;

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

LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

namespace {

// The object of a window is kept in a window property (not GWLP_USERDATA,
// which wrapped system classes leave to their users).
const wchar_t* ObjectProperty() {
    static const ATOM atom = GlobalAddAtomW(L"Rastel.Control");
    return MAKEINTATOM(atom);
}

// The object whose window CreateWindowExW is making: its first messages
// (WM_GETMINMAXINFO comes before WM_NCCREATE) attach it.
thread_local TWinControl* creatingControl = nullptr;
thread_local int dispatchDepth = 0;
std::vector<TWinControl*> borrowedCanvases;

void RegisterOwnClass(const std::wstring& name, UINT style, bool withIcon) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, name.c_str(), &wc)) return;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = ControlWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    if (withIcon) {
        wc.hIcon = LoadIconW(instance, L"MAINICON");
        if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    }
    wc.lpszClassName = name.c_str();
    if (!RegisterClassExW(&wc))
        throw EFrameworkError("window class " + rastel::Narrow(name) + " cannot be registered: " +
                              rastel::SystemErrorMessage(GetLastError()));
}

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

// Sets a flag for a scope and puts the old value back, also on exceptions.
class FlagScope {
public:
    FlagScope(bool& flag, bool value) : flag_(flag), old_(flag) { flag_ = value; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool old_;
};

}  // namespace

LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = TWinControl::FromHandle(hwnd);
    if (!control) {
        control = creatingControl;
        if (!control) return DefWindowProcW(hwnd, msg, wParam, lParam);
        creatingControl = nullptr;
        control->handle_ = hwnd;
        SetPropW(hwnd, ObjectProperty(), control);
    }
    TMessage m{msg, wParam, lParam, 0};
    ++dispatchDepth;
    try {
        if (control->destroying_)
            control->DefaultHandler(m);
        else
            control->WndProc(m);
    } catch (...) {
        Application.HandleException();
    }
    --dispatchDepth;
    if (msg == WM_NCDESTROY) {
        RemovePropW(hwnd, ObjectProperty());
        if (control->handle_ == hwnd) {
            control->handle_ = nullptr;
            control->defWndProc_ = nullptr;
            control->mouseInside_ = false;
        }
    }
    if (dispatchDepth == 0) FreeDeviceContexts();
    return m.Result;
}

void FreeDeviceContexts() {
    std::vector<TWinControl*> list;
    list.swap(borrowedCanvases);
    for (TWinControl* c : list) c->ReleaseBorrowedDC();
}

TForm* GetParentForm(const TControl* control) {
    const TControl* c = control;
    while (c && c->Parent()) c = c->Parent();
    return const_cast<TForm*>(dynamic_cast<const TForm*>(c));
}

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

// --------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* owner)
    : TControl(owner), brush_(std::make_unique<TBrush>()), canvas_(std::make_unique<TCanvas>()) {
    brush_->SetColor(Color());
}

TWinControl::~TWinControl() {
    destroying_ = true;
    if (TForm* form = GetParentForm(this); form && form != static_cast<TControl*>(this)) {
        if (form->activeControl_ == this) form->activeControl_ = nullptr;
        if (form->focusedControl_ == this) form->focusedControl_ = nullptr;
    }
    while (!controls_.empty()) delete controls_.back();  // each leaves the list
    ReleaseBorrowedDC();
    if (handle_) {
        HWND h = handle_;
        DestroyWindow(h);
        if (handle_ == h) {  // not ours any more in any case
            RemovePropW(h, ObjectProperty());
            handle_ = nullptr;
        }
    }
}

HWND TWinControl::Handle() const {
    if (!handle_) const_cast<TWinControl*>(this)->CreateHandle();
    return handle_;
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    return static_cast<TWinControl*>(GetPropW(hwnd, ObjectProperty()));
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount())
        throw EListError("control index " + std::to_string(index) + " out of range");
    return controls_[std::size_t(index)];
}

TControl* TWinControl::FindChildControl(const std::string& name) const {
    for (TControl* c : controls_)
        if (c->Name() == name) return c;
    return nullptr;
}

void TWinControl::InsertControl(TControl* c) {
    controls_.push_back(c);
    c->parent_ = this;
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
    if (TForm* form = GetParentForm(this); form && form != static_cast<TControl*>(this)) form->activeControl_ = this;
    ::SetFocus(Handle());
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

// ---- window

void TWinControl::CreateParams(TCreateParams& p) {
    p.caption = Caption();
    p.style = WS_CHILD | WS_CLIPSIBLINGS;
    if (ControlStyle().Contains(csAcceptsControls)) {
        p.style |= WS_CLIPCHILDREN;
        p.exStyle |= WS_EX_CONTROLPARENT;
    }
    if (tabStop_) p.style |= WS_TABSTOP;
    if (Visible()) p.style |= WS_VISIBLE;
    if (!Enabled()) p.style |= WS_DISABLED;
    p.x = left_;
    p.y = top_;
    p.width = width_;
    p.height = height_;
    p.wndParent = Parent() ? Parent()->Handle() : nullptr;
    p.winClassName = ClassName();
    p.windowClassStyle = ControlStyle().Contains(csDoubleClicks) ? CS_DBLCLKS : 0;
}

void TWinControl::CreateHandle() {
    if (handle_) return;
    if (Parent()) Parent()->HandleNeeded();
    if (handle_) return;  // the parent's creation made it
    CreateWnd();
    CreateChildHandles();
}

void TWinControl::CreateChildHandles() {
    std::vector<TControl*> list = controls_;
    for (TControl* c : list)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && !w->handle_) w->CreateHandle();
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    if ((p.style & WS_CHILD) && !p.wndParent) throw EFrameworkError("control " + Name() + " has no parent window");
    static int nextId = 100;
    HMENU id = (p.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)) : nullptr;
    std::wstring caption = Widen(p.caption);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND h = nullptr;
    if (p.systemClassName.empty()) {
        std::wstring cls = Widen(p.winClassName.empty() ? ClassName() : p.winClassName);
        RegisterOwnClass(cls, p.windowClassStyle, !(p.style & WS_CHILD));
        creatingControl = this;
        h = CreateWindowExW(p.exStyle, cls.c_str(), caption.c_str(), p.style, p.x, p.y, p.width, p.height, p.wndParent,
                            id, instance, nullptr);
        creatingControl = nullptr;
        ownClass_ = true;
    } else {
        std::wstring cls = Widen(p.systemClassName);
        h = CreateWindowExW(p.exStyle, cls.c_str(), caption.c_str(), p.style, p.x, p.y, p.width, p.height, p.wndParent,
                            id, instance, nullptr);
        if (h) {
            handle_ = h;
            SetPropW(h, ObjectProperty(), this);
            defWndProc_ = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWindowProc)));
        }
        ownClass_ = false;
    }
    if (!h) {
        handle_ = nullptr;
        throw EFrameworkError("the window of " + (Name().empty() ? ClassName() : Name()) +
                              " cannot be created: " + rastel::SystemErrorMessage(GetLastError()));
    }
    AfterHandleCreated();
}

void TWinControl::AfterHandleCreated() {
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
}

void TWinControl::DestroyWnd() {
    if (!handle_) return;
    ReleaseBorrowedDC();
    DestroyWindow(handle_);
    handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    DestroyWnd();
    CreateHandle();
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

void TWinControl::DefaultHandler(TMessage& m) {
    if (m.Msg >= CN_BASE + WM_CTLCOLORMSGBOX && m.Msg <= CN_BASE + WM_CTLCOLORSTATIC) {
        // The control's colours for its parent's WM_CTLCOLOR*.
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorRef(Font()->Color()));
        if (brush_->Style() == bsClear) {
            SetBkMode(dc, TRANSPARENT);
        } else {
            SetBkColor(dc, ColorRef(Color()));
        }
        m.Result = reinterpret_cast<LRESULT>(brush_->Handle());
        return;
    }
    if ((m.Msg >= CN_BASE && m.Msg < CN_BASE + WM_USER) || (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100) ||
        !handle_) {
        m.Result = 0;
        return;
    }
    m.Result = defWndProc_ ? CallWindowProcW(defWndProc_, handle_, m.Msg, m.WParam, m.LParam)
                           : DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::ReflectToChild(TMessage& m, HWND child) {
    TWinControl* c = FromHandle(child);
    if (c && c != this && !c->destroying_) {
        m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
    }
    DefaultHandler(m);
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
        if (inside != mouseInside_) {
            mouseInside_ = inside;
            Perform(inside ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
        }
        return;
    }
    if (!mouseInside_) {
        mouseInside_ = true;
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
        TrackMouseEvent(&t);
        Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(this));
    }
}

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        if (ownClass_) {
            PaintMessage(m);
            return;
        }
        break;
    case WM_ERASEBKGND:
        if (ownClass_) {
            // Double buffered: the system's erase is skipped; the paint erases
            // into its memory bitmap (WParam == LParam marks that call).
            if (!(doubleBuffered_ && m.WParam != WPARAM(m.LParam))) EraseBackground(reinterpret_cast<HDC>(m.WParam));
            m.Result = 1;
            return;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        // A press can come with no move before it: the pointer is over the
        // control all the same, and a later drag off must be noticed.
        TrackMouse(m);
        [[fallthrough]];
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (ownClass_) {
            MouseMessage(m);
            DefaultHandler(m);
        } else {
            // The system class reacts first (its own capture and click).
            DefaultHandler(m);
            MouseMessage(m);
        }
        return;
    case WM_MOUSELEAVE:
        if (mouseInside_ && GetCapture() != handle_) {
            mouseInside_ = false;
            Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
        }
        break;
    case WM_CAPTURECHANGED:
        // Leave tracking stops while captured: start it again, so that a
        // cursor already outside gets its WM_MOUSELEAVE at once.
        if (mouseInside_ && handle_ && HWND(m.LParam) != handle_) {
            TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, handle_, 0};
            TrackMouseEvent(&t);
        }
        break;
    case WM_SETFOCUS:
        if (TForm* form = GetParentForm(this)) form->FocusedControlChanged(this);
        DoEnter();
        break;
    case WM_KILLFOCUS:
        DoExit();
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        WORD key = WORD(m.WParam);
        KeyDown(key, KeyboardShiftState());
        if (key == 0) return;
        m.WParam = key;
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        WORD key = WORD(m.WParam);
        KeyUp(key, KeyboardShiftState());
        if (key == 0) return;
        m.WParam = key;
        break;
    }
    case WM_CHAR: {
        wchar_t ch = wchar_t(m.WParam);
        KeyPress(ch);
        if (ch == 0) return;
        m.WParam = ch;
        break;
    }
    case WM_COMMAND:
        if (m.LParam) {
            ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
            return;
        }
        break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
        return;
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (dis && dis->CtlType != ODT_MENU) {
            ReflectToChild(m, dis->hwndItem);
            return;
        }
        break;
    }
    case WM_WINDOWPOSCHANGED:
        WindowPosChanged(*reinterpret_cast<WINDOWPOS*>(m.LParam));
        break;
    case CM_ENABLEDCHANGED:
        if (handle_) EnableWindow(handle_, Enabled());
        break;
    case CM_FONTCHANGED:
        if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
        NotifyControls(CM_PARENTFONTCHANGED);
        break;
    case CM_COLORCHANGED: {
        TBrushStyle style = brush_->Style();  // a clear brush stays clear
        brush_->SetColor(Color());
        brush_->SetStyle(style);
        NotifyControls(CM_PARENTCOLORCHANGED);
        break;
    }
    case CM_TEXTCHANGED:
        if (handle_) SetWindowTextW(handle_, Widen(Caption()).c_str());
        break;
    default:
        break;
    }
    TControl::WndProc(m);
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

// ---- painting

void TWinControl::ReleaseBorrowedDC() {
    if (!borrowedDC_) return;
    if (canvas_ && canvas_->Handle() == borrowedDC_.get()) canvas_->SetHandle(nullptr);
    borrowedDC_.reset();
    borrowedCanvases.erase(std::remove(borrowedCanvases.begin(), borrowedCanvases.end(), this),
                           borrowedCanvases.end());
}

TCanvas& TWinControl::WindowCanvas() {
    if (!canvas_->HandleAllocated()) {
        borrowedDC_ = WindowDC(Handle());
        canvas_->SetHandle(borrowedDC_.get());
        borrowedCanvases.push_back(this);
    }
    return *canvas_;
}

void TWinControl::EraseBackground(HDC dc) {
    if (brush_->Style() == bsClear) return;
    RECT r = ClientRect();
    ::FillRect(dc, &r, brush_->Handle());
}

namespace {
// The canvas over a DC for one paint, and back to none afterwards (also
// when the paint throws).
class CanvasOnDC {
public:
    CanvasOnDC(TCanvas& canvas, HDC dc, bool& painting) : canvas_(canvas), painting_(painting, true) {
        canvas_.SetHandle(dc);
    }
    ~CanvasOnDC() { canvas_.SetHandle(nullptr); }
    CanvasOnDC(const CanvasOnDC&) = delete;
    CanvasOnDC& operator=(const CanvasOnDC&) = delete;

private:
    TCanvas& canvas_;
    FlagScope painting_;
};

class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }
    const RECT& rect() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};
}  // namespace

void TWinControl::PaintMessage(TMessage& m) {
    ReleaseBorrowedDC();
    PaintScope paint(handle_);
    const RECT& clip = paint.rect();
    if (doubleBuffered_) {
        RECT client = ClientRect();
        const int w = std::max<LONG>(client.right, 1);
        const int h = std::max<LONG>(client.bottom, 1);
        UniqueDC mem(CreateCompatibleDC(paint.dc()));
        UniqueBitmap bitmap(CreateCompatibleBitmap(paint.dc(), w, h));
        if (!mem || !bitmap) throw EFrameworkError("out of memory for the paint buffer");
        SelectGuard select(mem.get(), bitmap.get());
        if (!ControlStyle().Contains(csOpaque))
            Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem.get()), reinterpret_cast<LPARAM>(mem.get()));
        {
            CanvasOnDC canvas(*canvas_, mem.get(), painting_);
            Paint();
        }
        PaintControls(mem.get(), &clip);
        BitBlt(paint.dc(), clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, mem.get(), clip.left,
               clip.top, SRCCOPY);
    } else {
        {
            CanvasOnDC canvas(*canvas_, paint.dc(), painting_);
            Paint();
        }
        PaintControls(paint.dc(), &clip);
    }
    m.Result = 0;
}

void TWinControl::PaintControls(HDC dc, const RECT* clip) {
    std::vector<TControl*> list = controls_;
    for (TControl* c : list) {
        auto* g = dynamic_cast<TGraphicControl*>(c);
        if (!g || !g->Visible()) continue;
        RECT r = g->BoundsRect();
        RECT common;
        if (clip && !IntersectRect(&common, &r, clip)) continue;
        g->PaintTo(dc, r.left, r.top);
    }
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
    ReleaseBorrowedDC();
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, x, y, nullptr);
    RECT client = ClientRect();
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    struct Restore {
        HDC dc;
        int saved;
        ~Restore() { RestoreDC(dc, saved); }
    } restore{dc, saved};
    if (!ControlStyle().Contains(csOpaque))
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
    {
        CanvasOnDC canvas(*canvas_, dc, painting_);
        Paint();
    }
    PaintControls(dc, nullptr);
}

// ------------------------------------------------------------ TCustomControl

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::CreateParams(TCreateParams& params) { TWinControl::CreateParams(params); }

// ----------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::PaintTo(HDC dc, int x, int y) {
    const int saved = SaveDC(dc);
    struct Restore {
        HDC dc;
        int saved;
        TCanvas& canvas;
        ~Restore() {
            canvas.SetHandle(nullptr);
            RestoreDC(dc, saved);
        }
    } restore{dc, saved, *canvas_};
    OffsetViewportOrgEx(dc, x, y, nullptr);
    IntersectClipRect(dc, 0, 0, Width(), Height());
    canvas_->SetHandle(dc);
    Paint();
}

// ------------------------------------------------------------- class tables

PropertyInfo TControl::Props::Left() { return IntProperty<TControl>("Left", &TControl::Left, &TControl::SetLeft, std::nullopt); }
PropertyInfo TControl::Props::Top() { return IntProperty<TControl>("Top", &TControl::Top, &TControl::SetTop, std::nullopt); }
PropertyInfo TControl::Props::Width() {
    return IntProperty<TControl>("Width", &TControl::Width, &TControl::SetWidth, std::nullopt);
}
PropertyInfo TControl::Props::Height() {
    return IntProperty<TControl>("Height", &TControl::Height, &TControl::SetHeight, std::nullopt);
}
PropertyInfo TControl::Props::Caption() {
    return StringProperty<TControl>("Caption", &TControl::Caption, &TControl::SetCaption);
}
PropertyInfo TControl::Props::Color(TColor defaultColor) {
    PropertyInfo p = ColorProperty<TControl>("Color", &TControl::Color, &TControl::SetColor, defaultColor);
    return StoredWhen<TControl>(std::move(p), [defaultColor](const TControl& c) {
        return !c.ParentColor() && c.Color() != defaultColor;
    });
}
PropertyInfo TControl::Props::ParentColor() {
    return BoolProperty<TControl>("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true);
}
PropertyInfo TControl::Props::Enabled() {
    return BoolProperty<TControl>("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
}
PropertyInfo TControl::Props::Font() {
    return ObjectProperty<TControl>("Font", &TControl::Font, [](const TControl& c) { return !c.ParentFont(); });
}
PropertyInfo TControl::Props::ParentFont() {
    return BoolProperty<TControl>("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true);
}
PropertyInfo TControl::Props::Visible() {
    return BoolProperty<TControl>("Visible", &TControl::Visible, &TControl::SetVisible, true);
}
PropertyInfo TControl::Props::TabOrder() {
    return IntProperty<TWinControl>("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, -1);
}
PropertyInfo TControl::Props::TabStop(bool defaultValue) {
    return BoolProperty<TWinControl>("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, defaultValue);
}
PropertyInfo TControl::Props::OnClick() { return NotifyEventProperty<TControl>("OnClick", &TControl::OnClick); }
PropertyInfo TControl::Props::OnDblClick() { return NotifyEventProperty<TControl>("OnDblClick", &TControl::OnDblClick); }
PropertyInfo TControl::Props::OnMouseDown() {
    return EventProperty<TControl, TMouseEventHandler>("OnMouseDown", &TControl::OnMouseDown);
}
PropertyInfo TControl::Props::OnMouseUp() {
    return EventProperty<TControl, TMouseEventHandler>("OnMouseUp", &TControl::OnMouseUp);
}
PropertyInfo TControl::Props::OnMouseMove() {
    return EventProperty<TControl, TMouseMoveEventHandler>("OnMouseMove", &TControl::OnMouseMove);
}
PropertyInfo TControl::Props::OnEnter() { return NotifyEventProperty<TWinControl>("OnEnter", &TWinControl::OnEnter); }
PropertyInfo TControl::Props::OnExit() { return NotifyEventProperty<TWinControl>("OnExit", &TWinControl::OnExit); }
PropertyInfo TControl::Props::OnKeyDown() {
    return EventProperty<TWinControl, TKeyEventHandler>("OnKeyDown", &TWinControl::OnKeyDown);
}
PropertyInfo TControl::Props::OnKeyPress() {
    return EventProperty<TWinControl, TKeyPressEventHandler>("OnKeyPress", &TWinControl::OnKeyPress);
}
PropertyInfo TControl::Props::OnKeyUp() {
    return EventProperty<TWinControl, TKeyEventHandler>("OnKeyUp", &TWinControl::OnKeyUp);
}

const ClassInfo& TControl::StaticClassInfo() {
    static const ClassInfo info{"TControl",
                                &TComponent::StaticClassInfo(),
                                {Props::Left(), Props::Top(), Props::Width(), Props::Height()},
                                {}};
    return info;
}

const ClassInfo& TWinControl::StaticClassInfo() {
    static const ClassInfo info{"TWinControl", &TControl::StaticClassInfo(), {}, {}};
    return info;
}

const ClassInfo& TCustomControl::StaticClassInfo() {
    static const ClassInfo info{"TCustomControl", &TWinControl::StaticClassInfo(), {}, {}};
    return info;
}

const ClassInfo& TGraphicControl::StaticClassInfo() {
    static const ClassInfo info{"TGraphicControl", &TControl::StaticClassInfo(), {}, {}};
    return info;
}
