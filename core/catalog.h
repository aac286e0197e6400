// Grid image catalogue: colour, size and emphasis to a file name.
#pragma once
#include <string>
#include <vector>

#include "core/color.h"

namespace rastel {

// colorIndex: 0 SkyBlue, 1 Black, 2 Red, 3 Orchid, 4 TateGata. The size radio
// buttons are tested in the order 16 (r16), 8 (r8), big; the first checked one
// counts. Returns "" when no row matches.
std::string GridImageFileName(int colorIndex, bool r16, bool r8, bool big, bool emphasis);

// All 27 distinct file names of the catalogue.
const std::vector<std::string>& AllGridImageFileNames();

// The line colour of a colour of the list, as the default pictures draw it
// (TateGata's pages are sky blue); sky blue for an index outside the list.
TColor GridLineColor(int colorIndex);

}  // namespace rastel
