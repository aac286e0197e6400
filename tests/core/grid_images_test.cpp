#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/bmp.h"
#include "core/catalog.h"
#include "core/region.h"
#include "tools/grid_images.h"
#include "tools/gridgen_cli.h"

namespace rastel {
namespace {

struct Box {
    int left, top, right, bottom;  // inclusive
};

// The main window on a screen: its client area for the real "ＭＳ Ｐゴシック"
// (font height -h gives text height h) and for IPAPGothic, a taller stand-in
// some Wine setups use, and the program's plate there (the control cluster for either
// font, with 8 pixels around it).
struct Screen {
    int dpi;
    int windowsWidth, windowsHeight;
    int wineWidth, wineHeight;
    Box plate;
};
const Screen kScreens[] = {
    {96, 747, 529, 747, 529, {606, 15, 736, 90}},
    {120, 934, 661, 996, 705, {760, 21, 979, 118}},
    {144, 1121, 794, 1245, 882, {913, 27, 1221, 144}},
    {192, 1494, 1058, 1619, 1146, {1220, 38, 1585, 185}},
    {288, 2241, 1587, 2428, 1719, {1834, 61, 2375, 275}},
};

constexpr Bgr kWhite{255, 255, 255};
constexpr Bgr kBlack{0, 0, 0};
constexpr Bgr kSkyBlue{235, 206, 135};
constexpr Bgr kPaleSkyBlue{247, 235, 207};

struct Decoded {
    std::string name;
    BmpImage image;
    Bgr transparent;

