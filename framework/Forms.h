// Forms: top-level windows read from form descriptions, scaled for the
// screen, placed on first show. (The application object: Application.h.)
#pragma once
#include <windows.h>

#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "framework/Application.h"
#include "core/form_scaling.h"
#include "framework/Controls.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition { poDesigned, poDesktopCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

// Top-left corner that centres a window of the given outer size on the
// virtual screen (all monitors): origin + (extent - size) / 2 on each axis,
// the division truncating toward zero.
POINT DesktopCenterPosition(int virtualLeft, int virtualTop, int virtualWidth, int virtualHeight, int outerWidth,
                            int outerHeight);

// The scaling rule lives in the portable core, so the grid-image generator
// uses the same one.
using rastel::ComputeFormScaling;

// Text height of "0" in a font like `base` but of the given Height: what
// forms scale by.
int MeasureTextHeight(const TFont& base, int height);

// Show state asked for by the process's start-up information:
// SW_SHOWMAXIMIZED -> wsMaximized, SW_SHOWMINNOACTIVE -> wsMinimized,
// anything else (or no show state given) -> wsNormal.
TWindowState StartupWindowState(bool hasShowWindow, WORD showWindow);

// ---------------------------------------------------------------------- TForm

class TForm;
// The form holding the control (the control itself when it is a form), or nullptr.
TForm* GetParentForm(const TControl* control);

// A top-level window. A derived form's constructor registers its handlers
// (RegisterMethod) and then calls ReadDescription with its text; OnCreate
// runs afterwards in AfterConstruction (Application.CreateForm calls it).
class TForm : public TWinControl {
    RASTEL_CLASS_INFO
public:
    // Streaming defaults: the members start at them and the property table
    // names them.
    struct Defaults {
        static constexpr TFormBorderStyle BorderStyle = bsSizeable;
        static constexpr TBorderIcons BorderIcons = {biSystemMenu, biMinimize, biMaximize};
        static constexpr TPosition Position = poDesigned;
        static constexpr TColor Color = clBtnFace;
    };

    explicit TForm(TComponent* owner);
    ~TForm() override;

    // Reads the form description into this form (creating its controls),
    // then scales the form for the screen's resolution.
    void ReadDescription(const std::string& text);

    // Lays the form and its controls out for `ppi` from their design (the
    // description as read): the font by the ratio of the resolutions, the
    // client size and every control's position and size by the new text
    // height over the designed one. Repeatable: after any number of calls the
    // form is as a form made at `ppi` would be. A form with a window keeps
    // its top-left corner.
    void ScaleTo(int ppi);
    // The scaling in force (none at the design's resolution).
    const TFormScaling& Scaling() const { return scaling_; }
    // Runs OnCreate once; an exception from it goes to Application.HandleException.
    void AfterConstruction();

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition p) { position_ = p; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState s);
    // Kept for form descriptions; OnCreate always runs after the controls exist.
    bool OldCreateOrder() const { return oldCreateOrder_; }
    void SetOldCreateOrder(bool on) { oldCreateOrder_ = on; }
    // Resolution and text height the description was designed with (after
    // scaling: the screen's).
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }
    int TextHeight() const { return textHeight_; }
    void SetTextHeight(int h) { textHeight_ = h; }

    // Client size; set before the window exists, the window is created to fit it.
    void SetClientWidth(int v) override;
    void SetClientHeight(int v) override;
    RECT ClientRect() const override;
    void SetBounds(int left, int top, int width, int height) override;

    // The form's canvas: during its paint the paint DC (or memory bitmap);
    // otherwise the client area's window DC.
    TCanvas* Canvas() { return &WindowCanvas(); }

    // The control that has (or last had) the focus in this form.
    TWinControl* ActiveControl() const { return activeControl_; }
    // Focuses the next (or previous) Tab stop after `current` in Tab order.
    void SelectNext(TWinControl* current, bool forward);

    // Makes the form visible and brings it to the front of its band. The
    // first showing places a poDesktopCenter form on the virtual screen.
    void Show() override;
    void SetVisible(bool on) override;
    // The main form ends the application's message loop; any other form hides.
    void Close();

    TNotifyEvent OnCreate;

    void WndProc(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& params) override;
    // A window made on a monitor of another resolution is laid out for it.
    void CreateWnd() override;
    virtual void DoCreate();
    // After every scaling (also the first, while the description is read):
    // for what a form lays out itself beyond its description's controls.
    virtual void ScaleChanged() {}
    // The outer size the form takes at scaling `s` on a monitor of `dpi`:
    // its frame at that resolution around its client size from the design.
    // A form that sizes itself otherwise says so here; a rescaled window is
    // moved and sized to it at once, so the system never sees a size in
    // between.
    virtual SIZE OuterSizeAt(const TFormScaling& s, int dpi) const;
    // The client size from the design at scaling `s`.
    SIZE ClientSizeAt(const TFormScaling& s) const;
    // The scaling for a resolution, from the description as read.
    TFormScaling ScalingFor(int ppi);
    // The outer size of the form's frame around a client area of that size,
    // at the resolution the window is drawn at, or at `dpi`.
    SIZE OuterSizeForClient(int clientWidth, int clientHeight) const;
    SIZE OuterSizeForClient(int clientWidth, int clientHeight, int dpi) const;

    void ControlFocused(TWinControl* control) override;
    void ControlActivated(TWinControl* control) override;
    void ControlDestroyed(TWinControl* control) override;

private:
    // Lays the form out for `ppi`; a window is then moved to `place`, or
    // sized at its corner with the frame of `frameDpi`.
    void Rescale(int ppi, const RECT* place, int frameDpi);
    // The system moved the window to a monitor of another resolution.
    void DpiChanged(TMessage& m);
    // The system asks the size the window will have at a resolution.
    void GetDpiScaledSize(TMessage& m);
    void PlaceOnFirstShow();
    HWND HandleIfAny() const { return HandleAllocated() ? Handle() : nullptr; }
    // Before the window exists: the client size asked for and the outer size it gives.
    void StoreClientSize(int clientWidth, int clientHeight);
    void ChangeFrame(const std::function<void()>& change);

    TFormBorderStyle borderStyle_ = Defaults::BorderStyle;
    TBorderIcons borderIcons_ = Defaults::BorderIcons;
    TPosition position_ = Defaults::Position;
    TWindowState windowState_ = wsNormal;
    bool oldCreateOrder_ = false;
    int pixelsPerInch_ = 96;
    int textHeight_ = 0;
    struct Basis {
        int ppi, textHeight, fontHeight;
    };
    std::optional<Basis> basis_;  // as read, before the first scaling
    TFormScaling scaling_;
    int clientWidth_ = 0;   // asked for before the window exists (0: none)
    int clientHeight_ = 0;
    bool shownOnce_ = false;
    bool rescaling_ = false;
    bool created_ = false;  // OnCreate ran
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;  // may be the form itself
};
