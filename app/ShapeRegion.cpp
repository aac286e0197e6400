#include "app/ShapeRegion.h"

#include <algorithm>
#include <cstring>

#include "framework/Handles.h"

VisibleRows::VisibleRows(const TBitmap& bitmap, SIZE visible) {
    const int w = std::min(bitmap.Width(), int(visible.cx)), h = std::min(bitmap.Height(), int(visible.cy));
    if (w <= 0 || h <= 0) {
        view_ = rastel::ConstBgrView(nullptr, std::max(w, 0), std::max(h, 0), 0);
        return;
    }
    if (bitmap.PixelFormat() == pf24bit) {
        view_ = rastel::ConstBgrView(bitmap.ScanLine(0), w, h, bitmap.BytesPerLine());
        return;
    }
    decoded_.resize(std::size_t(w) * 3 * std::size_t(h));
    const rastel::BgrView out{decoded_.data(), w, h, std::ptrdiff_t(w) * 3};
    bitmap.ReadPixels24(out);
    view_ = out;
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
