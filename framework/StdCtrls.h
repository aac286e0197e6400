// Standard controls over the system's window classes: push button, check
// box, radio button (BUTTON) and drop-down list (COMBOBOX). Text goes through
// the wide API, the font through WM_SETFONT with the control's font handle.
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "framework/Controls.h"

// Base of the button-class controls: answers the parent's WM_CTLCOLORSTATIC /
// WM_CTLCOLORBTN with the control's Color (one brush per control, remade
// only when the colour changes) and its font colour; under a high-contrast
// theme with the system's window colours instead.
class TButtonControl : public TWinControl {
    RASTEL_CLASS_INFO
public:
    explicit TButtonControl(TComponent* owner);
    void WndProc(TMessage& m) override;

protected:
    // Check boxes and radio buttons: whether the control is checked, as its
    // window shows it (a push button is never checked).
    bool Checked() const { return checked_; }
    // Stores the check and shows it; false when it was so already.
    bool StoreChecked(bool on);
    // What the system's box shows now (it checks itself on a click).
    bool WindowChecked() const;
    void CreateWnd() override;

private:
    bool checked_ = false;
    TBrush contrastBrush_;  // clWindow, for a high-contrast theme
};

// BS_PUSHBUTTON; a click (mouse or keyboard) raises OnClick.
class TButton : public TButtonControl {
    RASTEL_CLASS_INFO
public:
    explicit TButton(TComponent* owner);
    void WndProc(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& params) override;
};

// BS_AUTOCHECKBOX; every click toggles Checked and raises OnClick.
// Setting Checked from code raises nothing.
class TCheckBox : public TButtonControl {
    RASTEL_CLASS_INFO
public:
    // Streaming defaults: the members start at them and the property table
    // names them.
    struct Defaults {
        static constexpr bool Checked = false;
    };

    explicit TCheckBox(TComponent* owner);
    using TButtonControl::Checked;
    void SetChecked(bool on) { StoreChecked(on); }
    void WndProc(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& params) override;
};

// BS_AUTORADIOBUTTON. The radio buttons of one parent form one group:
// checking one (by click or from code) unchecks the others. A click raises
// OnClick only when it checks the button; clicking the checked one raises
// nothing. The checked button holds the group's Tab stop.
class TRadioButton : public TButtonControl {
    RASTEL_CLASS_INFO
public:
    // Streaming defaults: the members start at them and the property table
    // names them.
    struct Defaults {
        static constexpr bool Checked = false;
    };

    explicit TRadioButton(TComponent* owner);
    using TButtonControl::Checked;
    void SetChecked(bool on);
    void WndProc(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    void TurnSiblingsOff();
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// COMBOBOX. csDropDownList: a list without free text. Items are copied into
// the window whenever the list changes. OnCloseUp is raised every time the
// drop-down list closes (CBN_CLOSEUP), whether or not the item changed.
class TComboBox : public TWinControl {
    RASTEL_CLASS_INFO
public:
    // Streaming defaults: the members start at them and the property table
    // names them.
    struct Defaults {
        static constexpr TComboBoxStyle Style = csDropDown;
        static constexpr TBevelCut BevelInner = bvRaised;
        static constexpr TBevelCut BevelOuter = bvLowered;
        static constexpr TColor Color = clWindow;
        static constexpr bool Ctl3D = true;
        static constexpr int ItemHeight = 16;
        static constexpr int ItemIndex = -1;
    };

    explicit TComboBox(TComponent* owner);
    ~TComboBox() override;

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle s);
    // The owned item list; changing it updates the window.
    TStringList* Items() const { return items_.get(); }
    void SetItems(const TStringList& items);
    // -1: no item selected.
    int ItemIndex() const;
    void SetItemIndex(int index);
    // Height of the list's items (CB_SETITEMHEIGHT).
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int h);
    bool DroppedDown() const;
    void SetDroppedDown(bool on);
    // False: no 3-D client edge (the flat look).
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool on);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut b) { bevelInner_ = b; }
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut b) { bevelOuter_ = b; }

    // The list closed (raises OnCloseUp).
    virtual void CloseUp();
    // The selection changed by the user (raises OnChange).
    virtual void Change();
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnChange;

    void WndProc(TMessage& m) override;
    void SetBounds(int left, int top, int width, int height) override;
    // The items' height scales with the form's pixels.
    void ChangeScale(const TFormScaling& s) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;

private:
    void ItemsChanged();
    void FillWindow();
    TComboBoxStyle style_ = Defaults::Style;
    std::unique_ptr<TStringList> items_;
    int itemIndex_ = Defaults::ItemIndex;  // kept while there is no window
    int itemHeight_ = Defaults::ItemHeight;
    bool ctl3D_ = Defaults::Ctl3D;
    TBevelCut bevelInner_ = Defaults::BevelInner;
    TBevelCut bevelOuter_ = Defaults::BevelOuter;
};

// Registers the framework's control classes (TButton ... TImage) for the
// form-description reader. Forms call it before reading; calling it again
// does nothing.
void RegisterStandardControls();
