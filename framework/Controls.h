// Controls: the control root (parent, bounds, font and colour following the
// parent, mouse dispatch, events), windowed controls (window handle, virtual
// message procedure, children, tab order, focus, painting), the custom-drawn
// control base and the non-windowed control base.
//
// Every window of a control runs through one static window procedure: it
// finds the object, calls its virtual WndProc and hands any exception to
// Application.HandleException. A subclass's WndProc handles its own messages
// and passes the rest to its base class's WndProc.
//
// Where the code is: Control.cpp (TControl), WinControl.cpp (TWinControl:
// children, focus, message handlers), WindowProc.cpp (the window procedure
// and window creation), ControlPaint.cpp (painting, TCustomControl,
// TGraphicControl), ControlProps.cpp (property rows and class tables).
#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/color.h"
#include "core/form_scaling.h"
#include "framework/Classes.h"
#include "framework/Component.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "framework/PropertyHelpers.h"

class TWinControl;

// How a form and its controls are scaled for a resolution (the rule lives in
// the portable core).
using rastel::TFormScaling;

// csOpaque: the control paints its whole client area (invalidation does not
// erase it). csCaptureMouse: a left press captures the mouse. csClickEvents:
// a left release inside calls Click. csDoubleClicks: the window class gets
// CS_DBLCLKS and a double click calls DblClick. csAcceptsControls: children
// are clipped (WS_CLIPCHILDREN).
enum TControlStyleFlag { csOpaque, csCaptureMouse, csClickEvents, csDoubleClicks, csAcceptsControls };
using TControlStyle = TSet<TControlStyleFlag>;

// How a control's help is found: by HelpKeyword or by HelpContext.
enum THelpType : std::uint8_t { htKeyword = 0, htContext = 1 };

using TMouseEventHandler = void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
using TMouseEvent = TEvent<TMouseEventHandler>;
using TMouseMoveEventHandler = void(TObject* sender, TShiftState shift, int x, int y);
using TMouseMoveEvent = TEvent<TMouseMoveEventHandler>;
using TKeyEventHandler = void(TObject* sender, WORD& key, TShiftState shift);
using TKeyEvent = TEvent<TKeyEventHandler>;
using TKeyPressEventHandler = void(TObject* sender, wchar_t& key);
using TKeyPressEvent = TEvent<TKeyPressEventHandler>;

// What CreateWnd passes to CreateWindowExW; CreateParams overrides adjust it.
struct TCreateParams {
    std::string caption;  // UTF-8
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND wndParent = nullptr;
    // Own window class, registered once under this name with windowClassStyle
    // (the first registration of a name wins). Default: the object's ClassName().
    std::string winClassName;
    UINT windowClassStyle = CS_DBLCLKS;
    // Non-empty: the window is of this system class ("BUTTON", "COMBOBOX"),
    // subclassed after creation; unhandled messages go to its own procedure.
    std::string systemClassName;
};

// ------------------------------------------------------------------ TControl

class TControl : public TComponent {
    RASTEL_CLASS_INFO
public:
    // Streaming defaults: the members start at them and the property table
    // names them.
    struct Defaults {
        static constexpr bool Enabled = true;
        static constexpr bool Visible = true;
        static constexpr bool ParentFont = true;
        static constexpr bool ParentColor = true;
        static constexpr int TabOrder = -1;
        static constexpr int Tag = 0;
        static constexpr int Cursor = 0;
        static constexpr THelpType HelpType = htContext;
        static constexpr int HelpContext = 0;
    };

    explicit TControl(TComponent* owner);
    // Leaves the parent; never calls virtual functions of derived classes.
    ~TControl() override;

    // ---- parent
    TWinControl* Parent() const { return parent_; }
    // Moves the control into parent's child list (last index); nullptr removes it.
    virtual void SetParent(TWinControl* parent);
    // The description reader: a control nested in a windowed control's block.
    void SetParentComponent(TComponent* parent) override;

