// The grid images. Each picture is see-through where the window is to be a
// hole and solid on its lines; the bottom-left pixel stays background, since
// it names the see-through colour. Files are as small as the look allows:
// 1-bit for cells on white (a 1-bit picture always sees through white), 4-bit
// with a palette for pages and for white lines.
#include "tools/grid_images.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

#include "core/bmp.h"
#include "core/catalog.h"
#include "core/region.h"

namespace rastel {
namespace {

constexpr Bgr kWhite{255, 255, 255};
constexpr Bgr kBlack{0, 0, 0};

// Cells of the catalogue's size columns ("16升", "8升", "大"); its colour
// rows follow kGridColours, then TateGata, which has no emphasis.
constexpr int kColumnCell[3] = {16, 8, 32};
constexpr int kTateGataRow = 4;

// Where the pages stand: as the first sets placed them for the 96-dpi window
// (747 x 529), which is the smallest client area, with the controls at the
// top right. One page at full height beside the controls; two and three side
// by side below them.
struct PageRow {
    int left, top, width, height;
};
constexpr int kPageGap = 12;
constexpr PageRow kPageRows[3] = {{122, 8, 362, 512}, {68, 98, 299, 423}, {9, 143, 235, 332}};

class Canvas {
public:
    Canvas(int width, int height, Bgr background) : width_(width), height_(height), pixels_(Bytes(width, height)) {
        const std::size_t row = std::size_t(width) * 3;
        for (std::size_t i = 0; i < row; i += 3) SetAt(i, background);
        for (std::size_t at = row; at < pixels_.size(); at += row)
            std::copy(pixels_.begin(), pixels_.begin() + std::ptrdiff_t(row), pixels_.begin() + std::ptrdiff_t(at));
    }

    void Fill(int left, int top, int right, int bottom, Bgr c) {  // inclusive bounds, clipped
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, width_ - 1);
        bottom = std::min(bottom, height_ - 1);
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) SetAt((std::size_t(y) * std::size_t(width_) + std::size_t(x)) * 3, c);
    }
    void VLine(int x, int top, int bottom, Bgr c) { Fill(x, top, x, bottom, c); }
    void HLine(int y, int left, int right, Bgr c) { Fill(left, y, right, y, c); }

    ConstBgrView View() const { return {pixels_.data(), width_, height_, std::ptrdiff_t(width_) * 3}; }

private:
    static std::size_t Bytes(int width, int height) {
        if (width <= 0 || height <= 0) throw std::invalid_argument("a grid image needs a width and a height");
        return std::size_t(width) * std::size_t(height) * 3;
    }
    void SetAt(std::size_t i, Bgr c) {
        pixels_[i] = c.b;
        pixels_[i + 1] = c.g;
        pixels_[i + 2] = c.r;
    }
    int width_, height_;
    std::vector<std::uint8_t> pixels_;
};

// The colour mixed 60 % with white: the quarter lines of a page.
Bgr Pale(Bgr c) {
    auto mix = [](int v) { return std::uint8_t((2 * v + 3 * 255) / 5); };
    return {mix(c.b), mix(c.g), mix(c.r)};
}

// One line of cells along an axis: `at` is where the cells' corners lie for
// diagonals and labels, [lo, hi] the pixels it covers when drawn.
struct AxisLine {
    int at, lo, hi;
    bool drawn;
};

// Cells of a size in pixels: each line sits on the last pixels of its cell,
// and after every d.every cells it is twice as wide. The first corner lies
// just outside the picture, so column and row 0 stay see-through. Lines
// follow the picture's first sets (a vertical one may end past the edge, a
// horizontal one never reaches the bottom row); corners go on, not drawn,
// until a whole block of cells passes the edge, so the last cells are
// whole and merely cut by the edge.
std::vector<AxisLine> PixelCellLines(const GridDrawing& d, bool vertical, int extent) {
    const int cell = vertical ? d.cellWidth : d.cellHeight;
    const int block = d.every ? d.every : 1;
    std::vector<AxisLine> lines{{-1, 0, -1, false}};
    for (int k = 1; (k - 1) * cell - 1 < extent - 1 || (k - 1) % block != 0; ++k) {
        const int end = k * cell;
        const int width = d.every && k % d.every == 0 ? 2 * d.line : d.line;
        const bool drawn = vertical ? end - 2 * d.line < extent : end < extent;
        lines.push_back({end - 1, end - width, end - 1, drawn});
    }
    return lines;
}

