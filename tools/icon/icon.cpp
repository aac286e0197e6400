// rastel-icongen FILE: draws Rastel's icon, a sheet of grid paper, at 16, 32,
// 48 and 256 pixels and writes it as one .ico file. app/rastel.ico is this
// program's output; a test keeps the two in step, so the drawing lives here.
//
// Every size is drawn for its own pixel grid (no scaling): a white sheet, a
// dark teal frame (the main window's colour) and sky-blue cell lines, the
// middle ones in teal, all lines whole pixels wide. Outside the sheet the
// icon is transparent. Pixels are either opaque or transparent, so each
// image is a 4-bit palette image with its AND mask.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

struct Rgb {
    std::uint8_t r, g, b;
};

// Palette indices.
enum : std::uint8_t { kClear = 0, kSheet = 1, kFrame = 2, kLine = 3, kMiddle = 4 };
constexpr Rgb kPalette[] = {
    {0, 0, 0},        // transparent (masked)
    {255, 255, 255},  // sheet
    {47, 128, 109},   // frame: the main window's colour
    {135, 206, 235},  // cell lines: sky blue
    {47, 128, 109},   // middle lines
};

struct Layout {
    int size;       // image width and height
    int cells;      // cells per side
    int pitch;      // distance from one line to the next
    int frame;      // frame width
    int line;       // cell line width
};

// Each size picks its own whole-pixel geometry; the sheet is centred.
constexpr Layout kLayouts[] = {
    {16, 3, 5, 1, 1},
    {32, 5, 6, 1, 1},
    {48, 6, 7, 2, 1},
    {256, 8, 30, 6, 2},
};

std::vector<std::uint8_t> Draw(const Layout& l) {
    std::vector<std::uint8_t> px(std::size_t(l.size) * l.size, kClear);
    const int span = l.cells * l.pitch + l.frame;  // sheet side, frames included
    const int origin = (l.size - span) / 2;
    auto onLine = [&](int v, int& index) {  // v relative to the sheet's origin
        for (int k = 0; k <= l.cells; ++k) {
            const int start = k * l.pitch;
            const int width = (k == 0 || k == l.cells) ? l.frame : l.line;
            // Inner lines sit centred on their position, frames inside the sheet.
            const int from = k == 0 ? 0 : k == l.cells ? start : start + (l.frame - width) / 2;
            if (v >= from && v < from + width) {
                index = k;
                return true;
            }
        }
        return false;
    };
    for (int y = 0; y < span; ++y)
        for (int x = 0; x < span; ++x) {
            int kx = -1, ky = -1;
            const bool vx = onLine(x, kx), vy = onLine(y, ky);
            std::uint8_t c = kSheet;
            const bool frameX = vx && (kx == 0 || kx == l.cells);
            const bool frameY = vy && (ky == 0 || ky == l.cells);
            if (frameX || frameY)
                c = kFrame;
            else if ((vx && 2 * kx == l.cells) || (vy && 2 * ky == l.cells))
                c = kMiddle;
            else if (vx || vy)
                c = kLine;
            px[std::size_t(origin + y) * l.size + std::size_t(origin + x)] = c;
        }
    return px;
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// One icon image: BITMAPINFOHEADER (height doubled for the mask), 16-entry
// palette, 4-bit rows bottom-up, then the 1-bit AND mask (1 = transparent).
std::vector<std::uint8_t> EncodeImage(const Layout& l, const std::vector<std::uint8_t>& px) {
    std::vector<std::uint8_t> out;
    const int n = l.size;
    const std::size_t colorStride = (std::size_t(n) * 4 + 31) / 32 * 4;
    const std::size_t maskStride = (std::size_t(n) + 31) / 32 * 4;
    Put32(out, 40);
    Put32(out, std::uint32_t(n));
    Put32(out, std::uint32_t(2 * n));
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);  // uncompressed
    Put32(out, std::uint32_t((colorStride + maskStride) * n));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 16);
    Put32(out, 0);
    for (int i = 0; i < 16; ++i) {
        const Rgb c = i < int(std::size(kPalette)) ? kPalette[i] : Rgb{0, 0, 0};
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    }
    for (int y = n - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(colorStride, 0);
        for (int x = 0; x < n; ++x) row[x / 2] |= std::uint8_t(px[std::size_t(y) * n + x] << (x % 2 ? 0 : 4));
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = n - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskStride, 0);
        for (int x = 0; x < n; ++x)
            if (px[std::size_t(y) * n + x] == kClear) row[x / 8] |= std::uint8_t(0x80u >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<std::uint8_t> EncodeIcon() {
    std::vector<std::vector<std::uint8_t>> images;
    for (const Layout& l : kLayouts) images.push_back(EncodeImage(l, Draw(l)));
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, unsigned(images.size()));
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int n = kLayouts[i].size;
        out.push_back(std::uint8_t(n == 256 ? 0 : n));  // 0 stands for 256
        out.push_back(std::uint8_t(n == 256 ? 0 : n));
        out.push_back(16);  // colours
        out.push_back(0);
        Put16(out, 1);  // planes
        Put16(out, 4);  // bits per pixel
        Put32(out, std::uint32_t(images[i].size()));
        Put32(out, offset);
        offset += std::uint32_t(images[i].size());
    }
    for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: rastel-icongen FILE.ico\n");
        return 2;
    }
    const std::vector<std::uint8_t> bytes = EncodeIcon();
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "rastel-icongen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
