#include "app/ShapeRegion.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "core/blend.h"

namespace {

// A platform that makes a region from a list takes about a nanosecond for
// each pair of a rectangle given and a rectangle of the result; past this
// the wait shows.
constexpr double kLongShapePairs = double(1 << 26);

// Pairs a shape costs. In one call: the list against the result. In chunks
// (under Wine) making the region is quick, but painting the window after
// the change makes its visible region again from the platform's own copy of
// the merged rectangles: against themselves, with the first time's extra.
double ShapePairs(std::size_t given, std::size_t merged, bool chunked) {
    return chunked ? double(merged) * double(merged) : double(given) * double(merged);
}

}  // namespace

ShapePlatform ShapePlatform::Windows() { return ShapePlatform{}; }

ShapePlatform ShapePlatform::Wine() {
    ShapePlatform p;
    p.chunk = kWineRegionChunk;
    p.limit = kWineShapeRectangles;
    p.paintNow = true;
    return p;
}

bool ShapePlatform::DetectedWine() {
    static const bool wine = [] {
        HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version");
    }();
    return wine;
}

const ShapePlatform& ShapePlatform::Detected() {
    static const ShapePlatform detected = DetectedWine() ? Wine() : Windows();
    return detected;
}

ShapePlatform& ShapePlatform::Current() {
    static ShapePlatform current = Detected();
    return current;
}

WaitCursor::~WaitCursor() {
    if (shown_ && GetCursor() != before_) SetCursor(before_);
}

void WaitCursor::Show() {
    shown_ = true;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

TColor TransparentColorOf(const TBitmap& bitmap) {
    // The bottom-left pixel, read as a colour whatever the format.
    const rastel::Bgr bottomLeft = rastel::ColorToBgr(bitmap.TransparentColor());
    const std::uint8_t px[3] = {bottomLeft.b, bottomLeft.g, bottomLeft.r};
    const int bits = bitmap.PixelFormat() == pf1bit ? 1 : 24;
    const rastel::Bgr c = rastel::TransparentColorOf(rastel::ConstBgrView(px, bitmap.Empty() ? 0 : 1, 1, 3), bits);
    return rastel::RGBColor(c.r, c.g, c.b);
}

rastel::RegionBuffer ScanVisiblePart(const TBitmap& bitmap, SIZE visible, rastel::Bgr transparent,
                                     const rastel::RegionBuffer::Reallocate& realloc) {
    const int w = std::max(0, std::min(bitmap.Width(), int(visible.cx)));
    const int h = std::max(0, std::min(bitmap.Height(), int(visible.cy)));
    if (w == 0 || h == 0) return rastel::BuildRegionData(rastel::ConstBgrView(nullptr, w, h, 0), transparent, realloc);
    const TPixelFormat pf = bitmap.PixelFormat();
    if (pf == pf24bit)
        return rastel::BuildRegionData(rastel::ConstBgrView(bitmap.ScanLine(0), w, h, bitmap.BytesPerLine()),
                                       transparent, realloc);
    if (pf == pf1bit || pf == pf4bit || pf == pf8bit) {
        // Entries beyond the palette read as black, as everywhere.
        const std::vector<RGBQUAD>& palette = bitmap.Palette();
        std::array<bool, 256> hole{};
        for (std::size_t i = 0; i < hole.size(); ++i) {
            const rastel::Bgr c = i < palette.size()
                                      ? rastel::Bgr{palette[i].rgbBlue, palette[i].rgbGreen, palette[i].rgbRed}
                                      : rastel::Bgr{};
            hole[i] = c == transparent;
        }
        return rastel::BuildRegionDataFromIndices({bitmap.ScanLine(0), w, h, bitmap.BytesPerLine(), BitsPerPixel(pf)},
                                                  hole, realloc);
    }
    // Not cleared first: every byte is written.
    const auto rows = std::make_unique_for_overwrite<std::uint8_t[]>(std::size_t(w) * 3 * std::size_t(h));
    const rastel::BgrView out{rows.get(), w, h, std::ptrdiff_t(w) * 3};
    bitmap.ReadPixels24(out);
    return rastel::BuildRegionData(out, transparent, realloc);
}

UniqueRegion RegionFromRectangles(const rastel::RegionBuffer& data, std::optional<std::size_t> chunk,
                                  const RegionMaker& make) {
    const std::size_t count = data.Count();
    if (!chunk || *chunk == 0 || count <= *chunk)
        return UniqueRegion(make(nullptr, DWORD(data.Size()), reinterpret_cast<const RGNDATA*>(data.Data())));

    std::vector<std::uint8_t> buffer(rastel::kRegionHeaderSize + *chunk * rastel::kRegionRectSize);
    auto* part = reinterpret_cast<RGNDATA*>(buffer.data());
    std::memcpy(part, data.Data(), rastel::kRegionHeaderSize);  // the bounds hold for every part
    std::vector<UniqueRegion> parts;
    parts.reserve((count + *chunk - 1) / *chunk);
    for (std::size_t first = 0; first < count; first += *chunk) {
        const std::size_t n = std::min(*chunk, count - first);
        part->rdh.nCount = DWORD(n);
        std::memcpy(part->Buffer, data.Data() + rastel::kRegionHeaderSize + first * rastel::kRegionRectSize,
                    n * rastel::kRegionRectSize);
        UniqueRegion r(make(nullptr, DWORD(rastel::kRegionHeaderSize + n * rastel::kRegionRectSize), part));
        if (!r) return UniqueRegion();
        parts.push_back(std::move(r));
    }
    // Two by two, each rectangle is copied about log2(parts) times; uniting
    // the parts one after another onto the first would copy the growing
    // region once per part.
    while (parts.size() > 1) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
            if (CombineRgn(parts[i].get(), parts[i].get(), parts[i + 1].get(), RGN_OR) == ERROR) return UniqueRegion();
            parts[kept++] = std::move(parts[i]);
        }
        if (parts.size() % 2) parts[kept++] = std::move(parts.back());
        parts.resize(kept);
    }
    return std::move(parts[0]);
}

UniqueRegion MakeShapeRegion(rastel::RegionBuffer data, const ShapePlatform& platform, WaitCursor& wait) {
    const std::size_t given = data.Count();
    std::size_t merged = 0;
    if (platform.chunk) {
        // In chunks the platform gets the bands it would keep: the same
        // region from several times fewer rectangles.
        data = rastel::MergeRows(data, platform.reallocate);
        merged = data.Count();
    } else {
        merged = rastel::MergedRectangleCount(data);
    }
    // Refused before the platform is asked: beyond its limit it would hang
    // making the region or end the process showing it.
    if (platform.limit && merged > *platform.limit) throw rastel::ShapeTooComplex();
    if (ShapePairs(given, merged, platform.chunk.has_value()) > kLongShapePairs) wait.Show();
    return RegionFromRectangles(data, platform.chunk, platform.makeRegion);
}

bool SetWindowShape(HWND window, UniqueRegion& region, const ShapePlatform& platform) {
    if (!platform.paintNow) {
        if (!SetWindowRgn(window, region.get(), TRUE)) return false;
        region.release();  // the window's now
        return true;
    }
    // A part still to be painted would be cut to the new shape, which under
    // Wine means making the whole region once more; all is painted below.
    ValidateRect(window, nullptr);
    if (!SetWindowRgn(window, region.get(), FALSE)) {
        InvalidateRect(window, nullptr, FALSE);
        return false;
    }
    region.release();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return true;
}
