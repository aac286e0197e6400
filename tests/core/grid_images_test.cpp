#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/bmp.h"
#include "core/catalog.h"
#include "tools/grid_images.h"

namespace rastel {
namespace {

constexpr int kClientWidth = 747;
constexpr int kClientHeight = 529;
// The control cluster, with a little margin: it must lie on solid pixels.
constexpr int kClusterLeft = 610, kClusterTop = 19, kClusterRight = 732, kClusterBottom = 86;

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

const std::map<std::string, Decoded>& Images() {
    static const std::map<std::string, Decoded> images = [] {
        std::map<std::string, Decoded> m;
        for (const GridImageFile& f : MakeDefaultGridImages()) {
            Decoded d{f.name, DecodeBmp(f.bytes), {}};
            // The program's rule: white for one bit per pixel, else the bottom-left pixel.
            d.transparent = d.image.bitsPerPixel == 1 ? kWhite : d.At(0, d.image.height - 1);
            m.emplace(f.name, std::move(d));
        }
        return m;
    }();
    return images;
}

// Catalogue lookup with sizes numbered 0 "16", 1 "8", 2 "big".
std::string CatalogueName(int colour, int size, bool emphasis) {
    return GridImageFileName(colour, size == 0, size == 1, size == 2, emphasis);
}

const Decoded& Image(const std::string& name) {
    auto it = Images().find(name);
    if (it == Images().end()) throw std::runtime_error("no image " + name);
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

// Each image fits the client area, has a hole at its bottom-left pixel and
// solid pixels under the whole control cluster.
TEST(GridImages, FitTheWindowAndKeepTheControlsOnSolidPixels) {
    for (const auto& [name, d] : Images()) {
        SCOPED_TRACE(name);
        EXPECT_EQ(d.image.width, kClientWidth);
        EXPECT_EQ(d.image.height, kClientHeight);
        EXPECT_FALSE(d.Solid(0, d.image.height - 1));
        int holes = 0;
        for (int y = kClusterTop; y <= kClusterBottom; ++y)
            for (int x = kClusterLeft; x <= kClusterRight; ++x) holes += !d.Solid(x, y);
        EXPECT_EQ(holes, 0);
        // A grid, not a solid sheet: most of it is see-through.
        EXPECT_LT(d.SolidCount(), d.image.width * d.image.height / 2);
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

// Vertical lines seen along one row below the cluster: start and width of
// each solid run.
struct Runs {
    std::vector<int> starts, widths;
};

Runs VerticalLines(const Decoded& d) {
    // The row with the fewest solid pixels lies inside a row of cells.
    int bestRow = -1, bestCount = 1 << 30;
    for (int y = kClusterBottom + 10; y < d.image.height; ++y) {
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

TEST(GridImages, SizesDifferAndEmphasisThickensTheLines) {
    for (int colour = 0; colour < 4; ++colour) {
        int pitches[3];
        for (int size = 0; size < 3; ++size) {
            const Decoded& plainImage = Image(CatalogueName(colour, size, false));
            const Decoded& boldImage = Image(CatalogueName(colour, size, true));
            SCOPED_TRACE(plainImage.name + " / " + boldImage.name);
            const Runs plain = VerticalLines(plainImage);
            const Runs bold = VerticalLines(boldImage);
            pitches[size] = Pitch(plain);
            ASSERT_GT(pitches[size], 2);
            EXPECT_EQ(Pitch(bold), pitches[size]);
            EXPECT_EQ(std::set<int>(plain.widths.begin(), plain.widths.end()), std::set<int>{1});
            EXPECT_EQ(std::set<int>(bold.widths.begin(), bold.widths.end()), std::set<int>{2});
            EXPECT_GT(boldImage.SolidCount(), plainImage.SolidCount());
        }
        // "8" is the finest grid, "big" the coarsest.
        EXPECT_LT(pitches[1], pitches[0]);
        EXPECT_LT(pitches[0], pitches[2]);
    }
}

// Bounding boxes of the 4-connected groups of solid pixels.
struct Box {
    int left, top, right, bottom;  // inclusive
};

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

TEST(GridImages, TateGataShowsOneTwoAndThreePortraitPages) {
    int previousHeight = 1 << 30;
    for (int size = 0; size < 3; ++size) {
        const std::string name = CatalogueName(4, size, false);
        const int count = size + 1;
        SCOPED_TRACE(name);
        std::vector<Box> frames;
        for (const Box& b : SolidGroups(Image(name))) {
            const bool underCluster = b.left <= kClusterLeft && b.right >= kClusterRight && b.top <= kClusterTop &&
                                      b.bottom >= kClusterBottom;
            if (!underCluster) frames.push_back(b);
        }
        ASSERT_EQ(frames.size(), std::size_t(count));
        for (const Box& f : frames) {
            const double width = f.right - f.left + 1, height = f.bottom - f.top + 1;
            EXPECT_NEAR(height / width, 1.414, 0.01);
            EXPECT_EQ(height, frames[0].bottom - frames[0].top + 1);  // pages of one size
            EXPECT_GE(height, 250);
        }
        const int height = frames[0].bottom - frames[0].top + 1;
        EXPECT_LE(height, previousHeight);
        previousHeight = height;
    }
}

}  // namespace
}  // namespace rastel