    Bgr At(int x, int y) const {
        const std::uint8_t* p = image.View().Row(y) + 3 * x;
        return {p[0], p[1], p[2]};
    }
    bool Solid(int x, int y) const { return !(At(x, y) == transparent); }
    int Width() const { return image.width; }
    int Height() const { return image.height; }
};

Decoded Decode(const GridImageFile& f) {
    Decoded d{f.name, DecodeBmp(f.bytes), {}};
    // The program's rule: white for one bit per pixel, else the bottom-left pixel.
    d.transparent = d.image.bitsPerPixel == 1 ? kWhite : d.At(0, d.image.height - 1);
    return d;
}

const std::vector<GridImageFile>& DefaultFiles() {
    static const std::vector<GridImageFile> files = MakeDefaultGridImages();
    return files;
}

// Decoded one at a time: the whole set decoded would take 340 MB.
const GridImageFile& DefaultFile(const std::string& name) {
    for (const GridImageFile& f : DefaultFiles())
        if (f.name == name) return f;
    throw std::runtime_error("no default image " + name);
}

// Catalogue lookup with sizes numbered 0 "16", 1 "8", 2 "big".
std::string CatalogueName(int colour, int size, bool emphasis) {
    return GridImageFileName(colour, size == 0, size == 1, size == 2, emphasis);
}

std::uint32_t U32(const std::vector<std::uint8_t>& f, std::size_t at) {
    return std::uint32_t(f.at(at)) | std::uint32_t(f.at(at + 1)) << 8 | std::uint32_t(f.at(at + 2)) << 16 |
           std::uint32_t(f.at(at + 3)) << 24;
}

// The palette as the file stores it.
std::vector<Bgr> PaletteOf(const std::vector<std::uint8_t>& f) {
    std::vector<Bgr> palette;
    for (std::uint32_t i = 0; i < U32(f, 46); ++i) palette.push_back({f.at(54 + 4 * i), f.at(55 + 4 * i), f.at(56 + 4 * i)});
    return palette;
}

// Solid runs along row 0 (the vertical lines: no horizontal line reaches row
// 0) or along column 0 (the horizontal lines).
struct LineRun {
    int start, width;
    friend bool operator==(LineRun, LineRun) = default;
};
std::vector<LineRun> Runs(const Decoded& d, bool alongRow) {
    const int n = alongRow ? d.Width() : d.Height();
    auto solid = [&](int i) { return alongRow ? d.Solid(i, 0) : d.Solid(0, i); };
    std::vector<LineRun> runs;
    for (int i = 0; i < n; ++i) {
        if (!solid(i)) continue;
        int end = i;
        while (end < n && solid(end)) ++end;
        runs.push_back({i, end - i});
        i = end;
    }
    return runs;
}

// A grid and nothing else: every solid pixel lies on a vertical line seen
// in row 0 or a horizontal line seen in column 0, and each of those is solid
// throughout. The bottom-left pixel is background.
void ExpectOnlyGridLines(const Decoded& d) {
    std::vector<char> column(std::size_t(d.Width()), 0), row(std::size_t(d.Height()), 0);
    for (int x = 0; x < d.Width(); ++x) column[x] = d.Solid(x, 0);
    for (int y = 0; y < d.Height(); ++y) row[y] = d.Solid(0, y);
    EXPECT_FALSE(row[d.Height() - 1]) << "a line reaches the bottom-left pixel";
    int wrong = 0;
    for (int y = 0; y < d.Height(); ++y)
        for (int x = 0; x < d.Width(); ++x) wrong += d.Solid(x, y) != (column[x] || row[y]);
    EXPECT_EQ(wrong, 0);
}

// Lines every `pitch` pixels, `width` wide, on the last pixels of each cell,
// from the first cell to the far edge (the bottom row stays free).
void ExpectEvenLines(const std::vector<LineRun>& runs, int pitch, int width, int extent) {
    ASSERT_FALSE(runs.empty());
    for (std::size_t i = 0; i < runs.size(); ++i)
        ASSERT_EQ(runs[i], (LineRun{int(i + 1) * pitch - width, width})) << "line " << i;
    EXPECT_GT(runs.back().start + width + pitch, extent - 1);
}

TEST(GridImages, NamesAreTheCataloguesTwentySeven) {
    const auto& catalogue = AllGridImageFileNames();
    std::set<std::string> names;
    for (const auto& f : DefaultFiles()) names.insert(f.name);
    EXPECT_EQ(DefaultFiles().size(), 27u);
    EXPECT_EQ(names, std::set<std::string>(catalogue.begin(), catalogue.end()));
}

TEST(GridImages, SameBytesEveryRun) {
    const auto b = MakeDefaultGridImages();
    ASSERT_EQ(DefaultFiles().size(), b.size());
    for (std::size_t i = 0; i < b.size(); ++i) EXPECT_TRUE(DefaultFiles()[i].bytes == b[i].bytes) << b[i].name;
}

// One set for every screen: each picture covers the largest client area from
// 96 to 288 dpi, with either font, and sees through its bottom-left pixel.
// The 24 grids are 1-bit with white and their line colour (1-bit pictures see
// through white); the pages are 4-bit with white, sky blue and its pale tint.
TEST(GridImages, OneSetCoversEveryScreenInSmallFiles) {
    for (const Screen& s : kScreens) {
        EXPECT_GE(kGridImageWidth, std::max(s.windowsWidth, s.wineWidth)) << s.dpi;
        EXPECT_GE(kGridImageHeight, std::max(s.windowsHeight, s.wineHeight)) << s.dpi;
    }
    const Bgr colours[] = {kSkyBlue, kBlack, {0, 0, 255}, {214, 112, 218}};
    std::size_t total = 0;
    for (const GridImageFile& f : DefaultFiles()) {
        SCOPED_TRACE(f.name);
        total += f.bytes.size();
        const Decoded d = Decode(f);
        const bool pages = f.name.find("Tate") != std::string::npos;
        EXPECT_EQ(d.Width(), pages ? kPageImageWidth : kGridImageWidth);
        EXPECT_EQ(d.Height(), pages ? kPageImageHeight : kGridImageHeight);
        EXPECT_EQ(d.At(0, d.Height() - 1), kWhite);
        if (pages) {
            EXPECT_EQ(d.image.bitsPerPixel, 4);
            EXPECT_EQ(PaletteOf(f.bytes), (std::vector<Bgr>{kWhite, kSkyBlue, kPaleSkyBlue}));
        } else {
            EXPECT_EQ(d.image.bitsPerPixel, 1);
            const std::size_t colour = std::string("SBRP").find(f.name[6]);  // Rastel?...
            ASSERT_LT(colour, 4u);
            EXPECT_EQ(PaletteOf(f.bytes), (std::vector<Bgr>{colours[colour], kWhite}));
        }
    }
    EXPECT_LT(total, 19u << 20);
}

// Today's pictures look, at 96 dpi, exactly as the first sets did, where the
// 96-dpi window shows them (747 x 529), except under the controls, where the
// first sets had a plate that the program now paints itself.
// The digests were taken from the 96-dpi set of rastel-gridgen as it was
// before the one set (commit 2e92268): FNV-1a 64 over the decoded pixels'
// blue, green and red bytes, rows from the top, left to right, leaving out
// the plate 606..736 x 15..90 (inclusive).
TEST(GridImages, At96DpiTheyLookAsTheFirstSetsDid) {
    const std::map<std::string, std::uint64_t> golden = {
        {"RastelS.bmp", 0x17983b13cce5acf7ull},         {"RastelSB2.bmp", 0x9f21464e9445ccffull},
        {"RastelS8.bmp", 0x53c6b1b85613adf9ull},        {"RastelSB8.bmp", 0xec20fa369f1cd515ull},
        {"RastelSBig.bmp", 0x0b971e989d76fc85ull},      {"RastelSBBig.bmp", 0xa6904b8cec612728ull},
        {"RastelB.bmp", 0xeb5d3e7838257855ull},         {"RastelBB2.bmp", 0xd6c0aeb47cf838b1ull},
        {"RastelB8.bmp", 0xfd57182d6f5bdf07ull},        {"RastelBB8.bmp", 0xe3269e7f7060740bull},
        {"RastelBBig.bmp", 0x371e7c0f5ec160c3ull},      {"RastelBBBig.bmp", 0xc81431881ebfc790ull},
        {"RastelR.bmp", 0x05b17535327a27a4ull},         {"RastelRB2.bmp", 0x72ef2cf3a70b8bdcull},
        {"RastelR8.bmp", 0xebc11335ad0c12d4ull},        {"RastelRB8.bmp", 0x444447986b61e168ull},
        {"RastelRBig.bmp", 0xd6c18abc18e17da0ull},      {"RastelRBBig.bmp", 0x46217008f34a4de6ull},
        {"RastelP.bmp", 0xe936fdedc31ba5d9ull},         {"RastelPB2.bmp", 0x6a1ae5197d1df0fdull},
        {"RastelP8.bmp", 0x2d3b70da94242d6bull},        {"RastelPB8.bmp", 0x0a3088095ab2c98full},
        {"RastelPBig.bmp", 0x129b7a5d58f118e7ull},      {"RastelPBBig.bmp", 0xb8d68ba625444a38ull},
        {"RastelSTateBig.bmp", 0x2715aaaec02ff2e3ull},  {"RastelSTate2Big.bmp", 0x6bd08f4f39b6a0d0ull},
        {"RastelSTate3Big.bmp", 0x8c8d72dba5f64e06ull},
    };
    ASSERT_EQ(golden.size(), 27u);
    for (const auto& [name, digest] : golden) {
        const Decoded d = Decode(DefaultFile(name));
        std::uint64_t h = 14695981039346656037ull;
        for (int y = 0; y < 529; ++y)
            for (int x = 0; x < 747; ++x) {
                if (x >= 606 && x <= 736 && y >= 15 && y <= 90) continue;
                const Bgr c = d.At(x, y);
                for (std::uint8_t byte : {c.b, c.g, c.r}) h = (h ^ byte) * 1099511628211ull;
            }
        EXPECT_EQ(h, digest) << name;
    }
}

// Cells stay 16, 8 and 32 screen pixels and lines 1 or 2 pixels wide across
// the whole picture (the colour is the palette's, above).
TEST(GridImages, SquareGridsAcrossTheWholePicture) {
    const int pitches[] = {16, 8, 32};  // "16升", "8升", "大"
    for (int colour = 0; colour < 4; ++colour)
        for (int size = 0; size < 3; ++size)
            for (bool emphasis : {false, true}) {
                const Decoded d = Decode(DefaultFile(CatalogueName(colour, size, emphasis)));
                SCOPED_TRACE(d.name);
                // Drawn alike in every colour: one row of the catalogue is looked at whole.
                if (colour == 0) ExpectOnlyGridLines(d);
                ExpectEvenLines(Runs(d, true), pitches[size], emphasis ? 2 : 1, d.Width());
                ExpectEvenLines(Runs(d, false), pitches[size], emphasis ? 2 : 1, d.Height() - 1);
            }
}

// Bounding boxes of the 4-connected groups of solid pixels.
std::vector<Box> SolidGroups(const Decoded& d) {
    const int w = d.Width(), h = d.Height();
    std::vector<char> seen(std::size_t(w) * h, 0);
    std::vector<Box> boxes;
    std::vector<std::pair<int, int>> stack;
    for (int y0 = 0; y0 < h; ++y0)
        for (int x0 = 0; x0 < w; ++x0) {
            if (seen[std::size_t(y0) * w + x0] || !d.Solid(x0, y0)) continue;
            Box b{x0, y0, x0, y0};
            stack.assign(1, {x0, y0});
            seen[std::size_t(y0) * w + x0] = 1;
            while (!stack.empty()) {
                auto [x, y] = stack.back();
                stack.pop_back();
                b.left = std::min(b.left, x), b.right = std::max(b.right, x);
                b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
                const std::pair<int, int> next[] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
                for (auto [nx, ny] : next) {
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                    char& s = seen[std::size_t(ny) * w + nx];
                    if (!s && d.Solid(nx, ny)) s = 1, stack.push_back({nx, ny});
                }
            }
            boxes.push_back(b);
        }
    return boxes;
}

bool Overlap(const Box& a, const Box& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// The pages fit the smallest client area (the 96-dpi window's) and stay clear
// of the program's plate on every screen, so they are whole everywhere.
void ExpectPortraitPages(const Decoded& d, int count) {
    const std::vector<Box> frames = SolidGroups(d);
    ASSERT_EQ(frames.size(), std::size_t(count));
    for (const Box& f : frames) {
        const double width = f.right - f.left + 1, height = f.bottom - f.top + 1;
        EXPECT_NEAR(height / width, 1.414, 0.01);
        EXPECT_EQ(height, frames[0].bottom - frames[0].top + 1);  // pages of one size
        EXPECT_GE(f.left, 0);
        EXPECT_LT(f.right, 747);
        EXPECT_LT(f.bottom, 529);
        for (const Screen& s : kScreens) EXPECT_FALSE(Overlap(f, s.plate)) << "plate at " << s.dpi << " dpi";
    }
    const int height = frames[0].bottom - frames[0].top + 1;
    if (count == 1) {
        EXPECT_GE(height, 529 - 20);  // one page at full height
    }
    EXPECT_GE(height, 529 * 45 / 100);
}

TEST(GridImages, TateGataShowsOneTwoAndThreePortraitPages) {
    for (int size = 0; size < 3; ++size) {
        const Decoded d = Decode(DefaultFile(CatalogueName(4, size, false)));
        SCOPED_TRACE(d.name);
        ExpectPortraitPages(d, size + 1);
        // Sky blue for the outline and the centre lines, the pale tint for the quarters.
        int blue = 0, pale = 0;
        for (int y = 0; y < 529; ++y)
            for (int x = 0; x < 747; ++x) blue += d.At(x, y) == kSkyBlue, pale += d.At(x, y) == kPaleSkyBlue;
        EXPECT_GT(blue, pale);
        EXPECT_GT(pale, 0);
    }
}

namespace fs = std::filesystem;

// A fresh, empty working folder for one test; the old one comes back after.
class ScratchFolder {
public:
    ScratchFolder() : old_(fs::current_path()) {
        path_ = fs::temp_directory_path() / ("rastel-gridgen-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
        fs::current_path(path_);
    }
    ~ScratchFolder() {
        fs::current_path(old_);
        fs::remove_all(path_);
    }
    const fs::path& Path() const { return path_; }
    bool Empty() const { return fs::is_empty(path_); }
    std::set<std::string> Files(const std::string& folder) const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(path_ / folder)) names.insert(e.path().filename().string());
        return names;
    }

private:
    fs::path old_, path_;
};

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Decoded ReadImage(const fs::path& path) { return Decode({path.filename().string(), ReadFile(path)}); }

constexpr char kUsage[] = "usage: rastel-gridgen [OPTION...] FOLDER";

// Runs the generator and expects it to succeed.
void Gridgen(const std::vector<std::string>& args, std::string* output = nullptr) {
    std::ostringstream out, err;
    ASSERT_EQ(RunGridgen(args, out, err, {}), 0) << err.str();
    if (output) *output = out.str();
}

TEST(Gridgen, BadArgumentsPrintAMessageAndTheUsageExitTwoAndWriteNothing) {
    ScratchFolder scratch;
    const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
        {{}, "no folder given"},
        {{"--frob", "out"}, "unknown option --frob"},
        {{"-x", "out"}, "unknown option -x"},
        {{"out", "more"}, "one folder only"},
        {{"--dpi", "95", "out"}, "--dpi takes a number from 96 to 288"},
        {{"--dpi", "289", "out"}, "--dpi takes a number from 96 to 288"},
        {{"--dpi=abc", "out"}, "not \"abc\""},
        {{"--dpi", "120x", "out"}, "not \"120x\""},
        {{"out", "--dpi"}, "--dpi needs a value"},
        {{"--dpi", "144"}, "no folder given"},
        {{"--cell", "1", "out"}, "--cell: a cell's width and height are 2 to 512, not 1"},
        {{"--cell", "513", "out"}, "not 513"},
        {{"--cell", "10x600", "out"}, "not 600"},
        {{"--cell", "10x", "out"}, "--cell takes W or WxH"},
        {{"--cell", "x10", "out"}, "not \"x10\""},
        {{"--cell", "10x20x30", "out"}, "not \"10x20x30\""},
        {{"--cell", "-4", "out"}, "not \"-4\""},
        {{"--cell", "99999999999", "out"}, "not \"99999999999\""},
        {{"--cell", "", "out"}, "--cell takes W or WxH"},
        {{"out", "--cell"}, "--cell needs a value"},
        {{"--color", "orange", "out"}, "--color takes #rrggbb or one of SkyBlue, Black, Red, Orchid, not \"orange\""},
        {{"--color", "#ff880", "out"}, "not \"#ff880\""},
        {{"--color", "#ff88000", "out"}, "not \"#ff88000\""},
        {{"--color=#gg8800", "out"}, "not \"#gg8800\""},
        {{"--color", "0x8800", "out"}, "not \"0x8800\""},
        {{"--line", "0", "out"}, "--line: a line's width is 1 to 8, not 0"},
        {{"--line", "9", "out"}, "not 9"},
        {{"--line", "two", "out"}, "--line takes a whole number from 1 to 8, not \"two\""},
        {{"--every", "1", "out"}, "--every: N is 2 to 100, not 1"},
        {{"--every", "101", "out"}, "not 101"},
        // The 8-pixel cells of "8升" cannot hold 8-pixel lines.
        {{"--line", "8", "out"}, "RastelS8.bmp: lines of 8 pixels do not fit in cells of 8 x 8"},
        // Nor can 2-pixel cells hold the emphasised files' 2-pixel lines.
        {{"--cell", "2", "out"}, "RastelSB2.bmp: lines of 2 pixels do not fit in cells of 2 x 2"},
        {{"--cell", "8", "--line", "4", "--every", "2", "out"}, "lines of 4 and (every 2 cells) 8 pixels"},
        {{"--cell", "12x3", "--line", "3", "--only", "RastelS.bmp", "out"}, "cells of 12 x 3"},
        {{"--only", "RastelX.bmp", "out"}, "--only: no grid image is called \"RastelX.bmp\""},
        {{"--only", "RastelS.bmp,", "out"}, "--only takes file names separated by commas"},
        {{"--only", "", "out"}, "--only takes file names separated by commas"},
        {{"--only", "out"}, "no folder given"},
        {{"--cells", "0", "out"}, "--cells: N and M are 1 to 200, not 0"},
        {{"--cells", "10x201", "out"}, "not 201"},
        {{"--cells", "10x", "out"}, "--cells takes N or NxM"},
        {{"--area", "640", "--cells", "8", "out"}, "--area takes WxH in pixels (640x480), not \"640\""},
        {{"--area", "15x100", "--cells", "8", "out"}, "--area: the width is 16 to 2432, not 15"},
        {{"--area", "2433x100", "--thirds", "out"}, "not 2433"},
        {{"--area", "100x1728", "--thirds", "out"}, "the height (the picture's last row stays see-through) is 16 to 1727"},
        {{"--cells", "8", "--cell", "10", "out"}, "--cells and --cell do not go together"},
        {{"--area", "640x480", "out"}, "--area goes with --cells, --thirds, --golden or --center"},
        {{"--no-cells", "--every", "4", "out"}, "--no-cells leaves nothing to draw"},
        // 200 cells over 300 pixels are a pixel apart.
        {{"--cells", "200", "--area", "300x300", "--only", "RastelS.bmp", "out"},
         "RastelS.bmp: lines of 1 pixels do not fit in cells of 1 x 1 (200 x 200 cells over 300 x 300)"},
        {{"--cells", "200", "--area", "300x300", "--no-cells", "--diagonals", "--only", "RastelS.bmp", "out"},
         "cells of 1 x 1"},
        // 3 x 2 pixels hold the plain files' lines, not the emphasised ones'.
        {{"--cells", "200", "out"}, "RastelSB2.bmp: lines of 2 pixels do not fit in cells of 3 x 2"},
    };
    for (const auto& [args, why] : bad) {
        std::ostringstream out, err;
        std::string shown;
        for (const auto& a : args) shown += a + " ";
        SCOPED_TRACE(shown);
        EXPECT_EQ(RunGridgen(args, out, err, {}), 2);
        EXPECT_EQ(err.str().rfind("rastel-gridgen: ", 0), 0u) << err.str();
        EXPECT_NE(err.str().find(why), std::string::npos) << err.str();
        EXPECT_NE(err.str().find(kUsage), std::string::npos);
        EXPECT_EQ(out.str(), "");
        EXPECT_TRUE(scratch.Empty());
    }
    // --help is an answer, not an error, and no folder named after it; it
    // names every option and the example.
    std::ostringstream out, err;
    EXPECT_EQ(RunGridgen({"--help"}, out, err, {}), 0);
    for (const char* text : {kUsage, "--cell W[xH]", "--color C", "--line N", "--every N", "--only NAMES", "--dpi N",
                             "--help", "--cells N[xM]", "--area WxH", "--diagonals", "--thirds", "--golden", "--center",
                             "--no-cells", "--labels", "rastel-gridgen --cell 10 --color '#ff8800' --only RastelS.bmp FOLDER"})
        EXPECT_NE(out.str().find(text), std::string::npos) << text;
    EXPECT_EQ(err.str(), "");
    EXPECT_TRUE(scratch.Empty());
}

// --dpi is still taken and changes nothing: the same bytes for every value.
TEST(Gridgen, WritesOneSetWhateverTheResolution) {
    ScratchFolder scratch;
    std::string output;
    Gridgen({"new folder"}, &output);
    EXPECT_NE(output.find("27 grid images for every display scale (96 to 288 dpi) in new folder (grids of 2432 x 1728, "
                          "pages of 747 x 529)"),
              std::string::npos)
        << output;
    for (const GridImageFile& f : DefaultFiles()) EXPECT_TRUE(ReadFile(scratch.Path() / "new folder" / f.name) == f.bytes) << f.name;
    Gridgen({"--dpi", "288", "--only", "RastelSB8.bmp,RastelSTate2Big.bmp", "288"});
    for (const char* name : {"RastelSB8.bmp", "RastelSTate2Big.bmp"})
        EXPECT_TRUE(ReadFile(scratch.Path() / "288" / name) == DefaultFile(name).bytes) << name;
}

// The example of the usage: a 10-pixel orange grid in place of RastelS.bmp,
// and no other file; still a 1-bit file seeing through white.
TEST(Gridgen, OwnCellsAndColourInOneSlot) {
    ScratchFolder scratch;
    std::string output;
    Gridgen({"--cell", "10", "--color", "#ff8800", "--only", "RastelS.bmp", "mine"}, &output);
    EXPECT_NE(output.find("1 grid image for every display scale"), std::string::npos) << output;
    EXPECT_EQ(scratch.Files("mine"), std::set<std::string>{"RastelS.bmp"});
    const std::vector<std::uint8_t> bytes = ReadFile(scratch.Path() / "mine" / "RastelS.bmp");
    const Bgr orange{0x00, 0x88, 0xff};
    EXPECT_EQ(PaletteOf(bytes), (std::vector<Bgr>{orange, kWhite}));
    const Decoded d = Decode({"RastelS.bmp", bytes});
    EXPECT_EQ(d.image.bitsPerPixel, 1);
    EXPECT_EQ(d.Width(), kGridImageWidth);
    EXPECT_EQ(d.Height(), kGridImageHeight);
    ExpectOnlyGridLines(d);
    ExpectEvenLines(Runs(d, true), 10, 1, d.Width());
    ExpectEvenLines(Runs(d, false), 10, 1, d.Height() - 1);
    EXPECT_EQ(d.At(9, 5), orange);
}

// Rectangular cells with a stronger line (twice --line) after every 4 cells,
// counted from the top-left corner; names in any case, ".bmp" optional; a
// colour without its "#" (orchid, red first).
TEST(Gridgen, RectangularCellsWithStrongerLines) {
    ScratchFolder scratch;
    Gridgen({"--cell", "12x20", "--line", "2", "--every", "4", "--color", "DA70D6", "--only", "rastelsb2", "out"});
    const Decoded d = ReadImage(scratch.Path() / "out" / "RastelSB2.bmp");
    ExpectOnlyGridLines(d);
    const std::vector<LineRun> across = Runs(d, true), down = Runs(d, false);
    ASSERT_GE(across.size(), 8u);
    EXPECT_EQ(std::vector<LineRun>(across.begin(), across.begin() + 8),
              (std::vector<LineRun>{{10, 2}, {22, 2}, {34, 2}, {44, 4}, {58, 2}, {70, 2}, {82, 2}, {92, 4}}));
    ASSERT_GE(down.size(), 4u);
    EXPECT_EQ(std::vector<LineRun>(down.begin(), down.begin() + 4), (std::vector<LineRun>{{18, 2}, {38, 2}, {58, 2}, {76, 4}}));
    // The pattern holds to the far edges.
    for (std::size_t i = 0; i < across.size(); ++i) EXPECT_EQ(across[i].width, (i + 1) % 4 ? 2 : 4) << i;
    EXPECT_GE(across.back().start, kGridImageWidth - 12);
    EXPECT_GE(down.back().start, kGridImageHeight - 2 * 20);
    EXPECT_EQ(d.At(10, 0), (Bgr{214, 112, 218}));
}

// Options not given keep each file's own: "8升" emphasised keeps its 8-pixel
// cells and 2-pixel lines under a new colour; files not named are not written.
TEST(Gridgen, OptionsNotGivenKeepEachFilesOwn) {
    ScratchFolder scratch;
    Gridgen({"--color", "red", "--only", "RastelSB8.bmp", "--only", "RastelP.bmp,RastelSTateBig.bmp", "out"});
    EXPECT_EQ(scratch.Files("out"), (std::set<std::string>{"RastelP.bmp", "RastelSB8.bmp", "RastelSTateBig.bmp"}));
    const Bgr red{0, 0, 255};
    const Decoded bold = ReadImage(scratch.Path() / "out" / "RastelSB8.bmp");
    ExpectEvenLines(Runs(bold, true), 8, 2, bold.Width());
    EXPECT_EQ(bold.At(7, 0), red);
    const Decoded plain = ReadImage(scratch.Path() / "out" / "RastelP.bmp");
    ExpectEvenLines(Runs(plain, false), 16, 1, plain.Height() - 1);
    EXPECT_EQ(plain.At(15, 0), red);
    // Pages stay pages, in the colour and its pale tint.
    const Decoded pages = ReadImage(scratch.Path() / "out" / "RastelSTateBig.bmp");
    ExpectPortraitPages(pages, 1);
    EXPECT_EQ(PaletteOf(ReadFile(scratch.Path() / "out" / "RastelSTateBig.bmp")),
              (std::vector<Bgr>{kWhite, red, {153, 153, 255}}));
}

// Cell options leave the pages alone when every file is written; a TateGata
// file named with --only becomes a grid, from its size column's cells.
TEST(Gridgen, TateGataTakesCellsOnlyWhenNamed) {
    ScratchFolder scratch;
    Gridgen({"--cell", "10", "all"});
    for (int size = 0; size < 3; ++size) {
        const std::string name = CatalogueName(4, size, false);
        EXPECT_TRUE(ReadFile(scratch.Path() / "all" / name) == DefaultFile(name).bytes) << name;
    }
    const Decoded ten = ReadImage(scratch.Path() / "all" / "RastelBB8.bmp");
    ExpectEvenLines(Runs(ten, true), 10, 2, ten.Width());

    Gridgen({"--line", "3", "--only", "RastelSTate2Big.bmp", "named"});
    const Decoded grid = ReadImage(scratch.Path() / "named" / "RastelSTate2Big.bmp");
    EXPECT_EQ(grid.image.bitsPerPixel, 1);
    ExpectOnlyGridLines(grid);
    ExpectEvenLines(Runs(grid, true), 8, 3, grid.Width());
    EXPECT_EQ(grid.At(7, 0), kSkyBlue);
}

// The see-through colour is never the lines' colour: white lines lie on a
// black background in a 4-bit file (a 1-bit one would see through white),
// and whatever the cells, no line reaches the bottom-left pixel.
TEST(Gridgen, SeeThroughColourDiffersFromTheLines) {
    ScratchFolder scratch;
    Gridgen({"--color", "#FFFFFF", "--only", "RastelS.bmp,RastelSTate3Big.bmp", "white"});
    const Decoded lines = ReadImage(scratch.Path() / "white" / "RastelS.bmp");
    EXPECT_EQ(lines.image.bitsPerPixel, 4);
    EXPECT_EQ(lines.transparent, kBlack);
    EXPECT_EQ(lines.At(15, 0), kWhite);
    ExpectOnlyGridLines(lines);
    ExpectEvenLines(Runs(lines, true), 16, 1, lines.Width());
    const Decoded pages = ReadImage(scratch.Path() / "white" / "RastelSTate3Big.bmp");
    EXPECT_EQ(pages.transparent, kBlack);
    ExpectPortraitPages(pages, 3);

    // Cells that end exactly at the bottom row (1728 = 864 x 2 = 12 x 144) and one that does not.
    for (const char* cell : {"2", "5x7", "64x144"}) {
        SCOPED_TRACE(cell);
        Gridgen({"--cell", cell, "--only", "RastelR", cell});
        const Decoded d = ReadImage(scratch.Path() / cell / "RastelR.bmp");
        ExpectOnlyGridLines(d);
        EXPECT_FALSE(Runs(d, false).empty());
    }
}

// Pictures of one's own under the catalogue's names survive a new set; the
// generator's own files (marked) are replaced, by grids of one's own making
// too, which carry the mark.
TEST(Gridgen, KeepsPicturesOfOnesOwnAndReplacesItsOwnFiles) {
    ScratchFolder scratch;
    const std::vector<std::string> three = {"--only", "RastelS.bmp,RastelR.bmp,RastelB.bmp", "set"};
    Gridgen(three);
    const std::uint8_t white[3] = {255, 255, 255};
    const std::vector<std::uint8_t> own = EncodeBmp24(ConstBgrView(white, 1, 1, 4));
    for (const char* name : {"RastelR.bmp", "RastelS.bmp"})
        std::ofstream(scratch.Path() / "set" / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(own.data()), std::streamsize(own.size()));

    std::ostringstream out, err;
    GridgenReport report;
    ASSERT_EQ(RunGridgen({"--cell", "10", three[0], three[1], three[2]}, out, err, {}, &report), 0) << err.str();
    EXPECT_EQ(report.files, 1);
    EXPECT_EQ(report.kept, (std::vector<std::string>{"RastelS.bmp", "RastelR.bmp"}));
    EXPECT_NE(out.str().find("kept 2 picture(s) of your own, not made by rastel-gridgen: RastelS.bmp RastelR.bmp"),
              std::string::npos)
        << out.str();
    for (const char* name : {"RastelR.bmp", "RastelS.bmp"}) EXPECT_TRUE(ReadFile(scratch.Path() / "set" / name) == own);
    const std::vector<std::uint8_t> made = ReadFile(scratch.Path() / "set" / "RastelB.bmp");
    EXPECT_TRUE(MadeByGridgen(made.data(), made.size()));
    const Decoded d = Decode({"RastelB.bmp", made});
    ExpectEvenLines(Runs(d, true), 10, 1, d.Width());
}


// --- Counted cells, diagonals, composition lines, labels ---------------------

// The one picture the options give for RastelS.bmp (as the window asks it).
Decoded Drawn(std::vector<std::string> args) {
    args.insert(args.end(), {"--only", "RastelS.bmp", "unused"});
    return Decode(PreviewGridgen(args));
}

// Solid pixels of row y (or column x), as positions.
std::vector<int> SolidAlong(const Decoded& d, bool alongRow, int index) {
    std::vector<int> at;
    for (int i = 0; i < (alongRow ? d.Width() : d.Height()); ++i)
        if (alongRow ? d.Solid(i, index) : d.Solid(index, i)) at.push_back(i);
    return at;
}

// Line i of N over `extent` pixels: round(i (W - 1) / N).
int LineAt(int i, int n, int extent) { return int(std::lround(double(i) * (extent - 1) / n)); }

// N x M cells over an area: 1-pixel lines at round(i (W - 1) / N), the first
// and the last on the area's edges, nothing beyond it; cells differ by one
// pixel at most. Wider and stronger lines stay inside the area.
TEST(GridGuides, CountedCellsLieAtRoundedPositions) {
    struct Case {
        int n, m, w, h;
    };
    for (const Case c : {Case{8, 6, 640, 480}, Case{10, 8, 747, 529}, Case{3, 7, 16, 100}, Case{200, 1, 2432, 1727}}) {
        SCOPED_TRACE(std::to_string(c.n) + "x" + std::to_string(c.m) + " over " + std::to_string(c.w) + "x" +
                     std::to_string(c.h));
        const std::string cells = std::to_string(c.n) + "x" + std::to_string(c.m);
        const Decoded d = Drawn({"--cells", cells, "--area", std::to_string(c.w) + "x" + std::to_string(c.h)});
        std::vector<int> across, down;
        for (int i = 0; i <= c.n; ++i) across.push_back(LineAt(i, c.n, c.w));
        for (int j = 0; j <= c.m; ++j) down.push_back(LineAt(j, c.m, c.h));
        // Row and column 1 lie inside the first cells: only the lines across them are solid.
        EXPECT_EQ(SolidAlong(d, true, 1), across);
        EXPECT_EQ(SolidAlong(d, false, 1), down);
        EXPECT_EQ(across.back(), c.w - 1);
        int narrowest = c.w, widest = 0;
        for (std::size_t i = 1; i < across.size(); ++i)
            narrowest = std::min(narrowest, across[i] - across[i - 1]), widest = std::max(widest, across[i] - across[i - 1]);
        EXPECT_LE(widest - narrowest, 1);
        EXPECT_EQ(SolidAlong(d, true, c.h).size(), 0u) << "below the area";
    }
    // 3-pixel lines, 6 at every second one: the edges' lines lie inside.
    const Decoded d = Drawn({"--cells", "4x2", "--area", "101x51", "--line", "3", "--every", "2"});
    const std::vector<int> row = SolidAlong(d, true, 20);
    const std::vector<int> expected = {0,  1,  2,  3,  4,  5,  24, 25, 26, 48, 49, 50,
                                       51, 52, 53, 74, 75, 76, 95, 96, 97, 98, 99, 100};
    EXPECT_EQ(row, expected);
}

// Thirds over 8 x 6 cells on 640 x 480: the cells' lines where they belong,
// the thirds at 213 and 426, a pixel either way.
TEST(GridGuides, ThirdsOverCountedCells) {
    const Decoded d = Drawn({"--cells", "8x6", "--area", "640x480", "--thirds"});
    const std::vector<int> row = SolidAlong(d, true, 30);
    auto solid = [&](int x) { return std::find(row.begin(), row.end(), x) != row.end(); };
    for (int i = 0; i <= 8; ++i) EXPECT_TRUE(solid(LineAt(i, 8, 640))) << i;
    for (int third : {213, 426}) EXPECT_TRUE(solid(third - 1) || solid(third) || solid(third + 1)) << third;
    // Twice the cells' width over cells, and nothing else in the row.
    EXPECT_EQ(row.size(), 9u + 2 * 2);
}

// Both diagonals of every cell (or of every block of N with --every N) are
// one pixel wide, reach the corners, and the two halves of each box are
// mirror images, left to right and top to bottom; shallow and steep cells,
// and the last, narrower block.
TEST(GridGuides, DiagonalsAreMirrorImages) {
    struct Case {
        int n, m, w, h, every;
    };
    for (const Case c : {Case{10, 8, 747, 529, 0}, Case{12, 2, 300, 401, 0}, Case{2, 13, 400, 300, 0},
                         Case{10, 7, 747, 529, 4}}) {
        const std::string cells = std::to_string(c.n) + "x" + std::to_string(c.m);
        SCOPED_TRACE(cells + " every " + std::to_string(c.every));
        std::vector<std::string> args = {"--cells", cells, "--area", std::to_string(c.w) + "x" + std::to_string(c.h),
                                         "--diagonals", "--no-cells"};
        if (c.every) args.insert(args.end(), {"--every", std::to_string(c.every)});
        const Decoded d = Drawn(args);
        const int block = c.every ? c.every : 1;
        std::vector<int> xs, ys;
        for (int i = 0; i < c.n + block; i += block) xs.push_back(LineAt(std::min(i, c.n), c.n, c.w));
        for (int j = 0; j < c.m + block; j += block) ys.push_back(LineAt(std::min(j, c.m), c.m, c.h));
        int asymmetric = 0, missing = 0;
        for (std::size_t j = 0; j + 1 < ys.size(); ++j)
            for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
                const int x0 = xs[i], x1 = xs[i + 1], y0 = ys[j], y1 = ys[j + 1];
                // Inside: a neighbour's steep diagonal may start along the shared edge.
                for (int y = y0 + 1; y < y1; ++y)
                    for (int x = x0 + 1; x < x1; ++x)
                        asymmetric += d.Solid(x, y) != d.Solid(x0 + x1 - x, y) || d.Solid(x, y) != d.Solid(x, y0 + y1 - y);
                for (int x : {x0, x1})
                    for (int y : {y0, y1}) missing += !d.Solid(x, y);
                // Each step along the longer side has its pixel, one pixel wide.
                const bool steep = y1 - y0 > x1 - x0;
                for (int t = 0; t <= (steep ? y1 - y0 : x1 - x0); ++t) {
                    const std::vector<int> line = SolidAlong(d, steep, steep ? y0 + t : x0 + t);
                    const auto inBox = std::count_if(line.begin(), line.end(),
                                                     [&](int v) { return v >= (steep ? x0 : y0) && v <= (steep ? x1 : y1); });
                    if (inBox < 1 || inBox > 4) ++missing;
                }
            }
        EXPECT_EQ(asymmetric, 0);
        EXPECT_EQ(missing, 0);
    }
    // 7-pixel cells' last corner lies just below the picture (7 x 247 = 1729):
    // a diagonal would cross the bottom-left pixel, which stays see-through.
    const Decoded d = Drawn({"--cell", "7", "--diagonals"});
    EXPECT_TRUE(d.Solid(1, d.Height() - 2));
    EXPECT_FALSE(d.Solid(0, d.Height() - 1));
}

