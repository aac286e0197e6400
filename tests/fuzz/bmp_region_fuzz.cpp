// libFuzzer target: any byte string through the decoder and, when it
// decodes, through the region builder as the program uses them (the part
// inside a 747 x 529 client area). Each input must decode or be refused with
// the user's text; a decoded picture's rectangles must be exactly its runs of
// solid pixels, and its merged count that of its bands of equal rows.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    rastel::BmpImage image;
    try {
        image = rastel::DecodeBmp(std::span<const std::uint8_t>(bytes, size));
    } catch (const rastel::BmpError& e) {
        Expect(std::strcmp(e.what(), rastel::kInvalidBitmapText) == 0, "refusal text");
        return 0;
    }
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
