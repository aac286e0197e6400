#include "core/overlay_state.h"

#include <algorithm>

namespace rastel {

OverlayState Apply(OverlayState s, OverlayCommand c) {
    switch (c) {
    case OverlayCommand::Lock: s.locked = !s.locked; break;
    case OverlayCommand::Hide: s.hidden = !s.hidden; break;
    case OverlayCommand::Fainter: s.opacity = std::max(kFaintestOpacity, s.opacity - kOpacityStep); break;
    case OverlayCommand::Stronger: s.opacity = std::min(100, s.opacity + kOpacityStep); break;
    }
    return s;
}

WindowLayering LayeringOf(const OverlayState& s) {
    const int percent = std::clamp(s.opacity, 0, 100);
    WindowLayering l;
    l.layered = s.locked || percent < 100;
    l.clickThrough = s.locked;
    l.alpha = std::uint8_t((percent * 255 + 50) / 100);
    return l;
}

}  // namespace rastel
