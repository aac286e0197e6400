// The grid images. Each picture is see-through where the window is to be a
// hole and solid on its lines; the bottom-left pixel stays background, since
// it names the see-through colour. Files are as small as the look allows:
// 1-bit for cells on white (a 1-bit picture always sees through white), 4-bit
// with a palette for pages and for white lines.
#include "tools/grid_images.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "core/bmp.h"
#include "core/catalog.h"

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

// Cells of d.cellWidth x d.cellHeight; each line sits on the last pixels of
// its cell, and after every d.every cells it is twice as wide. A line that
// would reach the bottom row is left out.
void DrawCells(Canvas& canvas, const GridDrawing& d, int width, int height) {
    auto widthAfter = [&d](int cells) { return d.every && cells % d.every == 0 ? 2 * d.line : d.line; };
    for (int k = 1; k * d.cellWidth - 2 * d.line < width; ++k) {
        const int end = k * d.cellWidth;
        canvas.Fill(end - widthAfter(k), 0, end - 1, height - 1, d.colour);
    }
    for (int k = 1; k * d.cellHeight < height; ++k) {
        const int end = k * d.cellHeight;
        canvas.Fill(0, end - widthAfter(k), width - 1, end - 1, d.colour);
    }
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
    CheckBounds("--line", o.line, kGridMinLine, kGridMaxLine, "a line's width is");
    CheckBounds("--every", o.every, kGridMinEvery, kGridMaxEvery, "N is");

    const std::vector<Slot> slots = AllSlots();
    std::vector<bool> chosen(slots.size(), o.only.empty());
    for (const std::string& given : o.only) {
        bool found = false;
        for (std::size_t i = 0; i < slots.size(); ++i)
            if (SameName(given, slots[i].name)) chosen[i] = found = true;
        if (!found) throw std::invalid_argument("--only: no grid image is called \"" + given + "\"");
    }
    const bool named = !o.only.empty();
    const bool cellsAsked = o.cellWidth || o.cellHeight || o.line || o.every;

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
            if (o.line) d.line = *o.line;
            if (o.every) d.every = *o.every;
            const int widest = d.every ? 2 * d.line : d.line;
            if (widest >= std::min(d.cellWidth, d.cellHeight)) {
                // A file's own value that the options did not change may be the cause.
                const char* hint = !o.line        ? " (give --line, or --only for the files you mean)"
                                   : !o.cellWidth ? " (give --cell, or --only for the files you mean)"
                                                  : "";
                std::string lines = "lines of " + std::to_string(d.line);
                if (d.every) lines += " and (every " + std::to_string(d.every) + " cells) " + std::to_string(widest);
                throw std::invalid_argument(slot.name + ": " + lines + " pixels do not fit in cells of " +
                                            std::to_string(d.cellWidth) + " x " + std::to_string(d.cellHeight) +
                                            "; lines must be narrower than the cells" + hint);
            }
        }
        plan.push_back({slot.name, d});
    }
    return plan;
}

GridImageFile DrawGridImage(const PlannedGridImage& image, int width, int height) {
    const GridDrawing& d = image.drawing;
    if (d.pages < 0 || d.pages > 3 || d.line < 1 || d.cellWidth <= d.line || d.cellHeight <= d.line || d.every < 0)
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
        DrawCells(canvas, d, width, height);
    }
    std::vector<std::uint8_t> file = !d.pages && background == kWhite ? EncodeBmp1(canvas.View(), kWhite, d.colour)
                                                                      : EncodeBmp4(canvas.View());
    std::copy(std::begin(kGridgenMark), std::end(kGridgenMark), file.begin() + 6);
    return {image.name, std::move(file)};
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
