#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/region.h"
#include "test_random.h"

namespace rastel {
namespace {

struct Rect {
    std::int32_t left, top, right, bottom;
    friend bool operator==(const Rect&, const Rect&) = default;
};

std::ostream& operator<<(std::ostream& os, const Rect& r) {
    return os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

std::int32_t ReadLE(const std::uint8_t* p) {
    return std::int32_t(std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
                        (std::uint32_t(p[3]) << 24));
}

// The rectangles of a buffer, after checking its header against the count and size.
std::vector<Rect> RectsOf(const RegionBuffer& buf, int width, int height) {
    EXPECT_GE(buf.Size(), 32u);
    const std::uint8_t* d = buf.Data();
    EXPECT_EQ(ReadLE(d), 32);
    EXPECT_EQ(ReadLE(d + 4), 1);
    EXPECT_EQ(ReadLE(d + 12), 0);
    EXPECT_EQ(ReadLE(d + 16), 0);
    EXPECT_EQ(ReadLE(d + 20), 0);
    EXPECT_EQ(ReadLE(d + 24), width);
    EXPECT_EQ(ReadLE(d + 28), height);
    const std::uint32_t count = std::uint32_t(ReadLE(d + 8));
    EXPECT_EQ(buf.Count(), count);
    EXPECT_EQ(buf.Size(), 32u + 16u * count);
    std::vector<Rect> rects;
    for (std::uint32_t i = 0; i < count && 32 + 16 * (i + 1) <= buf.Size(); ++i) {
        const std::uint8_t* r = d + 32 + 16 * i;
        rects.push_back({ReadLE(r), ReadLE(r + 4), ReadLE(r + 8), ReadLE(r + 12)});
    }
    return rects;
}

constexpr Bgr kHole{255, 255, 255};
constexpr Bgr kInk{200, 100, 50};

// A picture from text rows: '.' is a hole, anything else ink.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    explicit Picture(const std::vector<std::string>& rows) : width(int(rows[0].size())), height(int(rows.size())) {
        for (const std::string& row : rows)
            for (char c : row) {
                const Bgr p = c == '.' ? kHole : kInk;
                pixels.insert(pixels.end(), {p.b, p.g, p.r});
            }
    }
    Picture(int w, int h, Bgr fill) : width(w), height(h) {
        for (int i = 0; i < w * h; ++i) pixels.insert(pixels.end(), {fill.b, fill.g, fill.r});
    }
    void Set(int x, int y, Bgr c) {
        std::uint8_t* p = &pixels[(std::size_t(y) * width + x) * 3];
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
    }
    ConstBgrView View() const { return {pixels.data(), width, height, std::ptrdiff_t(width) * 3}; }
};

// Straightforward scan, pixel by pixel, to hold the fast one to.
std::vector<Rect> ReferenceRects(ConstBgrView v, Bgr t) {
    std::vector<Rect> out;
    for (int y = 0; y < v.height; ++y) {
        int start = -1;
        for (int x = 0; x <= v.width; ++x) {
            const std::uint8_t* p = v.Row(y) + 3 * x;
            const bool hole = x == v.width || (p[0] == t.b && p[1] == t.g && p[2] == t.r);
            if (!hole && start < 0) start = x;
            if (hole && start >= 0) {
                out.push_back({start, y, x, y + 1});
                start = -1;
            }
        }
    }
    return out;
}

TEST(RegionData, HeaderBytesAndOneRectangle) {
    Picture pic({"...", ".X."});
    RegionBuffer buf = BuildRegionData(pic.View(), kHole);
    const std::uint8_t expected[48] = {32, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0,  //
                                       0,  0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0,  //
                                       1,  0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0};
    ASSERT_EQ(buf.Size(), sizeof expected);
    EXPECT_EQ(std::memcmp(buf.Data(), expected, sizeof expected), 0);
}

TEST(RegionData, SolidPictureGivesOneRectanglePerRow) {
    Picture pic(5, 4, kInk);
    EXPECT_EQ(RectsOf(BuildRegionData(pic.View(), kHole), 5, 4),
              (std::vector<Rect>{{0, 0, 5, 1}, {0, 1, 5, 2}, {0, 2, 5, 3}, {0, 3, 5, 4}}));
}

TEST(RegionData, AllTransparentGivesTheBareHeader) {
    Picture pic(40, 3, kHole);
    RegionBuffer buf = BuildRegionData(pic.View(), kHole);
    EXPECT_EQ(buf.Size(), 32u);
    EXPECT_TRUE(RectsOf(buf, 40, 3).empty());
    // An empty picture gives the same bare header.
    EXPECT_TRUE(RectsOf(BuildRegionData(ConstBgrView(pic.pixels.data(), 0, 3, 0), kHole), 0, 3).empty());
    EXPECT_TRUE(RectsOf(BuildRegionData(ConstBgrView{}, kHole), 0, 0).empty());
}

TEST(RegionData, RunsAtBothEdgesSinglePixelsAndNoMergingAcrossRows) {
    Picture pic({"XX..XX", ".X.X.X", "XX..XX"});
    EXPECT_EQ(RectsOf(BuildRegionData(pic.View(), kHole), 6, 3), (std::vector<Rect>{{0, 0, 2, 1},
                                                                                    {4, 0, 6, 1},
                                                                                    {1, 1, 2, 2},
                                                                                    {3, 1, 4, 2},
                                                                                    {5, 1, 6, 2},
                                                                                    {0, 2, 2, 3},
                                                                                    {4, 2, 6, 3}}));
}

TEST(RegionData, AColourDifferingInOneChannelIsSolid) {
    // Rows wide enough for the 16-pixel steps; the odd pixel sits at each
    // position of a step and differs from the hole colour in one channel only.
    const Bgr near[3] = {{254, 255, 255}, {255, 254, 255}, {255, 255, 254}};
    for (int x = 0; x < 40; ++x) {
        Picture pic(40, 1, kHole);
        pic.Set(x, 0, near[x % 3]);
        EXPECT_EQ(RectsOf(BuildRegionData(pic.View(), kHole), 40, 1), (std::vector<Rect>{{x, 0, x + 1, 1}})) << x;
    }
}

TEST(RegionData, MatchesAPixelByPixelScanOnRandomPictures) {
    rastel::testing::TestRandom next(99);
    for (int width : {1, 15, 16, 17, 31, 47, 48, 63, 100, 257}) {
        for (int density : {2, 8, 64}) {
            Picture pic(width, 7, kHole);
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < width; ++x)
                    if (next() % density == 0) pic.Set(x, y, (next() & 1) ? kInk : Bgr{255, 255, std::uint8_t(next())});
            // Long solid stretches too, across step boundaries.
            if (width > 20)
                for (int x = 3; x < width - 2; ++x) pic.Set(x, 5, kInk);
            SCOPED_TRACE(width);
            EXPECT_EQ(RectsOf(BuildRegionData(pic.View(), kHole), width, 7), ReferenceRects(pic.View(), kHole));
        }
    }
}

