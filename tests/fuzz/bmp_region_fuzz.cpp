// libFuzzer target: any byte string through the decoder and, when it
// decodes, through the region builder as the program uses them (the part
// inside a 747 x 529 client area). Each input must decode or be refused with
// the user's text; a decoded picture's rectangles must be exactly its runs of
// solid pixels, and its merged count and merged bands those of its rows.
// Where the file's rows can be read as stored, they must be the decoded
// colours, and the region from their palette indices the same bytes.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "core/bmp.h"
#include "core/mono.h"
#include "core/region.h"

namespace {

constexpr int kClientWidth = 747;
constexpr int kClientHeight = 529;

[[noreturn]] void Fault(const char* what) {
    std::fprintf(stderr, "fault: %s\n", what);
    std::abort();
}

void Expect(bool ok, const char* what) {
    if (!ok) Fault(what);
}

std::int32_t ReadLE(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return std::int32_t(v);
}

struct Run {
    int left, right;
    friend bool operator==(const Run&, const Run&) = default;
};

// The runs of solid pixels of each row, pixel by pixel.
std::vector<std::vector<Run>> RunsOf(rastel::ConstBgrView v, rastel::Bgr hole) {
    std::vector<std::vector<Run>> rows(std::size_t(v.height));
    for (int y = 0; y < v.height; ++y) {
        const std::uint8_t* p = v.Row(y);
        int start = -1;
        for (int x = 0; x < v.width; ++x, p += 3) {
            const bool solid = p[0] != hole.b || p[1] != hole.g || p[2] != hole.r;
            if (solid && start < 0) start = x;
            if (!solid && start >= 0) {
                rows[std::size_t(y)].push_back({start, x});
                start = -1;
            }
        }
        if (start >= 0) rows[std::size_t(y)].push_back({start, v.width});
    }
    return rows;
}

void CheckRegion(rastel::ConstBgrView v, rastel::Bgr hole) {
    const rastel::RegionBuffer data = rastel::BuildRegionData(v, hole);
    const std::uint8_t* d = data.Data();
    Expect(data.Size() >= 32, "header");
    Expect(ReadLE(d) == 32 && ReadLE(d + 4) == 1 && ReadLE(d + 12) == 0, "header fields");
    Expect(ReadLE(d + 16) == 0 && ReadLE(d + 20) == 0 && ReadLE(d + 24) == v.width && ReadLE(d + 28) == v.height,
           "bounds");
    const std::uint32_t count = std::uint32_t(ReadLE(d + 8));
    Expect(data.Size() == 32 + 16 * std::size_t(count), "size and count");

    const auto rows = RunsOf(v, hole);
    std::size_t i = 0, bands = 0;
    for (int y = 0; y < v.height; ++y) {
        const auto& runs = rows[std::size_t(y)];
        for (const Run& r : runs) {
            Expect(i < count, "too few rectangles");
            const std::uint8_t* rect = d + 32 + 16 * i++;
            Expect(ReadLE(rect) == r.left && ReadLE(rect + 4) == y && ReadLE(rect + 8) == r.right &&
                       ReadLE(rect + 12) == y + 1,
                   "rectangle is not the run");
        }
        if (y == 0 || runs != rows[std::size_t(y) - 1]) bands += runs.size();
    }
    Expect(i == count, "too many rectangles");
    Expect(rastel::MergedRectangleCount(data) == bands, "merged count");

    // The bands themselves: each as high as its equal rows, with their runs.
    const rastel::RegionBuffer merged = rastel::MergeRows(data);
    const std::uint8_t* m = merged.Data();
    Expect(merged.Count() == bands && merged.Size() == 32 + 16 * std::size_t(bands), "merged size");
    std::size_t k = 0;
    for (int y = 0; y < v.height;) {
        int end = y + 1;
        while (end < v.height && rows[std::size_t(end)] == rows[std::size_t(y)]) ++end;
        for (const Run& r : rows[std::size_t(y)]) {
            Expect(k < bands, "too few merged rectangles");
            const std::uint8_t* rect = m + 32 + 16 * k++;
            Expect(ReadLE(rect) == r.left && ReadLE(rect + 4) == y && ReadLE(rect + 8) == r.right &&
                       ReadLE(rect + 12) == end,
                   "merged rectangle is not the band's run");
        }
        y = end;
    }
    Expect(k == bands, "too many merged rectangles");
}

// Palette rows as stored: the colours they name are the decoded ones, and
// the region from their indices is byte for byte the region from colours.
void CheckStoredRows(const rastel::BmpRows& rows, const rastel::BmpImage& image, rastel::Bgr hole) {
    Expect(rows.width == image.width && rows.height == image.height && rows.bitsPerPixel == image.bitsPerPixel,
           "stored rows of another picture");
    const int bpp = rows.bitsPerPixel;
    auto index = [&](int x, int y) {
        const std::uint8_t* r = rows.Row(y);
        if (bpp == 8) return int(r[x]);
        if (bpp == 4) return (r[x / 2] >> (x % 2 ? 0 : 4)) & 15;
        return (r[x / 8] >> (7 - x % 8)) & 1;
    };
    const rastel::ConstBgrView whole = image.View();
    for (int y = 0; y < rows.height; ++y)
        for (int x = 0; x < rows.width; ++x) {
            const std::uint8_t* p = whole.Row(y) + 3 * x;
            const rastel::Bgr c = bpp == 24 ? rastel::Bgr{rows.Row(y)[3 * x], rows.Row(y)[3 * x + 1], rows.Row(y)[3 * x + 2]}
                                            : rows.palette.at(std::size_t(index(x, y)));
            Expect(c.b == p[0] && c.g == p[1] && c.r == p[2], "stored rows are not the decoded colours");
        }
    if (bpp == 24) return;
    std::array<bool, 256> holes{};
    for (std::size_t i = 0; i < rows.palette.size(); ++i) holes[i] = rows.palette[i] == hole;
    const rastel::ConstBgrView visible = rastel::Crop(whole, kClientWidth, kClientHeight);
    const rastel::RegionBuffer fromIndices = rastel::BuildRegionDataFromIndices(
        {rows.top, visible.width, visible.height, rows.stride, bpp}, holes);
    const rastel::RegionBuffer fromColours = rastel::BuildRegionData(visible, hole);
    Expect(fromIndices.Size() == fromColours.Size() &&
               std::memcmp(fromIndices.Data(), fromColours.Data(), fromColours.Size()) == 0,
           "region from indices differs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::span<const std::uint8_t> file(bytes, size);
    std::optional<rastel::BmpRows> stored;
    bool storedRefused = false;
    try {
        stored = rastel::StoredBmpRows(file);
    } catch (const rastel::BmpError& e) {
        Expect(std::strcmp(e.what(), rastel::kInvalidBitmapText) == 0, "refusal text of the stored rows");
        storedRefused = true;
    }
    rastel::BmpImage image;
    try {
        image = rastel::DecodeBmp(file);
    } catch (const rastel::BmpError& e) {
        Expect(std::strcmp(e.what(), rastel::kInvalidBitmapText) == 0, "refusal text");
        Expect(!stored, "stored rows of a file the decoder refuses");
        return 0;
    }
    Expect(!storedRefused, "the stored rows refused a file the decoder reads");
    if (image.Empty()) {
        Expect(image.width == 0 && image.height == 0 && image.pixels.empty(), "empty picture with pixels");
        return 0;
    }
    Expect(image.width > 0 && image.height > 0 && image.width <= rastel::kMaxBmpSide &&
               image.height <= rastel::kMaxBmpSide,
           "size");
    Expect(image.stride >= std::size_t(image.width) * 3 && image.pixels.size() >= image.stride * image.height,
           "pixel memory");
    const rastel::ConstBgrView whole = image.View();
    const rastel::ConstBgrView visible = rastel::Crop(whole, kClientWidth, kClientHeight);
    CheckRegion(visible, rastel::TransparentColorOf(whole, image.bitsPerPixel));
    if (stored) CheckStoredRows(*stored, image, rastel::TransparentColorOf(whole, image.bitsPerPixel));

    if (image.bitsPerPixel == 1) {
        // Two colours at most, and packing them into bits and back is exact.
        const auto colours = rastel::MonoColoursOf(visible);
        Expect(colours.has_value(), "a 1-bit picture of more than two colours");
        const std::ptrdiff_t packedStride = (visible.width + 31) / 32 * 4;
        std::vector<std::uint8_t> packed(std::size_t(packedStride) * std::size_t(visible.height));
        rastel::PackMono(visible, colours->colour[1], packed.data(), packedStride);
        std::vector<std::uint8_t> back(std::size_t(visible.width) * 3 * std::size_t(visible.height));
        const rastel::BgrView out{back.data(), visible.width, visible.height, std::ptrdiff_t(visible.width) * 3};
        rastel::ExpandMono(packed.data(), packedStride, colours->colour[0], colours->colour[1], out);
        for (int y = 0; y < visible.height; ++y)
            Expect(std::memcmp(out.Row(y), visible.Row(y), std::size_t(visible.width) * 3) == 0, "1-bit round trip");
    }
    return 0;
}
