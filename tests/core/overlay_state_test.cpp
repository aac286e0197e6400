#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/overlay_state.h"

namespace rastel {
namespace {

// Each row: commands from a fresh start, then the state and the window's
// layering they must give. L lock, H hide, - fainter, + stronger.
struct Row {
    const char* commands;
    bool locked, hidden;
    int opacity;
    WindowLayering layering;
};

const Row kRows[] = {
    {"", false, false, 100, {false, false, 255}},  // as the window always was
    {"L", true, false, 100, {true, true, 255}},
    {"LL", false, false, 100, {false, false, 255}},
    {"-", false, false, 80, {true, false, 204}},
    {"--", false, false, 60, {true, false, 153}},
    {"----", false, false, 20, {true, false, 51}},
    {"-----", false, false, 20, {true, false, 51}},  // stops at the faintest
    {"+", false, false, 100, {false, false, 255}},    // and at full
    {"-+", false, false, 100, {false, false, 255}},   // back to no layering
    {"--L", true, false, 60, {true, true, 153}},
    {"--LL", false, false, 60, {true, false, 153}},   // unlocked, still faint
    {"L-+", true, false, 100, {true, true, 255}},     // locked stays layered at full
    {"H", false, true, 100, {false, false, 255}},
};

TEST(OverlayState, CommandsGiveTheStateAndTheWindowsLayering) {
    for (const Row& r : kRows) {
        SCOPED_TRACE(std::string("commands \"") + r.commands + "\"");
        OverlayState s;
        for (const char* c = r.commands; *c; ++c)
            s = Apply(s, *c == 'L'   ? OverlayCommand::Lock
                         : *c == 'H' ? OverlayCommand::Hide
                         : *c == '-' ? OverlayCommand::Fainter
                                     : OverlayCommand::Stronger);
        EXPECT_EQ(s, (OverlayState{r.locked, r.hidden, r.opacity}));
        const WindowLayering l = LayeringOf(s);
        EXPECT_EQ(l.layered, r.layering.layered);
        EXPECT_EQ(l.clickThrough, r.layering.clickThrough);
        EXPECT_EQ(int(l.alpha), int(r.layering.alpha));
    }
}

}  // namespace
}  // namespace rastel