// Indices give what their colours give: 1, 4 and 8 bits, widths across byte
// boundaries, palettes where several entries have the transparent colour.
TEST(RegionData, IndicesGiveTheRectanglesOfTheirColours) {
    rastel::testing::TestRandom next(31);
    for (int bits : {1, 4, 8}) {
        for (int width : {1, 7, 8, 9, 16, 17, 33, 100}) {
            const int height = 6, colours = 1 << bits;
            std::vector<Bgr> palette(static_cast<std::size_t>(colours));
            for (Bgr& c : palette) c = next() % 3 ? kInk : kHole;  // duplicates on purpose
            std::array<bool, 256> hole{};
            for (int i = 0; i < colours; ++i) hole[std::size_t(i)] = palette[std::size_t(i)] == kHole;
            const std::ptrdiff_t stride = (width * bits + 31) / 32 * 4;
            std::vector<std::uint8_t> indices(std::size_t(stride) * height);
            Picture pic(width, height, kHole);
            for (int y = 0; y < height; ++y) {
                // Long runs of one index too, so whole bytes open and close nothing.
                const bool plain = y % 3 == 0;
                const unsigned fixed = next() % unsigned(colours);
                for (int x = 0; x < width; ++x) {
                    const unsigned index = plain ? fixed : next() % unsigned(colours);
                    const int bit = x * bits;
                    indices[std::size_t(y * stride + bit / 8)] |= std::uint8_t(index << (8 - bit % 8 - bits));
                    pic.Set(x, y, palette[index]);
                }
            }
            SCOPED_TRACE(std::to_string(bits) + " bits, " + std::to_string(width) + " wide");
            const RegionBuffer fromIndices =
                BuildRegionDataFromIndices({indices.data(), width, height, stride, bits}, hole);
            EXPECT_EQ(RectsOf(fromIndices, width, height), ReferenceRects(pic.View(), kHole));
        }
    }
}

