// The one window procedure of the framework's windows, and the life of a
// windowed control's window: class registration, creation, destruction, the
// system's default handling and the reflection of notifications to children.
#include <windowsx.h>

#include "framework/Controls.h"
#include "framework/Application.h"
#include "framework/Text.h"

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
    if (withIcon) wc.hIcon = ProgramIcon();
    wc.lpszClassName = name.c_str();
    if (!RegisterClassExW(&wc))
        throw EFrameworkError("window class " + Narrow(name) + " cannot be registered: " +
                              SystemErrorMessage(GetLastError()));
}

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
    {
        CountScope depth(dispatchDepth);
        try {
            if (control->destroying_)
                control->DefaultHandler(m);
            else
                control->WndProc(m);
        } catch (...) {
            Application.HandleException();
        }
    }
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

HWND TWinControl::Handle() const {
    if (!handle_) const_cast<TWinControl*>(this)->CreateHandle();
    return handle_;
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    return static_cast<TWinControl*>(GetPropW(hwnd, ObjectProperty()));
}

void TWinControl::DetachWindow() {
    if (!handle_) return;
    HWND h = handle_;
    DestroyWindow(h);
    if (handle_ == h) {  // not ours any more in any case
        RemovePropW(h, ObjectProperty());
        handle_ = nullptr;
    }
}

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
                              " cannot be created: " + SystemErrorMessage(GetLastError()));
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