// Composition lines cross the area: at a third, the golden section and the
// middle, as wide as the lines without cells, each pair a mirror image, and
// nothing beyond the area. Without --area they take the window at 100 %.
TEST(GridGuides, CompositionLinesAcrossTheArea) {
    struct Case {
        std::vector<std::string> args;
        int w, h;
        std::vector<double> fractions;
    };
    const std::vector<Case> cases = {
        {{"--no-cells", "--thirds", "--area", "640x480"}, 640, 480, {1.0 / 3, 2.0 / 3}},
        {{"--no-cells", "--golden", "--center", "--area", "301x200"}, 301, 200, {0.382, 0.5, 0.618}},
        {{"--no-cells", "--thirds", "--golden", "--center", "--line", "3"}, 747, 529, {1.0 / 3, 0.382, 0.5, 0.618, 2.0 / 3}},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const auto& a : c.args) shown += a + " ";
        SCOPED_TRACE(shown);
        const Decoded d = Drawn(c.args);
        const int line = shown.find("--line 3") != std::string::npos ? 3 : 1;
        for (bool alongRow : {true, false}) {
            const int extent = alongRow ? c.w : c.h;
            // Along row 2 (column 2) only the lines across it, and symmetric.
            const std::vector<int> at = SolidAlong(d, alongRow, 2);
            std::vector<int> runs;  // starts of runs
            for (std::size_t i = 0; i < at.size(); ++i)
                if (i == 0 || at[i] != at[i - 1] + 1) runs.push_back(at[i]);
            EXPECT_EQ(runs.size(), c.fractions.size());
            for (double f : c.fractions) {
                const int want = int(std::lround(f * (extent - 1)));
                EXPECT_TRUE(std::any_of(at.begin(), at.end(), [&](int v) { return std::abs(v - want) <= line / 2 + 1; }))
                    << f << " of " << extent;
            }
            for (int v : at) EXPECT_TRUE(std::binary_search(at.begin(), at.end(), extent - 1 - v)) << v;
            EXPECT_LT(at.back(), extent);
            EXPECT_EQ(at.size() % std::size_t(line), 0u);
        }
        EXPECT_TRUE(SolidAlong(d, true, c.h).empty());
        EXPECT_TRUE(SolidAlong(d, false, c.w).empty());
    }
}