TEST(RegionData, BottomUpViewScansTheTopRowFirst) {
    Picture pic({"X...", "..XX"});
    // The same picture stored bottom-up: row 0 of the view is the last stored row.
    std::vector<std::uint8_t> flipped(pic.pixels.size());
    std::memcpy(flipped.data(), pic.pixels.data() + 12, 12);
    std::memcpy(flipped.data() + 12, pic.pixels.data(), 12);
    ConstBgrView view(flipped.data() + 12, 4, 2, -12);
    EXPECT_EQ(RectsOf(BuildRegionData(view, kHole), 4, 2), (std::vector<Rect>{{0, 0, 1, 1}, {2, 1, 4, 2}}));
}

TEST(RegionData, StrideMayCarryPadding) {
    // 3 pixels in rows of 12 bytes; the padding looks like ink and must be ignored.
    std::vector<std::uint8_t> bytes = {255, 255, 255, 1, 2, 3, 255, 255, 255, 9, 9, 9,
                                       1,   2,   3,   1, 2, 3, 1,   2,   3,   9, 9, 9};
    ConstBgrView view(bytes.data(), 3, 2, 12);
    EXPECT_EQ(RectsOf(BuildRegionData(view, kHole), 3, 2), (std::vector<Rect>{{1, 0, 2, 1}, {0, 1, 3, 2}}));
}

TEST(RegionData, TransparentColourIsTheBottomLeftPixelOrWhiteForOneBit) {
    Picture pic({"X..", ".XX"});
    pic.Set(0, 1, Bgr{1, 2, 3});
    EXPECT_EQ(TransparentColorOf(pic.View(), 24), (Bgr{1, 2, 3}));
    EXPECT_EQ(TransparentColorOf(pic.View(), 8), (Bgr{1, 2, 3}));
    EXPECT_EQ(TransparentColorOf(pic.View(), 1), kHole);
    EXPECT_EQ(TransparentColorOf(ConstBgrView{}, 24), (Bgr{0, 0, 0}));
    // The lines' colour at the bottom-left: lines become holes, the rest window.
    Picture lines({"X..", "X.."});
    EXPECT_EQ(RectsOf(BuildRegionData(lines.View(), TransparentColorOf(lines.View(), 24)), 3, 2),
              (std::vector<Rect>{{1, 0, 3, 1}, {1, 1, 3, 2}}));
}

TEST(RegionData, PictureIsLeftUnchanged) {
    Picture pic({"X.X.XXXXXXXXXXXXXXXXX", "..XXXXXXXXXXXXXXXXXX."});
    const std::vector<std::uint8_t> before = pic.pixels;
    BuildRegionData(pic.View(), kHole);
    EXPECT_EQ(pic.pixels, before);
}

