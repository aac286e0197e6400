// Message records, the framework's private message numbers, mouse buttons
// and shift states.
#pragma once
#include <windows.h>

#include "framework/Classes.h"  // TShiftState, ssShift ... ssDouble

// One window message as the virtual WndProc sees it; handlers set Result.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Private notifications, sent to a control's WndProc (Perform or SendMessage).
// They sit in the WM_APP range so no system class uses them.
inline constexpr UINT CM_BASE = 0xB000;
// The control's Enabled changed (the window is already enabled/disabled).
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 1;
// The control's own Font changed (also by following its parent's font);
// a control's additional fonts may send it too.
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 2;
// The control's Color changed.
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 3;
// Parent to children: my font / colour changed (children with ParentFont /
// ParentColor copy it).
inline constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 4;
inline constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 5;
// The mouse entered / left the control's client area (also while the
// control holds the mouse capture). LParam: the control (TControl*).
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 6;
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 7;
// Sent to every control of a form when the form's focused control changes.
// LParam: the newly focused control (TWinControl*), which may be the form.
inline constexpr UINT CM_FOCUSCHANGED = CM_BASE + 8;
// The control's Visible changed.
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 9;
// The control's Caption changed.
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 10;

// Notifications that a parent window receives about a child window, sent
// back to the child's own object as CN_BASE + the original message number
// (same WParam and LParam; the child's Result is the parent's answer).
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;

// Shift state from a mouse message's WParam (MK_* flags; Alt from the key state).
TShiftState KeysToShiftState(WPARAM keys);
// Shift state from the live key state (GetKeyState), mouse buttons included.
TShiftState KeyboardShiftState();
