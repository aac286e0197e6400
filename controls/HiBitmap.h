// THiBitmap: the 24-bit off-screen picture of the translucent buttons, with
// the two blend operations that make them see-through.
#pragma once
#include <cstdint>

#include "framework/Bitmap.h"

class THiBitmap : public TBitmap {
    RASTEL_CLASS_INFO
public:
    // Empty, 24 bits per pixel.
    THiBitmap();
    ~THiBitmap() override;

    // Blends this bitmap onto dest with its top-left pixel at (x, y) of dest,
    // over width x height pixels, byte by byte:
    // dest = (src * c + dest * (256 - c)) >> 8 with c = min(ratio, 255).
    // Dest becomes 24 bits per pixel first, whatever else happens. Clipped to
    // dest and to this bitmap. Dest's change notification fires exactly when
    // the blend counts as a modification: not for ratio 0 nor for an empty
    // column range, but also when no row was in range.
    void BlendDraw(int x, int y, int width, int height, TBitmap& dest, std::uint16_t ratio);

    // Blends a plain colour into the rectangle (x, y, width, height):
    // p = ((colour * r) >> 8) + ((p * (256 - r)) >> 8) per channel, each term
    // truncated on its own. Clipped to the bitmap, so a rectangle reaching
    // past an edge never writes outside the pixels. Fires no change
    // notification (the buttons blend many strips per paint).
    void BlendFill(int x, int y, int width, int height, TColor color, std::uint8_t ratio);

    // Blue, green and red bytes of a colour; system colours take their
    // current value.
    static void ColorToBGR(TColor color, std::uint8_t& b, std::uint8_t& g, std::uint8_t& r);
};
