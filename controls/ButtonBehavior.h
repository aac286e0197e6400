// What a button of the family does with the mouse and with its state
// setters, without a window: its state, its look, the press in progress and
// the pointer, and for each event the button that follows and what the
// control has to do about it. THiButtonBase keeps one ButtonBehavior and
// turns messages into its steps; the painters only read it.
#pragma once
#include <cstdint>
#include <vector>

#include "controls/HiButtonTypes.h"

// What the button's class and properties decide about every step.
struct ButtonRules {
    TButtonStyle Style = bsNormal;
    // GroupID is not 0: a grouped toggle that is on cannot be pressed off,
    // and its click switches the rest of its group off.
    bool Grouped = false;
    // The image button: drawn raised means off, so whenever a step leaves
    // it raised its state is bstOff.
    bool RaisedMeansOff = false;
};

enum class MouseKey : std::uint8_t { Left, Right, Middle };

enum class ButtonEvent : std::uint8_t {
    MouseDown,
    Click,
    // A press this button took has ended, its release inside or outside:
    // the state is now what the press leaves.
    StateSettled,
    MouseUp,
};

enum class CaptureChange : std::uint8_t { None, Take, Release };

struct ButtonStep;

struct ButtonBehavior {
    TButtonState State = bstOff;
    // The look: raised in the off colours or sunken in the on colours. It
    // follows State, except while a held button is dragged off.
    bool Raised = true;
    // A press was taken and its release is still due.
    bool Pressed = false;
    // The pointer is over the button.
    bool Inside = false;
    // What the press in progress found, for a release outside to put back.
    TButtonState StateBeforePress = bstOff;
    bool RaisedBeforePress = true;

    // A mouse button goes down on the button (the focus goes to it).
    ButtonStep Press(const ButtonRules& rules, MouseKey key) const;
    // A left press released inside; comes before that release's Release.
    ButtonStep Click(const ButtonRules& rules) const;
    // A mouse button comes up, inside the button or not.
    ButtonStep Release(const ButtonRules& rules, bool inside) const;
    ButtonStep Enter(const ButtonRules& rules) const;
    ButtonStep Leave(const ButtonRules& rules) const;
    // ButtonState set from code; a group's click switches its members off
    // by it too. Never touches the group itself.
    ButtonStep SetState(const ButtonRules& rules, TButtonState state) const;
    // Raised set from code: stored and repainted without comparing.
    ButtonStep SetLook(const ButtonRules& rules, bool raised) const;
    // The button's window went: the pointer is over it no longer, and no
    // leave will come for it.
    ButtonStep WindowGone() const;

    friend bool operator==(const ButtonBehavior&, const ButtonBehavior&) = default;
};

// The button after a step and what the control does, in this order: take
// the focus, take the capture, switch the group off, repaint or press
// again, raise the events, release the capture.
struct ButtonStep {
    ButtonBehavior Next;
    bool TakeFocus = false;
    CaptureChange Capture = CaptureChange::None;
    bool SwitchOffGroup = false;
    bool Repaint = false;
    // The pointer came back to a held button: the control presses it again
    // with the left button, through its overridable MouseDown.
    bool PressAgain = false;
    std::vector<ButtonEvent> Events;
};