// The program hands the builder only the part inside the client area.
TEST(RegionData, CropGivesTheTopLeftPartWithItsOwnBounds) {
    Picture pic({"..XXXX", "XXXXX.", "X.X.X.", "XXXXXX"});
    EXPECT_EQ(RectsOf(BuildRegionData(Crop(pic.View(), 4, 3), kHole), 4, 3),
              (std::vector<Rect>{{2, 0, 4, 1}, {0, 1, 4, 2}, {0, 2, 1, 3}, {2, 2, 3, 3}}));
    // A picture that fits: the same bytes as without the crop.
    const RegionBuffer whole = BuildRegionData(pic.View(), kHole);
    const RegionBuffer fitting = BuildRegionData(Crop(pic.View(), 747, 529), kHole);
    ASSERT_EQ(fitting.Size(), whole.Size());
    EXPECT_EQ(std::memcmp(fitting.Data(), whole.Data(), whole.Size()), 0);
}

// MergeRows of `data` covers the same pixels in bands: each band's rows have
// the same runs, the next band starts lower or has other runs, and the count
// is MergedRectangleCount's.
void ExpectBandsOf(const RegionBuffer& data, int width, int height) {
    const std::vector<Rect> rows = RectsOf(data, width, height);
    const RegionBuffer merged = MergeRows(data);
    const std::vector<Rect> bands = RectsOf(merged, width, height);
    EXPECT_EQ(bands.size(), MergedRectangleCount(data));
    auto cover = [&](const std::vector<Rect>& rects) {
        std::vector<int> c(std::size_t(width) * height);
        for (const Rect& r : rects)
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) ++c[std::size_t(y) * width + x];
        return c;
    };
    EXPECT_EQ(cover(bands), cover(rows));
    // Runs of one band: same top and bottom, left to right, not touching.
    std::vector<std::vector<Rect>> list;
    for (const Rect& r : bands) {
        if (list.empty() || list.back()[0].top != r.top) {
            if (!list.empty()) {
                EXPECT_GE(r.top, list.back()[0].bottom);
            }
            list.push_back({});
        } else {
            EXPECT_EQ(r.bottom, list.back()[0].bottom);
            EXPECT_GT(r.left, list.back().back().right);
        }
        list.back().push_back(r);
    }
    auto spans = [](const std::vector<Rect>& band) {
        std::vector<std::pair<int, int>> s;
        for (const Rect& r : band) s.emplace_back(r.left, r.right);
        return s;
    };
    for (std::size_t i = 1; i < list.size(); ++i) {
        if (list[i][0].top == list[i - 1][0].bottom) {
            EXPECT_NE(spans(list[i]), spans(list[i - 1])) << "unmerged bands";
        }
    }
}

// Counted as the platform stores a region: adjacent rows with the same runs
// are one band, anything else (another run, a row between) starts a new one.
TEST(RegionData, MergedCountIsTheRectanglesOfTheBands) {
    const struct {
        std::vector<std::string> rows;
        std::size_t merged;
    } cases[] = {
        {{"XX.X", "XX.X", "XX.X"}, 2},
        {{"XX.X", "....", "XX.X"}, 4},
        {{"XX.X", "X..X", "XX.X"}, 6},
        {{"X.X.", ".X.X", "X.X.", ".X.X"}, 8},
        {{"XXXX", "XXXX", "X..X", "X..X", "XXXX"}, 4},
        {{"XX..", ".XX.", ".XX."}, 2},
        {{"XX.X", "XX.."}, 3},
        {{"....", "...."}, 0},
    };
    for (const auto& c : cases) {
        Picture pic(c.rows);
        SCOPED_TRACE(c.rows[0] + "/" + c.rows[1]);
        const RegionBuffer data = BuildRegionData(pic.View(), kHole);
        EXPECT_EQ(MergedRectangleCount(data), c.merged);
        ExpectBandsOf(data, pic.width, pic.height);
    }
    // The band rectangles themselves, one case written out.
    Picture pic({"XX.X", "XX.X", "X..X", "XX.X", "XX.X"});
    EXPECT_EQ(RectsOf(MergeRows(BuildRegionData(pic.View(), kHole)), 4, 5),
              (std::vector<Rect>{{0, 0, 2, 2}, {3, 0, 4, 2}, {0, 2, 1, 3}, {3, 2, 4, 3}, {0, 3, 2, 5}, {3, 3, 4, 5}}));
}

