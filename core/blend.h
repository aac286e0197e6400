// Blend kernels of the translucent buttons, on 24-bit BGR row views.
#pragma once
#include <cstdint>

#include "color.h"
#include "pixels.h"

namespace rastel {

// Blends `src` onto `dest` with src's top-left pixel at (x, y) of dest, over
// width x height pixels; ratio above 255 counts as 255; byte-wise
// dest = (src*c + dest*(256-c)) >> 8. Clipped on every side of dest and to
// src's own size. Returns whether dest counts as modified: false for ratio 0
// or an empty column range, true otherwise (also when no row was in range).
// The column range is the one left after clipping: dest columns
// max(x, 0) .. min(x + min(width, src.width), dest.width), so with a negative x
// dest is modified exactly when some source column lands inside it.
bool BlendDraw(ConstBgrView src, int x, int y, int width, int height, BgrView dest, unsigned ratio);

// Blends a plain colour into the rectangle (x, y, width, height) of `dest`:
// p = ((c*r) >> 8) + ((p*(256-r)) >> 8) per channel. Clipped to dest.
void BlendFill(BgrView dest, int x, int y, int width, int height, Bgr color, std::uint8_t ratio);

// Splits a colour value (system colours resolved with the current table).
Bgr ColorToBgr(TColor color);

}  // namespace rastel
