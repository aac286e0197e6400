// The default grid images. Every picture covers the main window's client
// area (747 x 529 at 96 dpi, larger where the window scales), white where the
// window is to be a hole, with the bottom-left pixel white (it names the
// transparent colour) and a solid plate under the control cluster so the
// controls stay visible and clickable. Cells and lines are never scaled:
// a grid stays pixel-exact on every screen.
#include "tools/grid_images.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/bmp.h"

namespace rastel {
namespace {

// The main window as designed: resolution, text height, font height, client size.
constexpr int kDesignPpi = 96;
constexpr int kDesignTextHeight = 12;
constexpr int kDesignFontHeight = -12;
constexpr int kDesignClientWidth = 747;
constexpr int kDesignClientHeight = 529;

// The control cluster as designed: left, top, width, height of the toggle,
// "終了", "強調", the colour list, "移", "8升", "16升", "大".
struct DesignRect {
    int left, top, width, height;
};
constexpr DesignRect kCluster[] = {{615, 23, 44, 20}, {698, 23, 30, 21}, {684, 64, 43, 17}, {614, 62, 70, 20},
                                   {661, 23, 18, 21}, {650, 46, 35, 15}, {686, 46, 41, 15}, {616, 46, 33, 15}};

// Around the cluster, so the controls do not sit on the very edge of the
// window's shape; one more at the right and bottom, where a drop-down list
// comes out a pixel taller than designed (its height follows the font).
// At 96 dpi this is the plate of the first default images, 606..736 x 15..90.
constexpr int kPlateMargin = 8;
constexpr int kPlateMarginFar = 9;

// Text height ("0") of the main window's font for font heights -12 .. -36,
// the range of 96 .. 288 dpi. Under Wine, IPAPGothic stands in for
// "ＭＳ Ｐゴシック"; these are its heights as the program measures them there
// (Wine 8, fonts-ipafont-gothic). For the real "ＭＳ Ｐゴシック" on Windows the
// text height of a font of Height -h is taken to be h at these sizes: the
// face has no internal leading. That is an assumption, not a measurement;
// the generator built for Windows measures instead.
constexpr int kIpaPGothicTextHeight[] = {13, 14, 15, 16, 17, 18, 20, 21, 22, 22, 23, 25, 26,
                                         27, 28, 29, 30, 32, 32, 33, 34, 35, 37, 38, 39};

constexpr Bgr kWhite{255, 255, 255};
constexpr Bgr kSkyBlue{235, 206, 135};
constexpr Bgr kBlack{0, 0, 0};
constexpr Bgr kRed{0, 0, 255};
constexpr Bgr kOrchid{214, 112, 218};
constexpr Bgr kPaleSkyBlue{247, 235, 207};  // sky blue mixed 60 % with white

class Canvas {
public:
    Canvas(int width, int height)
        : width_(width), height_(height), pixels_(std::size_t(width) * std::size_t(height) * 3, 255) {}

    int Width() const { return width_; }
    int Height() const { return height_; }

    void Fill(int left, int top, int right, int bottom, Bgr c) {  // inclusive bounds, clipped
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, width_ - 1);
        bottom = std::min(bottom, height_ - 1);
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) {
                std::uint8_t* p = &pixels_[(std::size_t(y) * std::size_t(width_) + std::size_t(x)) * 3];
                p[0] = c.b;
                p[1] = c.g;
                p[2] = c.r;
            }
    }
    void VLine(int x, int top, int bottom, Bgr c) { Fill(x, top, x, bottom, c); }
    void HLine(int y, int left, int right, Bgr c) { Fill(left, y, right, y, c); }

    ConstBgrView View() const { return {pixels_.data(), width_, height_, std::ptrdiff_t(width_) * 3}; }

private:
    int width_, height_;
    std::vector<std::uint8_t> pixels_;
};

enum class Format { Mono, Palette, Rgb };

std::vector<std::uint8_t> EncodeUnmarked(const Canvas& canvas, Format format, Bgr ink) {
    switch (format) {
        case Format::Mono: return EncodeBmp1(canvas.View(), kWhite, ink);
        case Format::Palette: return EncodeBmp8(canvas.View());
        case Format::Rgb: break;
    }
    return EncodeBmp24(canvas.View());
}