TEST(RegionData, MergedRowsOfRandomPicturesAreTheirBands) {
    rastel::testing::TestRandom next(7);
    for (int round = 0; round < 40; ++round) {
        const int w = 1 + int(next() % 40), h = 1 + int(next() % 30);
        // Rows drawn from a few patterns, so that equal neighbours are common.
        std::vector<std::string> patterns(1 + next() % 4, std::string(std::size_t(w), '.'));
        for (std::string& p : patterns)
            for (char& c : p) c = next() % 3 ? 'X' : '.';
        std::vector<std::string> rows;
        for (int y = 0; y < h; ++y) rows.push_back(patterns[next() % patterns.size()]);
        Picture pic(rows);
        SCOPED_TRACE(round);
        const RegionBuffer data = BuildRegionData(pic.View(), kHole);
        ExpectBandsOf(data, w, h);
    }
}

// A rectangle united into a description gives the runs of the picture with
// that rectangle painted in, on a canvas grown to hold it; an empty one
// changes nothing.
TEST(RegionData, RectangleUnitedIntoRandomPictures) {
    rastel::testing::TestRandom next(11);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        const int w = 1 + int(next() % 30), h = 1 + int(next() % 20);
        Picture pic(w, h, kHole);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (next() % 3 == 0) pic.Set(x, y, kInk);
        RegionRect r;
        r.left = std::int32_t(next() % (w + 8));
        r.top = std::int32_t(next() % (h + 8));
        r.right = r.left + std::int32_t(next() % 10);
        r.bottom = r.top + std::int32_t(next() % 6);
        const RegionBuffer data = BuildRegionData(pic.View(), kHole);
        const RegionBuffer united = WithRectangle(data, r);
        if (r.left >= r.right || r.top >= r.bottom) {
            EXPECT_EQ(RectsOf(united, w, h), RectsOf(data, w, h));
            continue;
        }
        Picture painted(std::max(w, int(r.right)), std::max(h, int(r.bottom)), kHole);
        for (int y = 0; y < painted.height; ++y)
            for (int x = 0; x < painted.width; ++x) {
                const bool inRect = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                const bool inPic = x < w && y < h && pic.pixels[(std::size_t(y) * w + x) * 3] != kHole.b;
                if (inRect || inPic) painted.Set(x, y, kInk);
            }
        EXPECT_EQ(RectsOf(united, painted.width, painted.height), ReferenceRects(painted.View(), kHole));
    }
}

// Allocation hook that counts live blocks and can refuse the n-th request.
struct CountingAllocator {
    int calls = 0;
    int live = 0;
    int failAt = -1;  // index of the growing call that fails; -1 never
    std::vector<std::size_t> capacities;
    RegionBuffer::Reallocate Hook() {
        return [this](void* old, std::size_t n) -> void* {
            if (n == 0) {
                if (old) --live;
                std::free(old);
                return nullptr;
            }
            if (calls++ == failAt) return nullptr;
            void* p = std::realloc(old, n);
            if (p && !old) ++live;
            capacities.push_back(n);
            return p;
        };
    }
};