// N cells over `extent` pixels: lines at round(i * (extent - 1) / N), a
// wider one centred on its place but kept inside the area.
std::vector<AxisLine> CountedCellLines(const GridDrawing& d, int count, int extent) {
    std::vector<AxisLine> lines;
    for (int i = 0; i <= count; ++i) {
        const int at = int((2LL * i * (extent - 1) + count) / (2LL * count));
        const int width = d.every && i % d.every == 0 ? 2 * d.line : d.line;
        const int lo = std::clamp(at - (width - 1) / 2, 0, std::max(0, extent - width));
        lines.push_back({at, lo, lo + width - 1, true});
    }
    return lines;
}

// t * b / a rounded so that the steps from both ends are alike: half-way
// values round towards the nearer end, so a diagonal is point-symmetric.
int SymmetricStep(int t, int a, int b) {
    if (2 * t > a) return b - SymmetricStep(a - t, a, b);
    return int((2LL * t * b + a - 1) / (2LL * a));
}

// Both diagonals of the box with corners (x0, y0) and (x1, y1): one pixel per
// step along the longer side, the second the first's mirror image. Where the
// middle step falls half-way between two pixels, both are drawn, so the
// cross is symmetric top to bottom as well.
void DrawDiagonals(Canvas& canvas, int x0, int y0, int x1, int y1, Bgr c) {
    const int dx = x1 - x0, dy = y1 - y0;
    if (dx <= 0 || dy <= 0) return;
    const bool steep = dy > dx;
    const int a = steep ? dy : dx, b = steep ? dx : dy;
    auto plot = [&](int t, int s) {
        if (steep) {
            canvas.Fill(x0 + s, y0 + t, x0 + s, y0 + t, c);
            canvas.Fill(x1 - s, y0 + t, x1 - s, y0 + t, c);
        } else {
            canvas.Fill(x0 + t, y0 + s, x0 + t, y0 + s, c);
            canvas.Fill(x1 - t, y0 + s, x1 - t, y0 + s, c);
        }
    };
    for (int t = 0; t <= a; ++t) {
        const int s = SymmetricStep(t, a, b);
        plot(t, s);
        if (2 * t == a && b % 2) plot(t, s + 1);
    }
}

// The corners of blocks of `block` cells: every block-th line and the last.
std::vector<int> BlockCorners(const std::vector<AxisLine>& lines, int block) {
    std::vector<int> at;
    for (std::size_t i = 0; i < lines.size(); i += std::size_t(block)) at.push_back(lines[i].at);
    if ((lines.size() - 1) % std::size_t(block)) at.push_back(lines.back().at);
    return at;
}

// Composition lines across the area at the fractions asked for, each pair a
// mirror image of itself (the centre line its own).
void DrawCompositionLines(Canvas& canvas, const GridDrawing& d) {
    const int width = d.cellLines ? 2 * d.line : d.line;
    for (bool vertical : {true, false}) {
        const int extent = vertical ? d.areaWidth : d.areaHeight;
        auto pair = [&](int first) {
            for (int lo : {first, extent - width - first}) {
                lo = std::clamp(lo, 0, std::max(0, extent - width));
                if (vertical) canvas.Fill(lo, 0, lo + width - 1, d.areaHeight - 1, d.colour);
                else canvas.Fill(0, lo, d.areaWidth - 1, lo + width - 1, d.colour);
            }
        };
        auto at = [&](double fraction) { return int(std::lround(fraction * (extent - 1))) - (width - 1) / 2; };
        if (d.thirds) pair(at(1.0 / 3));
        if (d.golden) pair(at(0.381966));
        if (d.centre) pair((extent - width) / 2);
    }
}

