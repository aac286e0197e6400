// The default set of grid images, made in memory for a screen resolution.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/form_scaling.h"

namespace rastel {

struct GridImageFile {
    std::string name;                // bare file name, as the catalogue gives it
    std::vector<std::uint8_t> bytes; // a complete .bmp file
};

// Resolutions the generator makes sets for without measuring a font.
constexpr int kGridMinDpi = 96;
constexpr int kGridMaxDpi = 288;

// The main window's scaling at screenPpi when its font measures
// textHeightOf(fontHeight) there: the program's own rule and design values.
TFormScaling MainWindowScaling(int screenPpi, const std::function<int(int fontHeight)>& textHeightOf);

// The scalings the main window may get at dpi (kGridMinDpi..kGridMaxDpi):
// one per font it may be drawn with (the real "ＭＳ Ｐゴシック" and the
// stand-in used under Wine), from figures measured once.
std::vector<TFormScaling> KnownScalings(int dpi);

struct ClientBox {
    int left, top, right, bottom;  // inclusive
};

// Where everything goes in a set made for one or more scalings of the main
// window: the images cover the largest client area, the plate lies under
// the control cluster of every scaling, and the pages fit the smallest
// client area, so they are whole whichever font the program gets.
struct GridLayout {
    int width = 0, height = 0;
    ClientBox plate{};
    int pageAreaWidth = 0, pageAreaHeight = 0;
};
GridLayout LayoutFor(const std::vector<TFormScaling>& scalings);

// The main window's controls at a scaling, in client pixels (inclusive).
std::vector<ClientBox> ClusterControls(const TFormScaling& scaling);

// All 27 files the catalogue names, laid out as given, one after the other
// (a set for a large screen is too big to hold at once).
void ForEachGridImage(const GridLayout& layout, const std::function<void(GridImageFile)>& take);
std::vector<GridImageFile> MakeGridImages(const GridLayout& layout);
// The set for 96 dpi.
std::vector<GridImageFile> MakeDefaultGridImages();

// Every file the generator writes carries this mark in the bitmap file
// header's reserved bytes (offsets 6 to 9), which readers ignore. A file
// without it is somebody's own picture, and the generator never replaces it.
inline constexpr std::uint8_t kGridgenMark[4] = {'R', 's', 't', 'l'};
bool MadeByGridgen(const std::uint8_t* header, std::size_t size);

}  // namespace rastel