// Labels: a letter over each column in its top cell and a number beside each
// row in its left cell, where the cell holds one; each label its own; nothing
// in the other cells; too small a cell leaves its label out.
TEST(GridGuides, LabelsWhereTheCellsHoldThem) {
    // 60 columns of 12 pixels hold "A" to "Z", not "AA" on; 8 rows of 66 hold 1 to 8.
    const Decoded d = Drawn({"--cells", "60x8", "--labels"});
    std::vector<int> xs, ys;
    for (int i = 0; i <= 60; ++i) xs.push_back(LineAt(i, 60, 747));
    for (int j = 0; j <= 8; ++j) ys.push_back(LineAt(j, 8, 529));
    // The solid pixels inside a cell (between its lines), as a picture.
    auto inside = [&](std::size_t i, std::size_t j) {
        std::string shape;
        for (int y = ys[j] + 1; y < ys[j + 1]; ++y)
            for (int x = xs[i] + 1; x < xs[i + 1]; ++x)
                if (d.Solid(x, y)) shape += std::to_string(x - xs[i]) + "," + std::to_string(y - ys[j]) + " ";
        return shape;
    };
    std::set<std::string> columns, rows;
    for (std::size_t i = 0; i < 60; ++i) {
        const std::string shape = inside(i, 0);
        EXPECT_EQ(shape.empty(), i >= 26) << "column " << i;
        if (i > 0 && i < 26) columns.insert(shape);
    }
    for (std::size_t j = 1; j < 8; ++j) rows.insert(inside(0, j));
    EXPECT_EQ(columns.size(), 25u) << "each letter its own";
    EXPECT_EQ(rows.size(), 7u);
    EXPECT_FALSE(rows.count(""));
    int stray = 0;
    for (std::size_t j = 1; j < 8; ++j)
        for (std::size_t i = 1; i < 60; ++i) stray += !inside(i, j).empty();
    EXPECT_EQ(stray, 0);
    // 8-pixel cells hold none: the picture is the one without labels.
    EXPECT_TRUE(PreviewGridgen({"--cell", "8", "--labels", "--only", "RastelS", "x"}).bytes ==
                PreviewGridgen({"--cell", "8", "--only", "RastelS", "x"}).bytes);
}

