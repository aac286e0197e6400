// The main window: the grid overlay with its control cluster.
#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "app/ShapeRegion.h"
#include "controls/HiButton.h"
#include "core/overlay_state.h"
#include "framework/Bitmap.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "framework/StdCtrls.h"

// The solid plate the program lays under its control cluster, over the
// picture: the controls are clipped by the window's shape, so without it a
// picture that is see-through there would take them away.
class TGridPlate : public TGraphicControl {
    RASTEL_CLASS_INFO
public:
    explicit TGridPlate(TComponent* owner);
    void Paint() override;
};

class TForm1 : public TForm {
    RASTEL_CLASS_INFO
public:
    explicit TForm1(TComponent* owner);
    // Gives back the hotkeys and the taskbar entry's menu.
    ~TForm1() override;

    // Controls of the description, in tab order.
    THiSukeSukeImgEx* HiSukeSukeImgEx1 = nullptr;  // stay on top: "常時前" / "フリー"
    TButton* Button1 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TButton* Button2 = nullptr;
    TRadioButton* RadioButton2 = nullptr;
    TRadioButton* RadioButton1 = nullptr;
    TRadioButton* RadioButton3 = nullptr;
    TImage* Image1 = nullptr;
    // Not of the description: made by the program, above Image1, hidden
    // until a grid is applied.
    TGridPlate* Plate = nullptr;

    void FormCreate(TObject* sender);
    // "終了": closes the main window, which ends the program.
    void Button1Click(TObject* sender);
    // "移": places the fine-adjustment panel beside this window and shows it.
    void Button2Click(TObject* sender);
    // Shared by the colour list, the emphasis box and the size radio buttons.
    void ComboBox1CloseUp(TObject* sender);
    // The stay-on-top toggle: the band follows its state (on: topmost). Its
    // click, and every press that ends (OnStateSettled), come here.
    void HiSukeSukeImgEx1Click(TObject* sender);

    // Loads a grid image, shows it in Image1 and cuts the window to it: to the
    // part of the picture inside the client area, since the window never
    // grows with the picture, and to the plate under the control cluster,
    // so the controls stay whatever the picture. Errors propagate; on every
    // failure the window keeps its previous grid and shape.
    void ApplyGridImage(const std::string& fileName);

    // Client rectangle of the plate: the control cluster's bounds as the
    // system has them, with a margin that scales with the form.
    RECT PlateRect() const;

    // One rectangle per horizontal run of pixels not of transparentColor, in
    // one region (window coordinates with the bitmap's top-left at 0, 0),
    // from the bitmap's top-left part of at most `visible` pixels (all of it
    // without), made as the platform (ShapePlatform::Current()) makes it
    // best. Null for an empty bitmap or when the region cannot be made;
    // ShapeTooComplex, before the region is made, when the platform could
    // not show the shape. The bitmap is not changed.
    static UniqueRegion CreateRegionFromBitmap(const TBitmap& bitmap, TColor transparentColor);
    static UniqueRegion CreateRegionFromBitmap(const TBitmap& bitmap, TColor transparentColor, SIZE visible);
    // Topmost band or ordinary band. Also activates the window and puts it
    // at the top of its band; the result is not looked at.
    static void SetWindowTopMost(HWND handle, bool topMost);

    // While one draws under the grid: lock it (every mouse action goes to
    // the window beneath; the cluster and the plate go), hide and show it
    // (with the panel), make it fainter or stronger. The global hotkeys
    // (Ctrl+Alt+Shift+Space, Home, Page Down, Page Up) and the commands of
    // this window's system menu and of the taskbar entry's come here.
    void RunOverlayCommand(rastel::OverlayCommand command);
    const rastel::OverlayState& Overlay() const { return overlay_; }
    // The system menus' commands (below the system's own, multiples of 16).
    static constexpr UINT kLockCommand = 0x0100;
    static constexpr UINT kHideCommand = 0x0110;
    static constexpr UINT kFainterCommand = 0x0120;
    static constexpr UINT kStrongerCommand = 0x0130;

    void WndProc(TMessage& m) override;

protected:
    // The cluster has moved, the grid has not: the shape follows the cluster.
    void ScaleChanged() override { ReshapeForCluster(); }
    // The hotkeys and the system menus' commands go with the window.
    void CreateWnd() override;
    void DestroyWnd() override;

private:
    // The picture's part inside the client area, united with the plate or
    // not, in client coordinates; null when the platform makes no region.
    UniqueRegion GridShape(const TBitmap& picture, WaitCursor& wait, bool withPlate);
    // Shows the plate (unless locked) and gives the window the shape (which
    // it then owns).
    void SetGridShape(UniqueRegion shape);
    void ReshapeForCluster();
    // The picture the window is cut to; null while uncut.
    const TBitmap* ShownPicture() const;
    // The control cluster, in tab order.
    std::array<TWinControl*, 8> Cluster() const;

    void SetLocked(bool locked);
    void SetHidden(bool hidden);
    // The window's layered style, click-through and opacity as overlay_ asks.
    void ApplyLayering();
    void RegisterHotkeys();
    void UnregisterHotkeys();
    void AddOverlayCommands(HMENU menu) const;
    // Lock checked; fainter and stronger greyed at their ends.
    void UpdateOverlayMenus() const;

    rastel::OverlayState overlay_;
    bool hotkeys_[4] = {};      // the hotkeys this window holds, in command order
    bool topmostBeforeLock_ = true;
    bool panelWasOpen_ = false;  // when the grid was hidden
};

extern TForm1* Form1;
