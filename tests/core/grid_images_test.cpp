#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/bmp.h"
#include "core/catalog.h"
#include "tools/grid_images.h"
#include "tools/gridgen_cli.h"

namespace rastel {
namespace {

struct Box {
    int left, top, right, bottom;  // inclusive
};

// What the main window looks like on a screen: its client size and the box
// around its controls, for the real "ＭＳ Ｐゴシック" (font height -h gives text
// height h; worked out by hand from the control table) and for the stand-in
// under Wine (the controls' rectangles as the program had them there).
struct Screen {
    int dpi;
    int windowsWidth, windowsHeight;
    Box windowsCluster;
    int wineWidth, wineHeight;
    Box wineCluster;
};
const Screen kScreens[] = {
    {96, 747, 529, {614, 23, 727, 81}, 747, 529, {614, 23, 727, 82}},
    {120, 934, 661, {768, 29, 910, 102}, 996, 705, {819, 31, 970, 107}},
    {144, 1121, 794, {921, 35, 1091, 122}, 1245, 882, {1023, 38, 1212, 134}},
    {192, 1494, 1058, {1228, 46, 1455, 163}, 1619, 1146, {1330, 50, 1576, 175}},
};

constexpr Bgr kWhite{255, 255, 255};

struct Decoded {
    std::string name;
    BmpImage image;
    Bgr transparent;

