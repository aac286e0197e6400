// The button family's behaviour, step by step: each row sets a new button's state as code would, feeds
// it what the control hands on from the mouse, and names the events and the button that follow.
#include <gtest/gtest.h>

#include <string>

#include "controls/ButtonBehavior.h"

namespace {

const ButtonRules Push{bsNormal}, Toggle{bsToggle}, Grouped{bsToggle, true};
const ButtonRules ImagePush{bsNormal, false, true}, ImageToggle{bsToggle, false, true};

struct Row {
    const char* what;  // empty: more of the row above
    ButtonRules rules;
    TButtonState start;
    // e enter, l leave, L R M a left, right, middle press, c click, u a release inside, o outside, s state
    // set on, r raised set, g window gone. A real click is "eLcu"; a double click's second press has no "c".
    const char* inputs;
    // D MouseDown, C Click, S StateSettled, U MouseUp.
    const char* events;
    // T capture taken, G group switched off, A pressed again, - nothing repainted.
    const char* marks;
    const char* end;
};

const Row kRows[] = {
    {"push clicks before MouseUp and rises", Push, bstOff, "eLcu", "DCSU", "", "off raised inside"},
    {"push dragged off rises, and back over it presses again", Push, bstOff, "eLl", "D", "", "off raised held"},
    {"", Push, bstOff, "eLle", "DD", "A", "off sunken held inside"},
    {"push released outside clicks nothing", Push, bstOff, "eLlo", "DSU", "", "off raised"},
    {"push ignores right and middle presses", Push, bstOff, "eRuMu", "DD", "", "off raised inside"},
    {"push set on rises on release and stays on", Push, bstOn, "eLcu", "DCSU", "", "on raised inside"},
    {"any release raises a push button", Push, bstOn, "eRu", "D", "", "on raised inside"},
    {"image push: raised means off", ImagePush, bstOn, "eLcu", "DCSU", "", "off raised inside"},
    {"toggle switches at the press", Toggle, bstOff, "eL", "D", "", "on sunken held inside"},
    {"toggle clicked on and off", Toggle, bstOff, "eLcu", "DCSU", "", "on sunken inside"},
    {"", Toggle, bstOn, "eLcu", "DCSU", "", "off raised inside"},
    {"toggle dragged off shows the other look", Toggle, bstOff, "eLl", "D", "", "on raised held"},
    {"toggle brought back is pressed into its state again", Toggle, bstOff, "eLlecu", "DDCSU", "A", "on sunken inside"},
    {"a late enter notice presses nothing", Toggle, bstOff, "Le", "D", "", "on sunken held inside"},
    {"toggle released outside is taken back", Toggle, bstOff, "eLlo", "DSU", "", "off raised"},
    {"", Toggle, bstOn, "eLlo", "DSU", "", "on sunken"},
    {"", Toggle, bstOff, "eLo", "DSU", "", "off raised inside"},
    {"right and middle presses toggle, taking the capture", Toggle, bstOff, "eRu", "DSU", "T", "on sunken inside"},
    {"", Toggle, bstOn, "eMu", "DSU", "T", "off raised inside"},
    {"", Toggle, bstOff, "eRo", "DSU", "T", "off raised inside"},
    {"double click switches twice, clicks once", Toggle, bstOff, "eLcuLu", "DCSUDSU", "", "off raised inside"},
    {"grouped toggle's click switches the group off", Grouped, bstOff, "eLcu", "DCSU", "G", "on sunken inside"},
    {"grouped toggle that is on takes no press", Grouped, bstOn, "eLcu", "DC", "G", "on sunken inside"},
    {"grouped toggle released outside leaves the group", Grouped, bstOff, "eLlo", "DSU", "", "off raised"},
    {"image toggle dragged off is off at once", ImageToggle, bstOff, "eLl", "D", "", "off raised held"},
    {"", ImageToggle, bstOff, "eLlecu", "DDCSU", "A", "on sunken inside"},
    {"raised from code", Toggle, bstOn, "r", "", "", "on raised"},
    {"", ImageToggle, bstOn, "r", "", "", "off raised"},
    {"state from code: the look follows, no event", Toggle, bstOff, "ss", "", "-", "on sunken"},
    {"the pointer without a press", Toggle, bstOff, "el", "", "", "off raised"},
    {"", Toggle, bstOff, "eg", "", "-", "off raised"},
};

ButtonStep StepOf(const ButtonBehavior& b, const ButtonRules& r, char in) {
    switch (in) {
    case 'L': return b.Press(r, MouseKey::Left);
    case 'R': return b.Press(r, MouseKey::Right);
    case 'M': return b.Press(r, MouseKey::Middle);
    case 'c': return b.Click(r);
    case 'u': return b.Release(r, true);
    case 'o': return b.Release(r, false);
    case 'e': return b.Enter(r);
    case 'l': return b.Leave(r);
    case 's': return b.SetState(r, bstOn);
    case 'r': return b.SetLook(r, true);
    default: return b.WindowGone();
    }
}

std::string Describe(const ButtonBehavior& b) {
    const std::string state = b.State == bstOn ? "on" : "off";
    return state + (b.Raised ? " raised" : " sunken") + (b.Pressed ? " held" : "") + (b.Inside ? " inside" : "");
}

void Record(const ButtonStep& s, std::string& events, std::string& marks) {
    for (ButtonEvent e : s.Events) events += "DCSU"[int(e)];
    if (s.Capture == CaptureChange::Take) marks += 'T';
    if (s.SwitchOffGroup) marks += 'G';
    if (s.PressAgain) marks += 'A';
    if (!s.Repaint && !s.PressAgain) marks += '-';
}

TEST(ButtonBehavior, Steps) {
    const char* group = "";
    for (const Row& row : kRows) {
        if (*row.what) group = row.what;
        SCOPED_TRACE(::testing::Message() << group << ", from " << (row.start == bstOn ? "on: " : "off: ")
                                          << row.inputs);
        ButtonBehavior b = ButtonBehavior{}.SetState(row.rules, row.start).Next;
        std::string events, marks;
        for (const char* in = row.inputs; *in; ++in) {
            ButtonStep s = StepOf(b, row.rules, *in);
            EXPECT_EQ(s.TakeFocus, *in == 'L' || *in == 'R' || *in == 'M');
            EXPECT_EQ(s.Capture == CaptureChange::Release, *in == 'u' || *in == 'o');
            Record(s, events, marks);
            // The control presses again through its MouseDown, with the left button.
            if (s.PressAgain) Record(s = s.Next.Press(row.rules, MouseKey::Left), events, marks);
            b = s.Next;
        }
        EXPECT_EQ(events, row.events);
        EXPECT_EQ(marks, row.marks);
        EXPECT_EQ(Describe(b), row.end);
    }
}

}  // namespace
