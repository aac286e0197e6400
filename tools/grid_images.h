// Rastel's grid images, made in memory: the default set of 27 and grids of
// one's own making in their places.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/pixels.h"

namespace rastel {

struct GridImageFile {
    std::string name;                // bare file name, as the catalogue gives it
    std::vector<std::uint8_t> bytes; // a complete .bmp file
    // Its cost as a window shape: the rectangles of its part in the 96-dpi
    // client area once identical neighbouring rows are merged, as the
    // platform keeps a region.
    std::size_t windowRectangles = 0;
};

// One set serves every screen from 96 to 288 dpi, so each picture covers the
// largest client area the main window gets there. The window scales with its
// font from the design's 747 x 529; the largest is under a Wine whose
// stand-in for the font is taller than the design's (IPAPGothic) at 288 dpi,
// where the client area is 2428 x 1719 (on Windows, and under our Wine
// sessions' Ume P Gothic, about 2241 x 1587). Rounded up to whole 32-pixel
// cells. Cells
// and lines are never scaled, and the program keeps its controls on a plate
// of its own, so the pictures need nothing that depends on the screen.
constexpr int kGridImageWidth = 2432;
constexpr int kGridImageHeight = 1728;
// The TateGata pages fit the smallest client area, 96 dpi's, and beyond a
// picture the window is see-through as in its white: their pictures need be
// no larger, and a switch to them reads and copies a tenth as much.
constexpr int kPageImageWidth = 747;
constexpr int kPageImageHeight = 529;

// --dpi is still taken, within these bounds, for scripts written when each
// resolution had its own set; it changes nothing.
constexpr int kGridMinDpi = 96;
constexpr int kGridMaxDpi = 288;

// Bounds of the options for grids of one's own.
constexpr int kGridMinCell = 2, kGridMaxCell = 512;
constexpr int kGridMinLine = 1, kGridMaxLine = 8;
constexpr int kGridMinEvery = 2, kGridMaxEvery = 100;
constexpr int kGridMinCells = 1, kGridMaxCells = 200;
// An area reaches at most the picture's last column and the row above its
// last: the bottom-left pixel names the see-through colour.
constexpr int kGridMinArea = 16;
constexpr int kGridMaxAreaWidth = kGridImageWidth, kGridMaxAreaHeight = kGridImageHeight - 1;

// The client area at 96 dpi: where cells counted over an area and
// composition lines go when no area is given, and what a picture's cost in
// rectangles is counted on.
constexpr int kClientWidth96 = 747;
constexpr int kClientHeight96 = 529;
// The most rectangles Wine sends to X as one window shape; a larger shape
// ends the program there.
constexpr std::size_t kWineMaxShapeRectangles = 32766;

// Changes to the default pictures; what is not given keeps each file's own
// value. Cell and line sizes are in screen pixels.
struct GridOptions {
    std::optional<int> cellWidth, cellHeight;
    std::optional<int> cellsAcross, cellsDown;  // N x M cells over the area instead
    std::optional<int> areaWidth, areaHeight;   // at the top-left; kClientWidth96 x kClientHeight96 if not given
    std::optional<Bgr> colour;
    std::optional<int> line;
    std::optional<int> every;  // a line twice as wide after every N cells; diagonals over blocks of N cells
    bool diagonals = false;
    bool thirds = false, golden = false, centre = false;
    bool noCells = false;  // no cell lines: what else is asked for alone
    bool labels = false;
    std::vector<std::string> only;  // catalogue names (any case, ".bmp" optional); empty: all 27
};

// What one file shows: upright pages ("TateGata") or cells, and what lies
// over them.
struct GridDrawing {
    int pages = 0;  // 1 to 3 pages; 0: cells
    int cellWidth = 16, cellHeight = 16;
    int cellsAcross = 0, cellsDown = 0;  // > 0: that many cells over the area, not cellWidth x cellHeight
    int areaWidth = kClientWidth96, areaHeight = kClientHeight96;
    int line = 1;
    int every = 0;  // 0: all lines alike
    Bgr colour{};
    bool cellLines = true;
    bool diagonals = false;
    bool thirds = false, golden = false, centre = false;
    bool labels = false;
};

struct PlannedGridImage {
    std::string name;
    GridDrawing drawing;
};

// The files the options ask for, in catalogue order. A TateGata file keeps
// its pages (in --color's colour if given) unless it is named in `only` and
// any other option is given: then it becomes cells like the others,
// starting from its size column's cell (16, 8 or 32), in SkyBlue, with
// 1-pixel lines. Throws std::invalid_argument, saying what is wrong, for a
// value out of bounds, options that do not go together, an unknown name or
// lines that do not fit their cells.
std::vector<PlannedGridImage> PlanGridImages(const GridOptions& options);

// The picture on a canvas of width x height. Cells of a size in pixels have
// their lines on their last pixels, so column 0 stays see-through, and a line
// that would reach the bottom row is left out, since the bottom-left pixel
// names the see-through colour. N x M cells over an area have lines at
// round(i * (W - 1) / N), the first and the last on the area's edges.
// Diagonals are one pixel wide, corner to corner, and mirror images across
// the cell's middle; composition lines cross the area, twice as wide as the
// cell lines when those are drawn; labels go inside the top and left cells
// that can hold them. The background is white, or black under white lines.
GridImageFile DrawGridImage(const PlannedGridImage& image, int width = kGridImageWidth,
                            int height = kGridImageHeight);

// The 27 default files.
std::vector<GridImageFile> MakeDefaultGridImages();
// The same pictures drawn on a canvas of another size (as the 96-dpi window
// shows them: 747 x 529).
std::vector<GridImageFile> MakeGridImages(int width, int height);

// Every file the generator writes carries this mark in the bitmap file
// header's reserved bytes (offsets 6 to 9), which readers ignore. A file
// without it is somebody's own picture, and the generator never replaces it.
inline constexpr std::uint8_t kGridgenMark[4] = {'R', 's', 't', 'l'};
bool MadeByGridgen(const std::uint8_t* header, std::size_t size);

}  // namespace rastel