    // ---- bounds: in the parent's client coordinates (screen for forms)
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    // Moves a windowed control's window at once.
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
    // (0, 0, ClientWidth, ClientHeight).
    virtual RECT ClientRect() const;
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }
    // Controls without a frame: the same as SetWidth / SetHeight.
    virtual void SetClientWidth(int v) { SetWidth(v); }
    virtual void SetClientHeight(int v) { SetHeight(v); }
    // Screen position of the client area's top-left corner.
    virtual POINT ClientOrigin() const;
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;

    // ---- scaling
    // Lays the control (and its children) out for a scaling of its form
    // (ChangeScale), which is then the scaling in force.
    void ApplyScaling(const TFormScaling& s);
    // Bounds, and its own font when it has one, from the design (what the
    // form description gave, or what code set since): any number of
    // scalings, to any resolution and back, never drift. Controls with
    // pixel sizes of their own scale them here too, through Design().
    virtual void ChangeScale(const TFormScaling& s);
    // Where the control would be at a scaling of its form, moving nothing.
    RECT BoundsAt(const TFormScaling& s) const;

    // ---- state
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool on);
    virtual void Show() { SetVisible(true); }
    virtual void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    // Stores and sends CM_ENABLEDCHANGED to the control (whose default
    // handling enables or disables the window and invalidates).
    void SetEnabled(bool on);
    // Window text of windowed controls (UTF-8).
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& text);

    // The control's own font object. Changing it (directly or through
    // SetFont) sets ParentFont to false and sends CM_FONTCHANGED.
    TFont* Font() const { return font_.get(); }
    // Copies the attributes of `font` (nullptr is ignored).
    void SetFont(const TFont* font);
    // True: the font is a copy of the parent's and follows its changes.
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool on);

    TColor Color() const { return color_; }
    // Sets ParentColor to false and sends CM_COLORCHANGED.
    void SetColor(TColor c);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool on);

    // Kept as values for the form descriptions: the cursor's number, the
    // tooltip text and the help reference.
    int Cursor() const { return cursor_; }
    void SetCursor(int v) { cursor_ = v; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& v) { hint_ = v; }
    THelpType HelpType() const { return helpType_; }
    void SetHelpType(THelpType v) { helpType_ = v; }
    const std::string& HelpKeyword() const { return helpKeyword_; }
    void SetHelpKeyword(const std::string& v) { helpKeyword_ = v; }
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int v) { helpContext_ = v; }

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle s) { controlStyle_ = s; }

    // ---- painting
    // Schedules a repaint (windowed: InvalidateRect, erasing unless csOpaque;
    // non-windowed: the parent's area under the control).
    virtual void Invalidate();
    // Paints pending invalid areas now (UpdateWindow).
    virtual void Update();
    void Repaint() {
        Invalidate();
        Update();
    }

    // ---- mouse
    // Windowed controls: SetCapture / ReleaseCapture on their window.
    bool MouseCapture() const;
    void SetMouseCapture(bool on);
    // Overridable handlers; the framework's versions raise the events.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // ---- messages
    // Calls WndProc directly (no window needed) and returns the Result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The control's message procedure. TControl handles the CM_* defaults
    // and passes everything else to DefaultHandler.
    virtual void WndProc(TMessage& m);

    // Rows for the framework's own properties, for classes that publish or
    // republish them (each in the position the class wants).
    struct Props {
        static PropertyInfo Name();  // written in the object header, never as a property
        static PropertyInfo Tag();
        static PropertyInfo Cursor();
        static PropertyInfo Hint();
        static PropertyInfo HelpType();
        static PropertyInfo HelpKeyword();
        static PropertyInfo HelpContext();
        static PropertyInfo Left();
        static PropertyInfo Top();
        static PropertyInfo Width();
        static PropertyInfo Height();
        static PropertyInfo Caption();
        static PropertyInfo Color(TColor defaultColor);  // stored when not ParentColor and different
        static PropertyInfo ParentColor();               // default True
        static PropertyInfo Enabled();                   // default True
        static PropertyInfo Font();                      // stored when not ParentFont
        static PropertyInfo ParentFont();                // default True
        static PropertyInfo Visible();                   // default True
        static PropertyInfo TabOrder();                  // default -1: always stored
        static PropertyInfo TabStop(bool defaultValue);
        static PropertyInfo OnClick();
        static PropertyInfo OnDblClick();
        static PropertyInfo OnMouseDown();
        static PropertyInfo OnMouseUp();
        static PropertyInfo OnMouseMove();
        static PropertyInfo OnEnter();
        static PropertyInfo OnExit();
        static PropertyInfo OnKeyDown();
        static PropertyInfo OnKeyPress();
        static PropertyInfo OnKeyUp();
    };

