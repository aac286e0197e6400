// Grid image catalogue: colour, size and emphasis to a file name.
#pragma once
#include <string>
#include <vector>

#include "core/color.h"
#include "core/pixels.h"

namespace rastel {

// colorIndex: 0 SkyBlue, 1 Black, 2 Red, 3 Orchid, 4 TateGata. The size radio
// buttons are tested in the order 16 (r16), 8 (r8), big; the first checked one
// counts. Returns "" when no row matches.
std::string GridImageFileName(int colorIndex, bool r16, bool r8, bool big, bool emphasis);

// All 27 distinct file names of the catalogue.
const std::vector<std::string>& AllGridImageFileNames();

// The colour list's grid colours, in its order (TateGata, the last entry,
// has none of its own): what the default pictures draw their lines with.
struct NamedGridColour {
    const char* name;
    Bgr colour;
};
inline constexpr NamedGridColour kGridColours[] = {
    {"SkyBlue", {235, 206, 135}}, {"Black", {0, 0, 0}}, {"Red", {0, 0, 255}}, {"Orchid", {214, 112, 218}}};

// The line colour of a colour of the list, as the default pictures draw it
// (TateGata's pages are sky blue); sky blue for an index outside the list.
Bgr GridLineBgr(int colorIndex);
inline TColor GridLineColor(int colorIndex) {
    const Bgr c = GridLineBgr(colorIndex);
    return RGBColor(c.r, c.g, c.b);
}

}  // namespace rastel