// A 5 x 7 pixel font of digits and capitals, one string per row.
constexpr int kGlyphWidth = 5, kGlyphHeight = 7;
constexpr const char* kGlyphs[36][kGlyphHeight] = {
    {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."},  // 0
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
    {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
    {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
    {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
    {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
    {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},  // 9
    {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"},  // A
    {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."},
    {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."},
    {"###..", "#..#.", "#...#", "#...#", "#...#", "#..#.", "###.."},
    {"#####", "#....", "#....", "####.", "#....", "#....", "#####"},
    {"#####", "#....", "#....", "####.", "#....", "#....", "#...."},
    {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"},
    {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"},
    {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."},
    {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"},
    {"#....", "#....", "#....", "#....", "#....", "#....", "#####"},
    {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"},
    {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"},
    {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."},
    {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."},
    {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"},
    {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"},
    {".####", "#....", "#....", ".###.", "....#", "....#", "####."},
    {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."},
    {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."},
    {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."},
    {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."},
    {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"},
    {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."},
    {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"},  // Z
};

int TextWidth(const std::string& text) { return int(text.size()) * (kGlyphWidth + 1) - 1; }

// Column 0 is "A", 25 "Z", 26 "AA".
std::string ColumnLabel(int column) {
    std::string label;
    for (int n = column + 1; n > 0; n = (n - 1) / 26) label.insert(label.begin(), char('A' + (n - 1) % 26));
    return label;
}

struct Span {
    int lo, hi;  // inclusive; empty when lo > hi
};

// The pixels between the lines of cell i, or between its corners where no
// line is drawn.
Span CellInside(const std::vector<AxisLine>& lines, std::size_t i, bool cellLines) {
    const AxisLine& a = lines[i];
    const AxisLine& b = lines[i + 1];
    return {(cellLines && a.drawn ? a.hi : a.at) + 1, (cellLines && b.drawn ? b.lo : b.at) - 1};
}

// Letters over the columns in their top cells, numbers beside the rows in
// their left cells. A label keeps 2 pixels from its cell's lines and is laid
// on a 1-pixel border of background, so diagonals do not run into it; one
// that does not fit, or would touch another (in the corner cell), is left out.
void DrawLabels(Canvas& canvas, const GridDrawing& d, const std::vector<AxisLine>& across,
                const std::vector<AxisLine>& down, int width, int height, Bgr background) {
    constexpr int kMargin = 2;
    struct Placed {
        int x, y;
        std::string text;
    };
    std::vector<Placed> placed;
    auto place = [&](const std::string& text, Span x, Span y, bool column) {
        x.hi = std::min(x.hi, width - 1), y.hi = std::min(y.hi, height - 2);
        const int w = TextWidth(text);
        if (x.hi - x.lo + 1 < w + 2 * kMargin || y.hi - y.lo + 1 < kGlyphHeight + 2 * kMargin) return;
        const int left = column ? x.lo + (x.hi - x.lo + 1 - w) / 2 : x.lo + kMargin;
        const int top = column ? y.lo + kMargin : y.lo + (y.hi - y.lo + 1 - kGlyphHeight) / 2;
        for (const Placed& p : placed)
            if (left <= p.x + TextWidth(p.text) + 1 && p.x <= left + w + 1 && top <= p.y + kGlyphHeight + 1 &&
                p.y <= top + kGlyphHeight + 1)
                return;
        placed.push_back({left, top, text});
    };
    if (across.size() < 2 || down.size() < 2) return;
    const Span firstRow = CellInside(down, 0, d.cellLines), firstColumn = CellInside(across, 0, d.cellLines);
    for (std::size_t i = 0; i + 1 < across.size(); ++i)
        place(ColumnLabel(int(i)), CellInside(across, i, d.cellLines), firstRow, true);
    for (std::size_t i = 0; i + 1 < down.size(); ++i)
        place(std::to_string(i + 1), firstColumn, CellInside(down, i, d.cellLines), false);
    for (const Placed& p : placed) {
        canvas.Fill(p.x - 1, p.y - 1, p.x + TextWidth(p.text), p.y + kGlyphHeight, background);
        for (std::size_t k = 0; k < p.text.size(); ++k) {
            const char ch = p.text[k];
            const auto& glyph = kGlyphs[ch <= '9' ? ch - '0' : 10 + ch - 'A'];
            const int x0 = p.x + int(k) * (kGlyphWidth + 1);
            for (int gy = 0; gy < kGlyphHeight; ++gy)
                for (int gx = 0; gx < kGlyphWidth; ++gx)
                    if (glyph[gy][gx] == '#') canvas.Fill(x0 + gx, p.y + gy, x0 + gx, p.y + gy, d.colour);
        }
    }
}

// Cells, then what lies over them: diagonals, composition lines, labels.
void DrawCells(Canvas& canvas, const GridDrawing& d, int width, int height, Bgr background) {
    const bool counted = d.cellsAcross > 0;
    const std::vector<AxisLine> across =
        counted ? CountedCellLines(d, d.cellsAcross, d.areaWidth) : PixelCellLines(d, true, width);
    const std::vector<AxisLine> down =
        counted ? CountedCellLines(d, d.cellsDown, d.areaHeight) : PixelCellLines(d, false, height);
    // Counted cells fill the area; cells of a size, the picture.
    const int right = counted ? d.areaWidth - 1 : width - 1;
    const int bottom = counted ? d.areaHeight - 1 : height - 1;
    if (d.cellLines) {
        for (const AxisLine& l : across)
            if (l.drawn) canvas.Fill(l.lo, 0, l.hi, bottom, d.colour);
        for (const AxisLine& l : down)
            if (l.drawn) canvas.Fill(0, l.lo, right, l.hi, d.colour);
    }
    if (d.diagonals) {
        const int block = d.every ? d.every : 1;
        const std::vector<int> xs = BlockCorners(across, block), ys = BlockCorners(down, block);
        for (std::size_t j = 0; j + 1 < ys.size(); ++j)
            for (std::size_t i = 0; i + 1 < xs.size(); ++i) DrawDiagonals(canvas, xs[i], ys[j], xs[i + 1], ys[j + 1], d.colour);
    }
    if (d.thirds || d.golden || d.centre) DrawCompositionLines(canvas, d);
    if (d.labels) DrawLabels(canvas, d, across, down, width, height, background);
    // A diagonal may cross the bottom-left pixel, which must stay see-through.
    canvas.Fill(0, height - 1, 0, height - 1, background);
}

// A portrait page in A-series proportion: a 2-pixel outline, centre lines in
// the full colour and quarter lines in a pale tint of it.
void DrawPage(Canvas& canvas, int left, int top, int width, int height, Bgr c) {
    const Bgr pale = Pale(c);
    for (int i = 1; i < 4; ++i) {
        const Bgr line = i == 2 ? c : pale;
        canvas.VLine(left + width * i / 4, top, top + height - 1, line);
        canvas.HLine(top + height * i / 4, left, left + width - 1, line);
    }
    canvas.Fill(left, top, left + width - 1, top + 1, c);
    canvas.Fill(left, top + height - 2, left + width - 1, top + height - 1, c);
    canvas.Fill(left, top, left + 1, top + height - 1, c);
    canvas.Fill(left + width - 2, top, left + width - 1, top + height - 1, c);
}

std::string Lower(std::string s) {
    for (char& ch : s) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

struct Slot {
    int row, column;
    bool emphasised;
    std::string name;
};

// The catalogue's 27 files in its order.
std::vector<Slot> AllSlots() {
    std::vector<Slot> slots;
    for (int row = 0; row <= kTateGataRow; ++row)
        for (int column = 0; column < 3; ++column) {
            const std::string plain = GridImageFileName(row, column == 0, column == 1, column == 2, false);
            const std::string emphasised = GridImageFileName(row, column == 0, column == 1, column == 2, true);
            slots.push_back({row, column, false, plain});
            if (emphasised != plain) slots.push_back({row, column, true, emphasised});
        }
    return slots;
}

// A catalogue name given in any case, ".bmp" optional.
bool SameName(const std::string& given, const std::string& name) {
    std::string key = Lower(given);
    if (key.size() < 4 || key.compare(key.size() - 4, 4, ".bmp") != 0) key += ".bmp";
    return key == Lower(name);
}

void CheckBounds(const char* option, std::optional<int> v, int low, int high, const char* what) {
    if (v && (*v < low || *v > high))
        throw std::invalid_argument(std::string(option) + ": " + what + " " + std::to_string(low) + " to " +
                                    std::to_string(high) + ", not " + std::to_string(*v));
}

}  // namespace

std::vector<PlannedGridImage> PlanGridImages(const GridOptions& o) {
    CheckBounds("--cell", o.cellWidth, kGridMinCell, kGridMaxCell, "a cell's width and height are");
    CheckBounds("--cell", o.cellHeight, kGridMinCell, kGridMaxCell, "a cell's width and height are");
    CheckBounds("--cells", o.cellsAcross, kGridMinCells, kGridMaxCells, "N and M are");
    CheckBounds("--cells", o.cellsDown, kGridMinCells, kGridMaxCells, "N and M are");
    CheckBounds("--area", o.areaWidth, kGridMinArea, kGridMaxAreaWidth, "the width is");
    CheckBounds("--area", o.areaHeight, kGridMinArea, kGridMaxAreaHeight,
                "the height (the picture's last row stays see-through) is");
    CheckBounds("--line", o.line, kGridMinLine, kGridMaxLine, "a line's width is");
    CheckBounds("--every", o.every, kGridMinEvery, kGridMaxEvery, "N is");
    const bool counted = o.cellsAcross || o.cellsDown;
    const bool composition = o.thirds || o.golden || o.centre;
    if (counted && (o.cellWidth || o.cellHeight))
        throw std::invalid_argument("--cells and --cell do not go together: count the cells or give their size");
    if ((o.areaWidth || o.areaHeight) && !counted && !composition)
        throw std::invalid_argument("--area goes with --cells, --thirds, --golden or --center");
    if (o.noCells && !o.diagonals && !composition && !o.labels)
        throw std::invalid_argument("--no-cells leaves nothing to draw: add --diagonals, --thirds, --golden, "
                                    "--center or --labels");

    const std::vector<Slot> slots = AllSlots();
    std::vector<bool> chosen(slots.size(), o.only.empty());
    for (const std::string& given : o.only) {
        bool found = false;
        for (std::size_t i = 0; i < slots.size(); ++i)
            if (SameName(given, slots[i].name)) chosen[i] = found = true;
        if (!found) throw std::invalid_argument("--only: no grid image is called \"" + given + "\"");
    }
    const bool named = !o.only.empty();
    const bool cellsAsked = o.cellWidth || o.cellHeight || o.line || o.every || counted || o.areaWidth ||
                            o.diagonals || composition || o.noCells || o.labels;

    std::vector<PlannedGridImage> plan;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (!chosen[i]) continue;
        const Slot& slot = slots[i];
        GridDrawing d;
        d.cellWidth = d.cellHeight = kColumnCell[slot.column];
        d.line = slot.emphasised ? 2 : 1;
        d.colour = GridLineBgr(slot.row);
        if (slot.row == kTateGataRow && !(named && cellsAsked)) d.pages = slot.column + 1;
        if (o.colour) d.colour = *o.colour;
        if (!d.pages) {
            if (o.cellWidth) d.cellWidth = *o.cellWidth;
            if (o.cellHeight) d.cellHeight = *o.cellHeight;
            if (counted) {
                d.cellsAcross = o.cellsAcross.value_or(*o.cellsDown);
                d.cellsDown = o.cellsDown.value_or(*o.cellsAcross);
            }
            d.areaWidth = o.areaWidth.value_or(kClientWidth96);
            d.areaHeight = o.areaHeight.value_or(kClientHeight96);
            if (o.line) d.line = *o.line;
            if (o.every) d.every = *o.every;
            d.cellLines = !o.noCells;
            d.diagonals = o.diagonals;
            d.thirds = o.thirds, d.golden = o.golden, d.centre = o.centre;
            d.labels = o.labels;
            // Counted cells differ by a pixel at most: the narrower decides.
            const int across = counted ? (d.areaWidth - 1) / d.cellsAcross : d.cellWidth;
            const int down = counted ? (d.areaHeight - 1) / d.cellsDown : d.cellHeight;
            const int widest = !d.cellLines ? 1 : d.every ? 2 * d.line : d.line;
            if (widest >= std::min(across, down)) {
                // A file's own value that the options did not change may be the cause.
                const char* hint = !d.cellLines   ? ""
                                   : !o.line      ? " (give --line, or --only for the files you mean)"
                                   : !o.cellWidth && !counted ? " (give --cell, or --only for the files you mean)"
                                                              : "";
                std::string lines = "lines of " + std::to_string(d.cellLines ? d.line : 1);
                if (d.every && d.cellLines)
                    lines += " and (every " + std::to_string(d.every) + " cells) " + std::to_string(widest);
                std::string cells = std::to_string(across) + " x " + std::to_string(down);
                if (counted)
                    cells += " (" + std::to_string(d.cellsAcross) + " x " + std::to_string(d.cellsDown) +
                             " cells over " + std::to_string(d.areaWidth) + " x " + std::to_string(d.areaHeight) + ")";
                throw std::invalid_argument(slot.name + ": " + lines + " pixels do not fit in cells of " + cells +
                                            "; lines must be narrower than the cells" + hint);
            }
        }
        plan.push_back({slot.name, d});
    }
    return plan;
}

GridImageFile DrawGridImage(const PlannedGridImage& image, int width, int height) {
    const GridDrawing& d = image.drawing;
    const bool counted = d.cellsAcross > 0;
    if (d.pages < 0 || d.pages > 3 || d.line < 1 || d.every < 0 || d.cellsAcross < 0 || counted != (d.cellsDown > 0) ||
        (!counted && (d.cellWidth <= d.line || d.cellHeight <= d.line)) || d.areaWidth < 2 || d.areaHeight < 2)
        throw std::invalid_argument(image.name + ": no such grid (see PlanGridImages)");
    const Bgr background = d.colour == kWhite ? kBlack : kWhite;
    if (d.pages) {
        width = std::min(width, kPageImageWidth);
        height = std::min(height, kPageImageHeight);
    }
    Canvas canvas(width, height, background);
    if (d.pages) {
        const PageRow& p = kPageRows[d.pages - 1];
        for (int i = 0; i < d.pages; ++i)
            DrawPage(canvas, p.left + i * (p.width + kPageGap), p.top, p.width, p.height, d.colour);
    } else {
        DrawCells(canvas, d, width, height, background);
    }
    const bool oneBit = !d.pages && background == kWhite;
    std::vector<std::uint8_t> file = oneBit ? EncodeBmp1(canvas.View(), kWhite, d.colour) : EncodeBmp4(canvas.View());
    std::copy(std::begin(kGridgenMark), std::end(kGridgenMark), file.begin() + 6);
    // Counted as the program shapes its window: the see-through colour is
    // the whole picture's, the rectangles those of the part the window shows.
    const Bgr seeThrough = TransparentColorOf(canvas.View(), oneBit ? 1 : 4);
    const std::size_t rectangles =
        MergedRectangleCount(BuildRegionData(Crop(canvas.View(), kClientWidth96, kClientHeight96), seeThrough));
    return {image.name, std::move(file), rectangles};
}

std::vector<GridImageFile> MakeGridImages(int width, int height) {
    std::vector<GridImageFile> files;
    for (const PlannedGridImage& image : PlanGridImages({})) files.push_back(DrawGridImage(image, width, height));
    return files;
}

std::vector<GridImageFile> MakeDefaultGridImages() { return MakeGridImages(kGridImageWidth, kGridImageHeight); }

bool MadeByGridgen(const std::uint8_t* header, std::size_t size) {
    return size >= 10 && std::equal(std::begin(kGridgenMark), std::end(kGridgenMark), header + 6);
}

}  // namespace rastel