protected:
    // The values of the control's design that follow the form's scaling.
    rastel::DesignValues& Design() { return design_; }
    const rastel::DesignValues& Design() const { return design_; }
    // A pixel value of the control's own (at `field`) for scaling `s`, given
    // to its setter; what the setter keeps is what the scaling made of it.
    template <class Setter>
    void ScaleOwn(const int& field, const TFormScaling& s, Setter set) {
        set(design_.Scale(&field, field, s));
        design_.Made(&field, field);
    }
    // Messages nobody handled: nothing for non-windowed controls; the
    // system's procedure for windowed ones.
    virtual void DefaultHandler(TMessage& m);
    // Where the control is painted from: its own window, or (non-windowed) the parent's.
    virtual bool IsWindowed() const { return false; }

    // Bounds as stored; SetBounds of windowed controls also moves the window.
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;

private:
    friend class TWinControl;
    void FontAttributesChanged();
    void FollowParentFont();
    void MouseMessage(TMessage& m);

    TWinControl* parent_ = nullptr;
    bool visible_ = Defaults::Visible;
    bool enabled_ = Defaults::Enabled;
    std::string caption_;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = Defaults::ParentFont;
    bool followingParentFont_ = false;  // copying the parent's font: ParentFont stays
    TColor color_ = clWindow;
    bool parentColor_ = Defaults::ParentColor;
    int cursor_ = Defaults::Cursor;
    std::string hint_;
    THelpType helpType_ = Defaults::HelpType;
    std::string helpKeyword_;
    int helpContext_ = Defaults::HelpContext;
    TControlStyle controlStyle_{csCaptureMouse, csClickEvents, csDoubleClicks};
    bool clicked_ = false;    // a left press started a click
    int pendingTabOrder_ = Defaults::TabOrder;  // TabOrder set before the control had a parent
    rastel::DesignValues design_;
};

// Releases the window DCs that canvases took outside painting. The window
// procedure calls it when a message returns to the loop; so does the loop.
void FreeDeviceContexts();

// --------------------------------------------------------------- TWinControl

class TWinControl : public TControl {
    RASTEL_CLASS_INFO
public:
    explicit TWinControl(TComponent* owner);
    // Frees the child controls (last first), then the window.
    ~TWinControl() override;

    // The window, created on first request together with the parent's (first)
    // and the windowed children's.
    HWND Handle() const;
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() const { (void)Handle(); }
    // The object of one of the framework's windows, or nullptr.
    static TWinControl* FromHandle(HWND hwnd);

    // ---- children, in index order (order of insertion)
    int ControlCount() const { return int(controls_.size()); }
    TControl* Controls(int index) const;  // EListError outside 0..ControlCount-1