TEST(RegionBuffer, CapacityIsAMultipleOfTheStepAndGrowsGeometrically) {
    CountingAllocator alloc;
    {
        RegionBuffer buf(alloc.Hook());
        EXPECT_EQ(buf.Capacity(), 0u);
        std::vector<std::uint8_t> chunk(1000, 7);
        for (int i = 0; i < 200; ++i) {
            buf.Write(chunk.data(), chunk.size());
            EXPECT_EQ(buf.Capacity() % kRegionBufferStep, 0u);
            EXPECT_GE(buf.Capacity(), buf.Size());
        }
        EXPECT_EQ(buf.Size(), 200000u);
        EXPECT_EQ(buf.Data()[199999], 7);
        // 200 KB in 8 KiB steps would take 25 reallocations; doubling takes 5.
        EXPECT_LE(alloc.capacities.size(), 6u);
        for (std::size_t i = 1; i < alloc.capacities.size(); ++i)
            EXPECT_GE(alloc.capacities[i], 2 * alloc.capacities[i - 1]);
        // One big write goes straight to the step multiple that holds it.
        RegionBuffer big(alloc.Hook());
        std::vector<std::uint8_t> large(3 * kRegionBufferStep + 1);
        big.Write(large.data(), large.size());
        EXPECT_EQ(big.Capacity(), 4 * kRegionBufferStep);
    }
    EXPECT_EQ(alloc.live, 0);
}

TEST(RegionBuffer, FailedGrowthRaisesAndKeepsTheData) {
    CountingAllocator alloc;
    alloc.failAt = 1;  // the first block works, growing it fails
    {
        RegionBuffer buf(alloc.Hook());
        std::vector<std::uint8_t> chunk(kRegionBufferStep - 4, 3);
        buf.Write(chunk.data(), chunk.size());
        const std::uint8_t* before = buf.Data();
        try {
            buf.Write(chunk.data(), chunk.size());
            FAIL() << "no error";
        } catch (const RegionOutOfMemory& e) {
            EXPECT_STREQ(e.what(), "メモリストリームの拡大中にメモリが足りなくなりました");
        }
        EXPECT_EQ(buf.Data(), before);
        EXPECT_EQ(buf.Size(), chunk.size());
        EXPECT_EQ(buf.Capacity(), kRegionBufferStep);
        EXPECT_EQ(buf.Data()[chunk.size() - 1], 3);
        buf.WriteInt32(-2);  // still usable within its capacity
        EXPECT_EQ(buf.Size(), chunk.size() + 4);
    }
    EXPECT_EQ(alloc.live, 0);
}

TEST(RegionBuffer, BuildingRaisesWhenTheBufferCannotGrowAndLeaksNothing) {
    // Alternate pixels: 50 rectangles per row, 100 rows -> 80 KB of rectangles.
    Picture pic(100, 100, kHole);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; x += 2) pic.Set(x, y, kInk);
    for (int failAt : {0, 1, 2, 3}) {
        CountingAllocator alloc;
        alloc.failAt = failAt;
        EXPECT_THROW(BuildRegionData(pic.View(), kHole, alloc.Hook()), RegionOutOfMemory) << failAt;
        EXPECT_EQ(alloc.live, 0) << failAt;
    }
    CountingAllocator alloc;
    {
        RegionBuffer buf = BuildRegionData(pic.View(), kHole, alloc.Hook());
        EXPECT_EQ(buf.Count(), 5000u);
        EXPECT_EQ(buf.Capacity() % kRegionBufferStep, 0u);
        EXPECT_EQ(RectsOf(buf, 100, 100), ReferenceRects(pic.View(), kHole));
    }
    EXPECT_EQ(alloc.live, 0);
}

TEST(RegionBuffer, MovingHandsOverTheBlock) {
    CountingAllocator alloc;
    {
        RegionBuffer a(alloc.Hook());
        a.WriteInt32(5);
        RegionBuffer b(std::move(a));
        EXPECT_EQ(b.Size(), 4u);
        EXPECT_EQ(a.Size(), 0u);
        EXPECT_EQ(a.Data(), nullptr);
        RegionBuffer c;
        c.WriteInt32(1);
        c = std::move(b);
        EXPECT_EQ(ReadLE(c.Data()), 5);
        EXPECT_THROW(c.PatchInt32(2, 0), std::out_of_range);
    }
    EXPECT_EQ(alloc.live, 0);
}

}  // namespace
}  // namespace rastel
