// The pieces of the window's shape, as TForm1 makes and sets it: the runs of
// the visible part of the picture, one region from many rectangles, and the
// shape set and shown.
#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>

#include "core/pixels.h"
#include "core/region.h"
#include "framework/Bitmap.h"

// The region description (BuildRegionData's: one rectangle per run) of the
// bitmap's top-left part of at most `visible` pixels, scanned where it lies,
// as 24-bit rows or as palette indices; other formats from a 24-bit copy of
// that part. The bitmap is not changed.
rastel::RegionBuffer ScanVisiblePart(const TBitmap& bitmap, SIZE visible, rastel::Bgr transparent,
                                     const rastel::RegionBuffer::Reallocate& realloc);

using RegionMaker = std::function<HRGN(const XFORM*, DWORD, const RGNDATA*)>;

// One region of the rectangles of `data`: one call of `make` for all of
// them, or, with a chunk size, one for each run of at most that many, whose
// regions are then united two by two. Null when a call makes none; nothing
// is left behind then, nor when `make` throws.
HRGN RegionFromRectangles(const rastel::RegionBuffer& data, std::optional<std::size_t> chunk, const RegionMaker& make);

// Sets `region` (window coordinates, inside the client area) as the window's
// shape and shows it. With `paintNow` the platform is not asked to redraw:
// the client area and the child windows are painted at once instead, and
// the frame, which the shape leaves out, not at all. True when the window
// took the region (it owns it then).
bool SetWindowShape(HWND window, HRGN region, bool paintNow);