    // ---- tab order and focus
    // Position among the parent's windowed children in Tab order; -1 without a parent.
    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool on);
    // Visible and enabled, up to the form.
    bool CanFocus() const;
    virtual void SetFocus();
    bool Focused() const;

    // Background brush; its colour follows Color. Style bsClear: the
    // framework never erases the background.
    TBrush* Brush() const { return brush_.get(); }
    // Paint into a memory bitmap, then copy it to the window in one go.
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool on) { doubleBuffered_ = on; }

    TNotifyEvent OnEnter;  // the window got the keyboard focus
    TNotifyEvent OnExit;   // the window lost the keyboard focus
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // Sends a message to every child's WndProc (not recursive).
    void NotifyControls(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Sends a message to every descendant's WndProc, depth first.
    void Broadcast(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // Paints the control (own window classes: background, Paint, the
    // non-windowed children) into dc with the client origin at (x, y).
    void PaintTo(HDC dc, int x, int y);

    void WndProc(TMessage& m) override;
    void SetBounds(int left, int top, int width, int height) override;
    // The control, then its children.
    void ChangeScale(const TFormScaling& s) override;
    RECT ClientRect() const override;
    POINT ClientOrigin() const override;
    void Invalidate() override;
    void Update() override;
    void SetVisible(bool on) override;
    void SetParent(TWinControl* parent) override;
    std::vector<TComponent*> StreamedChildren(TComponent* root) const override;

protected:
    bool IsWindowed() const override { return true; }
    virtual void CreateParams(TCreateParams& params);
    // Creates the window from CreateParams; then the children's windows.
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // Destroys and creates the window again (after a style change).
    void RecreateWnd();
    // For a destructor whose window must go while the object is still of its
    // class: from here on, messages go to the system's handling only.
    void DestroyWindowFirst() {
        destroying_ = true;
        DestroyWnd();
    }
    void DefaultHandler(TMessage& m) override;

    // Own window classes only: the canvas for Paint. During WM_PAINT it is
    // over the paint DC (or the memory bitmap when double buffered); outside
    // painting it is over a window DC, released when the current message
    // returns.
    TCanvas& WindowCanvas();
    // Paints the control's own picture on WindowCanvas(); nothing by default.
    virtual void Paint() {}
    // The non-windowed children, in index order, after the control's own paint.
    void PaintControls(HDC dc, const RECT* clip);

    // The top-level window hears what happens to the windowed controls
    // inside it: a form keeps its active and focused control by these. They
    // do nothing on other windowed controls.
    // `control` got the keyboard focus (it may be this window itself).
    virtual void ControlFocused(TWinControl* control) { (void)control; }
    // SetFocus was asked of `control`, a control inside this window.
    virtual void ControlActivated(TWinControl* control) { (void)control; }
    // `control`, inside this window, is being destroyed.
    virtual void ControlDestroyed(TWinControl* control) { (void)control; }

    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(wchar_t& key);
    virtual void DoEnter();
    virtual void DoExit();

    // The pointer is over the control: its CM_MOUSEENTER came, its
    // CM_MOUSELEAVE not yet. The notices' default handling records it; a
    // control that answers them itself keeps the fact and answers here.
    virtual bool PointerInside() const { return mouseInside_; }

private:
    friend class TControl;
    friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    void CreateHandle();
    void CreateChildHandles();
    void PaintMessage(TMessage& m);
    void PaintLayers(HDC dc, bool erase, const RECT* clip);
    void DetachWindow();
    void EraseBackground(HDC dc);
    // This window's top-level window (this one when it has no parent).
    TWinControl* TopLevel();
    bool WMPaint(TMessage& m);
    bool WMEraseBkgnd(TMessage& m);
    bool WMMouseOver(TMessage& m);
    bool WMMouseButton(TMessage& m);
    bool WMMouseLeave(TMessage& m);
    bool WMCaptureChanged(TMessage& m);
    bool WMSetFocus(TMessage& m);
    bool WMKillFocus(TMessage& m);
    bool WMKeyDown(TMessage& m);
    bool WMKeyUp(TMessage& m);
    bool KeyMessage(TMessage& m, void (TWinControl::*handler)(WORD& key, TShiftState shift));
    bool WMChar(TMessage& m);
    bool WMCommand(TMessage& m);
    bool WMCtlColor(TMessage& m);
    bool WMDrawItem(TMessage& m);
    bool WMWindowPosChanged(TMessage& m);
    bool CMEnabledChanged(TMessage& m);
    bool CMFontChanged(TMessage& m);
    bool CMColorChanged(TMessage& m);
    bool CMTextChanged(TMessage& m);
    void TrackMouse(TMessage& m);
    void ReflectToChild(TMessage& m, HWND child);
    void WindowPosChanged(const WINDOWPOS& wp);
    void AfterHandleCreated();

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = nullptr;  // wrapped system class: its procedure
    bool ownClass_ = true;
    bool destroying_ = false;
    bool mouseInside_ = false;  // PointerInside, unless the control keeps it
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
    bool doubleBuffered_ = false;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TCanvas> canvas_;
    WindowDC borrowedDC_;  // canvas_ over a window DC outside painting
    bool painting_ = false;
    friend void FreeDeviceContexts();
    void ReleaseBorrowedDC();
};

// ------------------------------------------------------------ TCustomControl

// Windowed, drawn by the program: Canvas + Paint on WM_PAINT.
class TCustomControl : public TWinControl {
    RASTEL_CLASS_INFO
public:
    explicit TCustomControl(TComponent* owner);
    // During Paint: over the paint DC or, when double buffered, over the
    // memory bitmap that is then copied to the screen.
    TCanvas* Canvas() { return &WindowCanvas(); }
    void Paint() override {}

protected:
    void CreateParams(TCreateParams& params) override;
};

// ----------------------------------------------------------- TGraphicControl

// Non-windowed: painted by its parent after the parent's own background,
// in the parent's child order.
class TGraphicControl : public TControl {
    RASTEL_CLASS_INFO
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    // During Paint: the parent's DC with the origin at this control's top-left
    // and clipped to it.
    TCanvas* Canvas() { return canvas_.get(); }
    virtual void Paint() {}
    // Paints the control into dc with its top-left at (x, y).
    void PaintTo(HDC dc, int x, int y);

private:
    std::unique_ptr<TCanvas> canvas_;
};