std::vector<std::uint8_t> Encode(const Canvas& canvas, Format format, Bgr ink) {
    std::vector<std::uint8_t> file = EncodeUnmarked(canvas, format, ink);
    std::copy(std::begin(kGridgenMark), std::end(kGridgenMark), file.begin() + 6);
    return file;
}

void DrawPlate(Canvas& canvas, const GridLayout& layout, Bgr c) {
    canvas.Fill(layout.plate.left, layout.plate.top, layout.plate.right, layout.plate.bottom, c);
}

// Square cells of `pitch` pixels; each line sits on the last `lineWidth`
// pixels of its cell, so column 0 stays a hole. A line that would reach the
// bottom row is left out: the bottom-left pixel must stay a hole, since it
// names the transparent colour.
Canvas SquareGrid(const GridLayout& layout, int pitch, int lineWidth, Bgr ink) {
    Canvas canvas(layout.width, layout.height);
    for (int end = pitch; end - lineWidth < layout.width; end += pitch)
        canvas.Fill(end - lineWidth, 0, end - 1, layout.height - 1, ink);
    for (int end = pitch; end < layout.height; end += pitch)
        canvas.Fill(0, end - lineWidth, layout.width - 1, end - 1, ink);
    DrawPlate(canvas, layout, ink);
    return canvas;
}

// A portrait page in A-series proportion: a 2-pixel outline, centre lines
// in the full colour and quarter lines in a pale tint.
void DrawPage(Canvas& canvas, int left, int top, int width, int height) {
    for (int i = 1; i < 4; ++i) {
        const Bgr c = i == 2 ? kSkyBlue : kPaleSkyBlue;
        canvas.VLine(left + width * i / 4, top, top + height - 1, c);
        canvas.HLine(top + height * i / 4, left, left + width - 1, c);
    }
    canvas.Fill(left, top, left + width - 1, top + 1, kSkyBlue);
    canvas.Fill(left, top + height - 2, left + width - 1, top + height - 1, kSkyBlue);
    canvas.Fill(left, top, left + 1, top + height - 1, kSkyBlue);
    canvas.Fill(left + width - 2, top, left + width - 1, top + height - 1, kSkyBlue);
}

// `count` equal pages side by side, as large as fits either beside the plate
// (full height) or below it (full width) in the page area.
Canvas PortraitPages(const GridLayout& layout, int count) {
    constexpr int kMargin = 8, kGap = 12;
    struct Area { int left, top, width, height; };
    const int w = layout.pageAreaWidth, h = layout.pageAreaHeight;
    const Area beside{kMargin, kMargin, layout.plate.left - 2 * kMargin, h - 2 * kMargin};
    const Area below{kMargin, layout.plate.bottom + kMargin, w - 2 * kMargin, h - layout.plate.bottom - 2 * kMargin};
    const double ratio = std::sqrt(2.0);
    auto pageWidth = [&](const Area& a) {
        return std::min((a.width - (count - 1) * kGap) / count, int(a.height / ratio));
    };
    const Area& area = pageWidth(beside) >= pageWidth(below) ? beside : below;
    const int width = pageWidth(area);
    const int height = int(std::lround(width * ratio));
    const int total = count * width + (count - 1) * kGap;
    const int left = area.left + (area.width - total) / 2;
    const int top = area.top + (area.height - height) / 2;

    Canvas canvas(layout.width, layout.height);
    for (int i = 0; i < count; ++i) DrawPage(canvas, left + i * (width + kGap), top, width, height);
    DrawPlate(canvas, layout, kSkyBlue);
    return canvas;
}

struct GridColour {
    char letter;
    Bgr ink;
    Format format;
};

}  // namespace

TFormScaling MainWindowScaling(int screenPpi, const std::function<int(int)>& textHeightOf) {
    return ComputeFormScaling(kDesignPpi, kDesignTextHeight, screenPpi, kDesignFontHeight, textHeightOf);
}

std::vector<TFormScaling> KnownScalings(int dpi) {
    if (dpi < kGridMinDpi || dpi > kGridMaxDpi) throw std::out_of_range("no font figures for this resolution");
    auto realFont = [](int fontHeight) { return -fontHeight; };
    auto wineStandIn = [](int fontHeight) {
        const int i = -fontHeight - 12;
        return i >= 0 && i < int(std::size(kIpaPGothicTextHeight)) ? kIpaPGothicTextHeight[i] : -fontHeight;
    };
    return {MainWindowScaling(dpi, realFont), MainWindowScaling(dpi, wineStandIn)};
}