    Bgr At(int x, int y) const {
        const std::uint8_t* p = image.View().Row(y) + 3 * x;
        return {p[0], p[1], p[2]};
    }
    bool Solid(int x, int y) const { return !(At(x, y) == transparent); }
    int SolidCount() const {
        int n = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) n += Solid(x, y);
        return n;
    }
};

// The box around the controls for either font.
Box ClusterOf(const Screen& s) {
    const Box& a = s.windowsCluster;
    const Box& b = s.wineCluster;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

std::map<std::string, Decoded> DecodeAll(const std::vector<GridImageFile>& files) {
    std::map<std::string, Decoded> m;
    for (const GridImageFile& f : files) {
        Decoded d{f.name, DecodeBmp(f.bytes), {}};
        // The program's rule: white for one bit per pixel, else the bottom-left pixel.
        d.transparent = d.image.bitsPerPixel == 1 ? kWhite : d.At(0, d.image.height - 1);
        m.emplace(f.name, std::move(d));
    }
    return m;
}

const std::map<std::string, Decoded>& Images() {
    static const std::map<std::string, Decoded> images = DecodeAll(MakeDefaultGridImages());
    return images;
}

// The set the generator makes for a screen of `dpi`.
const std::map<std::string, Decoded>& ImagesFor(int dpi) {
    if (dpi == 96) return Images();
    static std::map<int, std::map<std::string, Decoded>> sets;
    auto it = sets.find(dpi);
    if (it == sets.end()) it = sets.emplace(dpi, DecodeAll(MakeGridImages(LayoutFor(KnownScalings(dpi))))).first;
    return it->second;
}

// Catalogue lookup with sizes numbered 0 "16", 1 "8", 2 "big".
std::string CatalogueName(int colour, int size, bool emphasis) {
    return GridImageFileName(colour, size == 0, size == 1, size == 2, emphasis);
}

const Decoded& Image(const std::string& name, int dpi = 96) {
    const auto& images = ImagesFor(dpi);
    auto it = images.find(name);
    if (it == images.end()) throw std::runtime_error("no image " + name);
    return it->second;
}

TEST(GridImages, NamesAreTheCataloguesTwentySeven) {
    const auto& catalogue = AllGridImageFileNames();
    const auto files = MakeDefaultGridImages();
    std::set<std::string> names;
    for (const auto& f : files) names.insert(f.name);
    EXPECT_EQ(files.size(), 27u);
    EXPECT_EQ(names, std::set<std::string>(catalogue.begin(), catalogue.end()));
}

TEST(GridImages, SameBytesEveryRun) {
    const auto a = MakeDefaultGridImages();
    const auto b = MakeDefaultGridImages();
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_TRUE(a[i].bytes == b[i].bytes) << a[i].name;
}

// On every screen each image covers the client area of the larger scaling,
// has a hole at its bottom-left pixel and solid pixels under the whole
// control cluster of both scalings.
TEST(GridImages, CoverTheScaledWindowAndKeepTheControlsOnSolidPixels) {
    for (const Screen& screen : kScreens) {
        const Box cluster = ClusterOf(screen);
        for (const auto& [name, d] : ImagesFor(screen.dpi)) {
            SCOPED_TRACE(name + " at " + std::to_string(screen.dpi) + " dpi");
            EXPECT_EQ(d.image.width, std::max(screen.windowsWidth, screen.wineWidth));
            EXPECT_EQ(d.image.height, std::max(screen.windowsHeight, screen.wineHeight));
            EXPECT_FALSE(d.Solid(0, d.image.height - 1));
            int holes = 0;
            for (int y = cluster.top; y <= cluster.bottom; ++y)
                for (int x = cluster.left; x <= cluster.right; ++x) holes += !d.Solid(x, y);
            EXPECT_EQ(holes, 0);
            // A grid, not a solid sheet: most of it is see-through.
            EXPECT_LT(d.SolidCount(), d.image.width * d.image.height / 2);
        }
    }
}

TEST(GridImages, UseOneEightAndTwentyFourBitFiles) {
    std::set<int> bits;
    for (const auto& [name, d] : Images()) bits.insert(d.image.bitsPerPixel);
    EXPECT_EQ(bits, (std::set<int>{1, 8, 24}));
    // One-bit files must have white holes; their ink is what shows.
    for (const auto& [name, d] : Images())
        if (d.image.bitsPerPixel == 1) {
            EXPECT_EQ(d.At(0, d.image.height - 1), kWhite) << name;
        }
}

TEST(GridImages, LinesHaveTheColourOfTheirCatalogueRow) {
    // Colour list order: SkyBlue, Black, Red, Orchid.
    const Bgr colours[] = {{235, 206, 135}, {0, 0, 0}, {0, 0, 255}, {214, 112, 218}};
    for (int colour = 0; colour < 4; ++colour)
        for (int size = 0; size < 3; ++size)
            for (bool emphasis : {false, true}) {
                const std::string name = CatalogueName(colour, size, emphasis);
                SCOPED_TRACE(name);
                const Decoded& d = Image(name);
                for (int y = 0; y < d.image.height; ++y)
                    for (int x = 0; x < d.image.width; ++x)
                        if (d.Solid(x, y)) {
                            ASSERT_EQ(d.At(x, y), colours[colour]) << x << "," << y;
                        }
            }
    // TateGata: sky blue, with paler tints of it.
    const Bgr skyBlue = colours[0];
    for (int size = 0; size < 3; ++size) {
        const Decoded& d = Image(CatalogueName(4, size, false));
        int blue = 0, solid = 0;
        for (int y = 0; y < d.image.height; ++y)
            for (int x = 0; x < d.image.width; ++x) {
                if (!d.Solid(x, y)) continue;
                const Bgr c = d.At(x, y);
                ++solid;
                blue += c == skyBlue;
                ASSERT_TRUE(c.b >= c.g && c.g >= c.r && c.r >= skyBlue.r) << d.name << " " << x << "," << y;
            }
        EXPECT_GT(blue, solid / 2) << d.name;
    }
}

// Vertical lines seen along one row below `fromRow`: start and width of
// each solid run.
struct Runs {
    std::vector<int> starts, widths;
};

Runs VerticalLines(const Decoded& d, int fromRow) {
    // The row with the fewest solid pixels lies inside a row of cells.
    int bestRow = -1, bestCount = 1 << 30;
    for (int y = fromRow; y < d.image.height; ++y) {
        int n = 0;
        for (int x = 0; x < d.image.width; ++x) n += d.Solid(x, y);
        if (n < bestCount) bestCount = n, bestRow = y;
    }
    Runs r;
    for (int x = 0; x < d.image.width; ++x) {
        if (!d.Solid(x, bestRow)) continue;
        int end = x;
        while (end < d.image.width && d.Solid(end, bestRow)) ++end;
        r.starts.push_back(x);
        r.widths.push_back(end - x);
        x = end;
    }
    return r;
}

// Distance between neighbouring lines, which must be the same everywhere.
int Pitch(const Runs& r) {
    std::set<int> gaps;
    for (std::size_t i = 1; i < r.starts.size(); ++i) gaps.insert(r.starts[i] - r.starts[i - 1]);
    return gaps.size() == 1 ? *gaps.begin() : -1;
}

// Cells stay 16, 8 and 32 screen pixels and lines 1 or 2 pixels wide on
// every screen: the grid is never scaled.
TEST(GridImages, CellsAndLinesKeepTheirPixelSizesOnEveryScreen) {
    const int pitches[] = {16, 8, 32};  // "16升", "8升", "大"
    for (const Screen& screen : kScreens)
        for (int colour = 0; colour < 4; ++colour)
            for (int size = 0; size < 3; ++size) {
                const Decoded& plainImage = Image(CatalogueName(colour, size, false), screen.dpi);
                const Decoded& boldImage = Image(CatalogueName(colour, size, true), screen.dpi);
                SCOPED_TRACE(plainImage.name + " / " + boldImage.name + " at " + std::to_string(screen.dpi) + " dpi");
                const int below = ClusterOf(screen).bottom + 20;
                const Runs plain = VerticalLines(plainImage, below);
                const Runs bold = VerticalLines(boldImage, below);
                EXPECT_EQ(Pitch(plain), pitches[size]);
                EXPECT_EQ(Pitch(bold), pitches[size]);
                EXPECT_EQ(std::set<int>(plain.widths.begin(), plain.widths.end()), std::set<int>{1});
                EXPECT_EQ(std::set<int>(bold.widths.begin(), bold.widths.end()), std::set<int>{2});
                // The lines run across the whole width.
                EXPECT_GE(int(plain.starts.size()), plainImage.image.width / pitches[size] - 1);
                EXPECT_GT(boldImage.SolidCount(), plainImage.SolidCount());
            }
}

// Bounding boxes of the 4-connected groups of solid pixels.
std::vector<Box> SolidGroups(const Decoded& d) {
    const int w = d.image.width, h = d.image.height;
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

// The pages fill the client area on every screen, whole for either font;
// the plate is the only other solid group, a few pixels around the cluster.
TEST(GridImages, TateGataShowsOneTwoAndThreePortraitPages) {
    for (const Screen& screen : kScreens) {
        const Box cluster = ClusterOf(screen);
        const int clientW = std::min(screen.windowsWidth, screen.wineWidth);
        const int clientH = std::min(screen.windowsHeight, screen.wineHeight);
        int previousHeight = 1 << 30;
        for (int size = 0; size < 3; ++size) {
            const std::string name = CatalogueName(4, size, false);
            const int count = size + 1;
            SCOPED_TRACE(name + " at " + std::to_string(screen.dpi) + " dpi");
            std::vector<Box> frames;
            int plates = 0;
            for (const Box& b : SolidGroups(Image(name, screen.dpi))) {
                const bool underCluster = b.left <= cluster.left && b.right >= cluster.right &&
                                          b.top <= cluster.top && b.bottom >= cluster.bottom;
                if (!underCluster) {
                    frames.push_back(b);
                    continue;
                }
                ++plates;
                EXPECT_GE(b.left, cluster.left - 12);
                EXPECT_GE(b.top, cluster.top - 12);
                EXPECT_LE(b.right, cluster.right + 12);
                EXPECT_LE(b.bottom, cluster.bottom + 12);
            }
            EXPECT_EQ(plates, 1);
            ASSERT_EQ(frames.size(), std::size_t(count));
            for (const Box& f : frames) {
                const double width = f.right - f.left + 1, height = f.bottom - f.top + 1;
                EXPECT_NEAR(height / width, 1.414, 0.01);
                EXPECT_EQ(height, frames[0].bottom - frames[0].top + 1);  // pages of one size
                EXPECT_GE(f.left, 0);
                EXPECT_LT(f.right, clientW);
                EXPECT_LT(f.bottom, clientH);
            }
            const int height = frames[0].bottom - frames[0].top + 1;
            if (count == 1) {
                EXPECT_GE(height, clientH - 20);  // one page at full height
            }
            EXPECT_GE(height, clientH * 45 / 100);
            EXPECT_LE(height, previousHeight);
            previousHeight = height;
        }
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

private:
    fs::path old_, path_;
};

TEST(Gridgen, BadArgumentsPrintAMessageAndTheUsageExitTwoAndWriteNothing) {
    ScratchFolder scratch;
    const std::vector<std::vector<std::string>> bad = {
        {},           {"--frob", "out"}, {"-x", "out"},         {"--dpi", "95", "out"}, {"--dpi", "289", "out"},
        {"--dpi=abc", "out"}, {"--dpi", "120x", "out"}, {"out", "--dpi"}, {"--dpi", "144"}, {"out", "more"},
    };
    for (const auto& args : bad) {
        std::ostringstream out, err;
        std::string shown;
        for (const auto& a : args) shown += a + " ";
        SCOPED_TRACE(shown);
        EXPECT_EQ(RunGridgen(args, out, err, {}), 2);
        EXPECT_NE(err.str().find("rastel-gridgen: "), std::string::npos) << err.str();
        EXPECT_NE(err.str().find("usage: rastel-gridgen [--dpi N] FOLDER"), std::string::npos);
        EXPECT_TRUE(scratch.Empty());
    }
    // --help is an answer, not an error, and no folder named after it.
    std::ostringstream out, err;
    EXPECT_EQ(RunGridgen({"--help"}, out, err, {}), 0);
    EXPECT_NE(out.str().find("usage: rastel-gridgen [--dpi N] FOLDER"), std::string::npos);
    EXPECT_EQ(err.str(), "");
    EXPECT_TRUE(scratch.Empty());
}

BmpImage ReadImage(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return DecodeBmp(bytes);
}

TEST(Gridgen, WritesTheSetForTheAskedOrTheMeasuredResolution) {
    ScratchFolder scratch;
    std::ostringstream out, err;
    ASSERT_EQ(RunGridgen({"--dpi", "120", "new folder"}, out, err, {}), 0) << err.str();
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.Path() / "new folder"), fs::directory_iterator()), 27);
    EXPECT_EQ(ReadImage(scratch.Path() / "new folder" / "RastelS.bmp").width, 996);

    // A host that measures its screen: without --dpi its figures count.
    GridgenHost host;
    host.measureScreen = [](int& dpi) {
        dpi = 144;
        return MainWindowScaling(144, [](int fontHeight) { return -fontHeight; });
    };
    GridgenReport report;
    ASSERT_EQ(RunGridgen({"measured"}, out, err, host, &report), 0) << err.str();
    EXPECT_EQ(report.dpi, 144);
    EXPECT_EQ(report.files, 27);
    const BmpImage measured = ReadImage(scratch.Path() / "measured" / "RastelSTateBig.bmp");
    EXPECT_EQ(measured.width, 1121);
    EXPECT_EQ(measured.height, 794);
}

// Pictures of one's own under the catalogue's names survive a new set; the
// generator's own files (marked) are replaced.
TEST(Gridgen, KeepsPicturesOfOnesOwnAndReplacesItsOwnFiles) {
    ScratchFolder scratch;
    std::ostringstream out, err;
    ASSERT_EQ(RunGridgen({"--dpi", "96", "set"}, out, err, {}), 0) << err.str();
    const std::uint8_t white[3] = {255, 255, 255};
    const std::vector<std::uint8_t> own = EncodeBmp24(ConstBgrView(white, 1, 1, 4));
    std::ofstream(scratch.Path() / "set" / "RastelR.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(own.data()), std::streamsize(own.size()));

    GridgenReport report;
    ASSERT_EQ(RunGridgen({"--dpi", "144", "set"}, out, err, {}, &report), 0) << err.str();
    EXPECT_EQ(report.files, 26);
    EXPECT_EQ(report.kept, std::vector<std::string>{"RastelR.bmp"});
    EXPECT_NE(out.str().find("kept 1 picture(s) of your own, not made by rastel-gridgen: RastelR.bmp"),
              std::string::npos);
    EXPECT_EQ(ReadImage(scratch.Path() / "set" / "RastelR.bmp").width, 1);
    EXPECT_EQ(ReadImage(scratch.Path() / "set" / "RastelS.bmp").width, 1245);
}

}  // namespace
}  // namespace rastel
