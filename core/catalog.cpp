#include "core/catalog.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace rastel {
namespace {

struct CatalogRow {
    const char* plain;
    const char* emphasised;
};

// Rows by colour, then size (16, 8, big).
constexpr std::array<std::array<CatalogRow, 3>, 5> kCatalog{{
    {{{"RastelS.bmp", "RastelSB2.bmp"}, {"RastelS8.bmp", "RastelSB8.bmp"}, {"RastelSBig.bmp", "RastelSBBig.bmp"}}},
    {{{"RastelB.bmp", "RastelBB2.bmp"}, {"RastelB8.bmp", "RastelBB8.bmp"}, {"RastelBBig.bmp", "RastelBBBig.bmp"}}},
    {{{"RastelR.bmp", "RastelRB2.bmp"}, {"RastelR8.bmp", "RastelRB8.bmp"}, {"RastelRBig.bmp", "RastelRBBig.bmp"}}},
    {{{"RastelP.bmp", "RastelPB2.bmp"}, {"RastelP8.bmp", "RastelPB8.bmp"}, {"RastelPBig.bmp", "RastelPBBig.bmp"}}},
    // TateGata has no emphasised variant.
    {{{"RastelSTateBig.bmp", "RastelSTateBig.bmp"},
      {"RastelSTate2Big.bmp", "RastelSTate2Big.bmp"},
      {"RastelSTate3Big.bmp", "RastelSTate3Big.bmp"}}},
}};

}  // namespace

std::string GridImageFileName(int colorIndex, bool r16, bool r8, bool big, bool emphasis) {
    if (colorIndex < 0 || colorIndex >= int(kCatalog.size())) return {};
    int size = r16 ? 0 : r8 ? 1 : big ? 2 : -1;
    if (size < 0) return {};
    const CatalogRow& row = kCatalog[colorIndex][size];
    return emphasis ? row.emphasised : row.plain;
}

const std::vector<std::string>& AllGridImageFileNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const auto& colour : kCatalog)
            for (const CatalogRow& row : colour)
                for (const char* name : {row.plain, row.emphasised})
                    if (std::find(all.begin(), all.end(), name) == all.end()) all.emplace_back(name);
        return all;
    }();
    return names;
}

Bgr GridLineBgr(int colorIndex) {
    return colorIndex >= 0 && colorIndex < int(std::size(kGridColours)) ? kGridColours[std::size_t(colorIndex)].colour
                                                                         : kGridColours[0].colour;
}

}  // namespace rastel