std::vector<ClientBox> ClusterControls(const TFormScaling& s) {
    std::vector<ClientBox> boxes;
    for (const DesignRect& r : kCluster) {
        const int left = s.Scale(r.left), top = s.Scale(r.top);
        boxes.push_back({left, top, left + s.Scale(r.width) - 1, top + s.Scale(r.height) - 1});
    }
    return boxes;
}

GridLayout LayoutFor(const std::vector<TFormScaling>& scalings) {
    if (scalings.empty()) throw std::invalid_argument("no scaling to lay the images out for");
    GridLayout layout;
    layout.pageAreaWidth = layout.pageAreaHeight = 1 << 30;
    ClientBox cluster{1 << 30, 1 << 30, -1, -1};
    for (const TFormScaling& s : scalings) {
        const int w = s.Scale(kDesignClientWidth), h = s.Scale(kDesignClientHeight);
        layout.width = std::max(layout.width, w);
        layout.height = std::max(layout.height, h);
        layout.pageAreaWidth = std::min(layout.pageAreaWidth, w);
        layout.pageAreaHeight = std::min(layout.pageAreaHeight, h);
        for (const ClientBox& b : ClusterControls(s)) {
            cluster.left = std::min(cluster.left, b.left);
            cluster.top = std::min(cluster.top, b.top);
            cluster.right = std::max(cluster.right, b.right);
            cluster.bottom = std::max(cluster.bottom, b.bottom);
        }
    }
    // The bottom row stays free: its left pixel names the transparent colour.
    layout.plate = {std::max(cluster.left - kPlateMargin, 0), std::max(cluster.top - kPlateMargin, 0),
                    std::min(cluster.right + kPlateMarginFar, layout.width - 1),
                    std::min(cluster.bottom + kPlateMarginFar, layout.height - 2)};
    return layout;
}

void ForEachGridImage(const GridLayout& layout, const std::function<void(GridImageFile)>& take) {
    // Cell pitches for the sizes "16", "8" and "big", with their file-name
    // parts without and with emphasis. Emphasis doubles the line width.
    struct Size { int pitch; const char* plain; const char* emphasised; };
    static const Size sizes[] = {{16, "", "B2"}, {8, "8", "B8"}, {32, "Big", "BBig"}};
    static const GridColour colours[] = {
        {'S', kSkyBlue, Format::Palette},
        {'B', kBlack, Format::Mono},
        {'R', kRed, Format::Rgb},
        {'P', kOrchid, Format::Palette},
    };

    for (const GridColour& colour : colours) {
        for (const Size& size : sizes) {
            const std::string stem = std::string("Rastel") + colour.letter;
            take(GridImageFile{stem + size.plain + ".bmp",
                             Encode(SquareGrid(layout, size.pitch, 1, colour.ink), colour.format, colour.ink)});
            take(GridImageFile{stem + size.emphasised + ".bmp",
                             Encode(SquareGrid(layout, size.pitch, 2, colour.ink), colour.format, colour.ink)});
        }
    }
    static const char* const pageFiles[] = {"RastelSTateBig.bmp", "RastelSTate2Big.bmp", "RastelSTate3Big.bmp"};
    for (int count = 1; count <= 3; ++count)
        take(GridImageFile{pageFiles[count - 1], Encode(PortraitPages(layout, count), Format::Rgb, kSkyBlue)});
}

std::vector<GridImageFile> MakeGridImages(const GridLayout& layout) {
    std::vector<GridImageFile> files;
    ForEachGridImage(layout, [&files](GridImageFile f) { files.push_back(std::move(f)); });
    return files;
}

std::vector<GridImageFile> MakeDefaultGridImages() { return MakeGridImages(LayoutFor(KnownScalings(kDesignPpi))); }

bool MadeByGridgen(const std::uint8_t* header, std::size_t size) {
    return size >= 10 && std::equal(std::begin(kGridgenMark), std::end(kGridgenMark), header + 6);
}

}  // namespace rastel
