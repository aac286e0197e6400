// What the grid is while someone draws under it: locked (every mouse action
// passes through to the window beneath), hidden, and how opaque. It starts
// fresh at every start; nothing of it is kept.
#pragma once
#include <cstdint>

namespace rastel {

// Lock and Hide switch; Fainter and Stronger step the opacity by 20 %
// and stop at 20 % and 100 %.
enum class OverlayCommand { Lock, Hide, Fainter, Stronger };

struct OverlayState {
    bool locked = false;
    bool hidden = false;
    int opacity = 100;  // percent: 100, 80, 60, 40 or 20
    bool operator==(const OverlayState&) const = default;
};

inline constexpr int kOpacityStep = 20;
inline constexpr int kFaintestOpacity = 20;

OverlayState Apply(OverlayState state, OverlayCommand command);

// What the window's layering must be. Unlocked at 100 % the window is not
// layered at all, so it paints as it always has; locked, it is layered
// (at 255 when fully opaque) and lets the mouse through.
struct WindowLayering {
    bool layered = false;       // with `alpha` as the whole window's opacity
    bool clickThrough = false;  // the mouse passes to the window beneath
    std::uint8_t alpha = 255;
    bool operator==(const WindowLayering&) const = default;
};

WindowLayering LayeringOf(const OverlayState& state);

}  // namespace rastel
