// How a form designed at one resolution is scaled on a screen of another.
// Pure arithmetic, shared by the framework and the grid-image generator so
// that both follow one rule.
#pragma once
#include <functional>

namespace rastel {

// a * b / c rounded half away from zero, computed in 64 bits, as the
// platform's MulDiv does; -1 when c is 0 or the result does not fit.
int MulDivRound(int a, int b, int c);

// How a form designed at designPpi with text height designTextHeight is
// scaled on a screen of screenPpi: the font height by the ratio of the
// resolutions, then positions and sizes by the new text height over the
// designed one (rounding). textHeightOf(fontHeight) measures the text
// height of the form's font at a given Height.
struct TFormScaling {
    bool scaled = false;  // false: nothing changes
    int fontHeight = 0;   // the font's Height after scaling
    int textHeight = 0;   // the text height at that font height
    int multiplier = 1;   // new text height
    int divisor = 1;      // designed text height
    int fromPpi = 96;     // the design's resolution
    int toPpi = 96;       // the screen's
    int Scale(int v) const { return scaled ? MulDivRound(v, multiplier, divisor) : v; }
    // A font height of the design at the screen's resolution, as the form's own.
    int ScaleFont(int height) const {
        return fromPpi > 0 && toPpi > 0 && fromPpi != toPpi ? MulDivRound(height, toPpi, fromPpi) : height;
    }
};
TFormScaling ComputeFormScaling(int designPpi, int designTextHeight, int screenPpi, int fontHeight,
                                const std::function<int(int fontHeight)>& textHeightOf);

}  // namespace rastel
