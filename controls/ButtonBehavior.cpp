// The button family's steps: push and toggle presses, the click, releases
// inside and outside, the pointer coming and going, the state setters.
#include "controls/ButtonBehavior.h"

namespace {

ButtonStep From(const ButtonBehavior& b) {
    ButtonStep s;
    s.Next = b;
    return s;
}

// The image button's rule, kept at every step rather than left to its paint.
ButtonStep Kept(ButtonStep step, const ButtonRules& rules) {
    if (rules.RaisedMeansOff && step.Next.Raised) step.Next.State = bstOff;
    return step;
}

}  // namespace

ButtonStep ButtonBehavior::Press(const ButtonRules& rules, MouseKey key) const {
    ButtonStep s = From(*this);
    ButtonBehavior& n = s.Next;
    // A press is over the button even when no enter notice came before it.
    n.Inside = true;
    s.TakeFocus = true;
    if (rules.Style == bsNormal) {
        if (key == MouseKey::Left) {
            n.Raised = false;
            n.Pressed = true;
        }
    } else if (Raised) {
        n.Raised = false;
        n.State = bstOn;
        n.Pressed = true;
    } else if (!rules.Grouped) {
        n.Raised = true;
        n.State = bstOff;
        n.Pressed = true;
    }
    // A grouped toggle that is on cannot be switched off by pressing it.
    if (!Pressed && n.Pressed) {
        n.StateBeforePress = State;
        n.RaisedBeforePress = Raised;
        // The framework captures left presses only; a toggle needs the
        // release of every button, wherever it happens.
        if (key != MouseKey::Left) s.Capture = CaptureChange::Take;
    }
    s.Repaint = true;
    s.Events = {ButtonEvent::MouseDown};
    return Kept(s, rules);
}

ButtonStep ButtonBehavior::Click(const ButtonRules& rules) const {
    ButtonStep s = From(*this);
    if (rules.Style == bsNormal) s.Next.Raised = true;
    s.SwitchOffGroup = !s.Next.Raised && rules.Grouped && rules.Style == bsToggle;
    s.Repaint = true;
    s.Events = {ButtonEvent::Click};
    return Kept(s, rules);
}

ButtonStep ButtonBehavior::Release(const ButtonRules& rules, bool inside) const {
    ButtonStep s = From(*this);
    ButtonBehavior& n = s.Next;
    if (rules.Style == bsNormal) {
        n.Raised = true;
    } else if (Pressed && !inside) {
        // A toggle released outside takes back its press: no click follows
        // to act on the change.
        n.State = StateBeforePress;
        n.Raised = RaisedBeforePress;
    }
    s.Repaint = true;
    if (Pressed) {
        n.Pressed = false;
        s.Events = {ButtonEvent::StateSettled, ButtonEvent::MouseUp};
    }
    s.Capture = CaptureChange::Release;
    return Kept(s, rules);
}

ButtonStep ButtonBehavior::Enter(const ButtonRules& rules) const {
    ButtonStep s = From(*this);
    s.Next.Inside = true;
    // Coming back to a held button presses it again. An enter notice that
    // arrives late for a press made inside is no return: pressing again
    // would switch a toggle straight back.
    if (Pressed && !Inside)
        s.PressAgain = true;
    else
        s.Repaint = true;
    return Kept(s, rules);
}

ButtonStep ButtonBehavior::Leave(const ButtonRules& rules) const {
    ButtonStep s = From(*this);
    // Dragged off while held: the other look, the state as it is.
    if (Pressed) s.Next.Raised = !Raised;
    s.Next.Inside = false;
    s.Repaint = true;
    return Kept(s, rules);
}

ButtonStep ButtonBehavior::SetState(const ButtonRules& rules, TButtonState state) const {
    ButtonStep s = From(*this);
    if (state == State) return s;
    s.Next.State = state;
    s.Next.Raised = state == bstOff;
    s.Repaint = true;
    return Kept(s, rules);
}

ButtonStep ButtonBehavior::SetLook(const ButtonRules& rules, bool raised) const {
    ButtonStep s = From(*this);
    s.Next.Raised = raised;
    s.Repaint = true;
    return Kept(s, rules);
}

ButtonStep ButtonBehavior::WindowGone() const {
    ButtonStep s = From(*this);
    s.Next.Inside = false;
    return s;
}
