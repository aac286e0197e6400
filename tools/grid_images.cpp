// The default grid images. Every picture is 747 x 529 (the main window's
// client area), white where the window is to be a hole, with the bottom-left
// pixel white (it names the transparent colour) and a solid plate under the
// control cluster so the controls stay visible and clickable.
#include "tools/grid_images.h"

#include <algorithm>
#include <cmath>

#include "core/bmp.h"

namespace rastel {
namespace {

constexpr int kWidth = 747;
constexpr int kHeight = 529;

constexpr Bgr kWhite{255, 255, 255};
constexpr Bgr kSkyBlue{235, 206, 135};
constexpr Bgr kBlack{0, 0, 0};
constexpr Bgr kRed{0, 0, 255};
constexpr Bgr kOrchid{214, 112, 218};
constexpr Bgr kPaleSkyBlue{247, 235, 207};  // sky blue mixed 60 % with white

// Plate under the control cluster (client x 614..731, y 23..82), with a margin.
constexpr int kPlateLeft = 606, kPlateTop = 15, kPlateRight = 736, kPlateBottom = 90;  // inclusive

class Canvas {
public:
    Canvas() : pixels_(std::size_t(kWidth) * kHeight * 3, 255) {}

    void Fill(int left, int top, int right, int bottom, Bgr c) {  // inclusive bounds, clipped
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, kWidth - 1);
        bottom = std::min(bottom, kHeight - 1);
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) {
                std::uint8_t* p = &pixels_[(std::size_t(y) * kWidth + std::size_t(x)) * 3];
                p[0] = c.b;
                p[1] = c.g;
                p[2] = c.r;
            }
    }
    void VLine(int x, int top, int bottom, Bgr c) { Fill(x, top, x, bottom, c); }
    void HLine(int y, int left, int right, Bgr c) { Fill(left, y, right, y, c); }

    ConstBgrView View() const { return {pixels_.data(), kWidth, kHeight, std::ptrdiff_t(kWidth) * 3}; }

private:
    std::vector<std::uint8_t> pixels_;
};

enum class Format { Mono, Palette, Rgb };

std::vector<std::uint8_t> Encode(const Canvas& canvas, Format format, Bgr ink) {
    switch (format) {
        case Format::Mono: return EncodeBmp1(canvas.View(), kWhite, ink);
        case Format::Palette: return EncodeBmp8(canvas.View());
        case Format::Rgb: break;
    }
    return EncodeBmp24(canvas.View());
}

void DrawPlate(Canvas& canvas, Bgr c) { canvas.Fill(kPlateLeft, kPlateTop, kPlateRight, kPlateBottom, c); }

// Square cells of `pitch` pixels; each line sits on the last `lineWidth`
// pixels of its cell, so column 0 and the bottom row (528, a multiple of
// every pitch used) stay holes.
Canvas SquareGrid(int pitch, int lineWidth, Bgr ink) {
    Canvas canvas;
    for (int end = pitch; end - lineWidth < kWidth; end += pitch)
        canvas.Fill(end - lineWidth, 0, end - 1, kHeight - 1, ink);
    for (int end = pitch; end - lineWidth < kHeight; end += pitch)
        canvas.Fill(0, end - lineWidth, kWidth - 1, end - 1, ink);
    DrawPlate(canvas, ink);
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
// (full height) or below it (full width).
Canvas PortraitPages(int count) {
    constexpr int kMargin = 8, kGap = 12;
    struct Area { int left, top, width, height; };
    const Area beside{kMargin, kMargin, kPlateLeft - 2 * kMargin, kHeight - 2 * kMargin};
    const Area below{kMargin, kPlateBottom + kMargin, kWidth - 2 * kMargin, kHeight - kPlateBottom - 2 * kMargin};
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

    Canvas canvas;
    for (int i = 0; i < count; ++i) DrawPage(canvas, left + i * (width + kGap), top, width, height);
    DrawPlate(canvas, kSkyBlue);
    return canvas;
}

struct GridColour {
    char letter;
    Bgr ink;
    Format format;
};

}  // namespace

std::vector<GridImageFile> MakeDefaultGridImages() {
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

    std::vector<GridImageFile> files;
    for (const GridColour& colour : colours) {
        for (const Size& size : sizes) {
            const std::string stem = std::string("Rastel") + colour.letter;
            files.push_back({stem + size.plain + ".bmp", Encode(SquareGrid(size.pitch, 1, colour.ink), colour.format, colour.ink)});
            files.push_back({stem + size.emphasised + ".bmp",
                             Encode(SquareGrid(size.pitch, 2, colour.ink), colour.format, colour.ink)});
        }
    }
    static const char* const pageFiles[] = {"RastelSTateBig.bmp", "RastelSTate2Big.bmp", "RastelSTate3Big.bmp"};
    for (int count = 1; count <= 3; ++count)
        files.push_back({pageFiles[count - 1], Encode(PortraitPages(count), Format::Rgb, kSkyBlue)});
    return files;
}

}  // namespace rastel
