// The window's shape, as TForm1 makes and sets it: what the platform can do
// with a shape (decided once), the runs of the visible part of the picture,
// one region from many rectangles, and the shape set and shown.
#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>

#include "core/pixels.h"
#include "core/region.h"
#include "framework/Bitmap.h"
#include "framework/Handles.h"

using RegionMaker = std::function<HRGN(const XFORM*, DWORD, const RGNDATA*)>;

// How this platform makes and shows a window's shape. Made once at start
// from what the process runs on; tests replace the one object (Current()).
struct ShapePlatform {
    // Rectangles per call of makeRegion; none: the whole list in one call.
    // Under Wine a region made from a list costs (rectangles given) x
    // (rectangles of the result), so the list goes in short chunks of the
    // merged bands, whose regions are united.
    std::optional<std::size_t> chunk;
    // Most rectangles (as the platform keeps them, neighbouring rows with the
    // same runs merged) a shape may have; none: no limit. Under Wine the X11
    // driver sends the shape in one request, which cannot hold more: the
    // process would end.
    std::optional<std::size_t> limit;
    // Show a new shape by painting the window at once rather than by the
    // platform's redraw (which under Wine also repaints the frame and makes
    // the region six times over).
    bool paintNow = false;
    RegionMaker makeRegion = [](const XFORM* xf, DWORD size, const RGNDATA* data) {
        return ::ExtCreateRegion(xf, size, data);
    };
    // How the region description grows; empty: the C library's realloc.
    rastel::RegionBuffer::Reallocate reallocate;

    static constexpr std::size_t kWineShapeRectangles = 32766;
    static constexpr std::size_t kWineRegionChunk = 16;
    // Windows itself: one call, no limit, the platform's redraw.
    static ShapePlatform Windows();
    static ShapePlatform Wine();
    // The platform the process runs on, asked once (Wine has ntdll's
    // wine_get_version, Windows does not).
    static const ShapePlatform& Detected();
    static bool DetectedWine();
    // What the program uses: Detected() unless a test replaced it.
    static ShapePlatform& Current();
};

// Shows the wait cursor once asked to, and puts back the cursor that was
// showing before when the scope ends, on every path.
class WaitCursor {
public:
    WaitCursor() : before_(GetCursor()) {}
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void Show();

private:
    HCURSOR before_;
    bool shown_ = false;
};

// Transparent colour of a grid image by the core's one rule: its bottom-left
// pixel, white for a one-bit bitmap.
TColor TransparentColorOf(const TBitmap& bitmap);

// The region description (BuildRegionData's: one rectangle per run) of the
// bitmap's top-left part of at most `visible` pixels, scanned where it lies,
// as 24-bit rows or as palette indices; other formats from a 24-bit copy of
// that part. The bitmap is not changed.
rastel::RegionBuffer ScanVisiblePart(const TBitmap& bitmap, SIZE visible, rastel::Bgr transparent,
                                     const rastel::RegionBuffer::Reallocate& realloc);

// The region of `data`'s rectangles, made as the platform makes it best.
// ShapeTooComplex, before anything is made, when the platform could not
// show it; `wait` is shown when making and showing it will take long. Null
// when the platform makes none; nothing is left behind then.
UniqueRegion MakeShapeRegion(rastel::RegionBuffer data, const ShapePlatform& platform, WaitCursor& wait);

// One region of the rectangles of `data`: one call of `make` for all of
// them, or, with a chunk size, one for each run of at most that many, whose
// regions are then united two by two. Null when a call makes none; nothing
// is left behind then, nor when `make` throws.
UniqueRegion RegionFromRectangles(const rastel::RegionBuffer& data, std::optional<std::size_t> chunk,
                                  const RegionMaker& make);

// Sets `region` (window coordinates, inside the client area) as the window's
// shape and shows it as the platform shows a shape best: with paintNow the
// platform is not asked to redraw, the client area and the child windows are
// painted at once instead, and the frame, which the shape leaves out, not at
// all. The window owns the region when this returns true; `region` is then
// empty.
bool SetWindowShape(HWND window, UniqueRegion& region, const ShapePlatform& platform);