// The count of rectangles printed for each picture is the region builder's
// own for the part in the 96-dpi client area, with the program's see-through
// colour (white in 1-bit files, else the bottom-left pixel). Above Wine's
// limit the picture is still written, with a note.
TEST(GridGuides, RectangleCountIsTheRegionBuilders) {
    ScratchFolder scratch;
    const std::vector<std::vector<std::string>> runs = {
        {"--only", "RastelS.bmp,RastelSTate2Big.bmp", "out"},
        {"--color", "#ffffff", "--cells", "10x8", "--diagonals", "--labels", "--only", "RastelB.bmp", "out"},
        {"--diagonals", "--only", "RastelS8.bmp", "out"},
    };
    std::map<std::string, std::size_t> counted;
    std::string output;
    for (const auto& args : runs) {
        std::string o;
        Gridgen(args, &o);
        output += o;
    }
    for (const char* name : {"RastelS.bmp", "RastelSTate2Big.bmp", "RastelB.bmp", "RastelS8.bmp"}) {
        const Decoded d = ReadImage(scratch.Path() / "out" / name);
        const std::size_t n = MergedRectangleCount(BuildRegionData(Crop(d.image.View(), 747, 529), d.transparent));
        counted[name] = n;
        EXPECT_NE(output.find(" bytes, " + std::to_string(n) + " rectangles in the window at 100 %)"), std::string::npos)
            << name << " " << n << "\n"
            << output;
    }
    EXPECT_LT(counted["RastelB.bmp"], kWineMaxShapeRectangles);
    EXPECT_GT(counted["RastelS8.bmp"], kWineMaxShapeRectangles);
    EXPECT_NE(output.find("note: RastelS8.bmp needs " + std::to_string(counted["RastelS8.bmp"]) +
                          " rectangles, more than the 32766 Wine can give a window: Rastel under Wine will refuse it"),
              std::string::npos);
    EXPECT_EQ(output.find("note: RastelB"), std::string::npos);
}

// What the window previews is what the same options write. (Counted cells
// take lines as wide as the place's own 8-pixel cells: theirs are larger.)
TEST(GridGuides, PreviewIsWhatIsWritten) {
    ScratchFolder scratch;
    const std::vector<std::string> args = {"--cells", "10x8", "--diagonals", "--golden", "--labels", "--line", "8",
                                           "--only", "RastelSTate2Big.bmp", "out"};
    Gridgen(args);
    const GridImageFile preview = PreviewGridgen(args);
    EXPECT_TRUE(ReadFile(scratch.Path() / "out" / "RastelSTate2Big.bmp") == preview.bytes);
    EXPECT_EQ(Decode(preview).Width(), kGridImageWidth) << "a TateGata place named with cells becomes a grid";
    EXPECT_THROW(PreviewGridgen({"--cells", "10x8", "out"}), std::invalid_argument) << "27 files, not one";
    EXPECT_THROW(PreviewGridgen({"--cells", "0", "--only", "RastelS", "out"}), std::invalid_argument);
}

}  // namespace
}  // namespace rastel
