#include "app/ShapeRegion.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "framework/Handles.h"

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

HRGN RegionFromRectangles(const rastel::RegionBuffer& data, std::optional<std::size_t> chunk, const RegionMaker& make) {
    const std::size_t count = data.Count();
    if (!chunk || *chunk == 0 || count <= *chunk)
        return make(nullptr, DWORD(data.Size()), reinterpret_cast<const RGNDATA*>(data.Data()));

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
        if (!r) return nullptr;
        parts.push_back(std::move(r));
    }
    // Two by two, each rectangle is copied about log2(parts) times; uniting
    // the parts one after another onto the first would copy the growing
    // region once per part.
    while (parts.size() > 1) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
            if (CombineRgn(parts[i].get(), parts[i].get(), parts[i + 1].get(), RGN_OR) == ERROR) return nullptr;
            parts[kept++] = std::move(parts[i]);
        }
        if (parts.size() % 2) parts[kept++] = std::move(parts.back());
        parts.resize(kept);
    }
    return parts[0].release();
}

bool SetWindowShape(HWND window, HRGN region, bool paintNow) {
    if (!paintNow) return SetWindowRgn(window, region, TRUE) != 0;
    // A part still to be painted would be cut to the new shape, which under
    // Wine means making the whole region once more; all is painted below.
    ValidateRect(window, nullptr);
    if (!SetWindowRgn(window, region, FALSE)) {
        InvalidateRect(window, nullptr, FALSE);
        return false;
    }
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return true;
}
