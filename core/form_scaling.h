// How a form designed at one resolution is scaled on a screen of another.
// Pure arithmetic, shared by the framework and the grid-image generator so
// that both follow one rule.
#pragma once
#include <functional>
#include <vector>

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

// The values of one control's (or form's) design that follow its form's
// scaling: bounds, font heights, pixel sizes of its own. Each is scaled from
// the value it was last given and the scaling in force then, with a single
// rounding, so no number of scalings drifts. A value that changed since the
// last scaling made it (set in code) counts from then on as given at the
// scaling in force: the next change of resolution keeps it. Values are told
// apart by a key, the address of the member that holds them.
class DesignValues {
public:
    enum class Unit { Pixels, FontHeight };
    // What `current` (the value at `key` now) is at scaling `to`. Changes nothing.
    int At(const void* key, int current, const TFormScaling& to, Unit unit = Unit::Pixels) const;
    // The same, remembered as what `to` made of the value.
    int Scale(const void* key, int current, const TFormScaling& to, Unit unit = Unit::Pixels);
    // Something other than code (the system) set the value at `key` as it
    // goes with the scaling in force: not a new design value.
    void Made(const void* key, int value);
    // Code set the value at `key`: the design from now on, at the scaling in
    // force. For values the system may round on its own, so that only what
    // code asks for counts.
    void Set(const void* key, int value);
    // The value at `key` as last set or made; `otherwise` when it has none.
    int Last(const void* key, int otherwise) const;
    // After every value was scaled: `to` is the scaling in force.
    void ScaledTo(const TFormScaling& to) { inForce_ = to; }
    // The scaling in force when values are first given (a control made
    // after its form was scaled takes the form's).
    const TFormScaling& InForce() const { return inForce_; }

private:
    struct Entry {
        const void* key;
        int basis;           // the value as last given
        TFormScaling given;  // the scaling in force then
        int made;            // what the latest scaling made of it
    };
    Entry* Find(const void* key);
    const Entry* Find(const void* key) const;
    std::vector<Entry> entries_;
    TFormScaling inForce_;
};

}  // namespace rastel
