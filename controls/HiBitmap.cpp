#include "controls/HiBitmap.h"

#include "core/blend.h"

const ClassInfo& THiBitmap::StaticClassInfo() {
    static const ClassInfo info{"THiBitmap", &TBitmap::StaticClassInfo(), {}, {}};
    return info;
}

THiBitmap::THiBitmap() { SetPixelFormat(pf24bit); }

THiBitmap::~THiBitmap() = default;

void THiBitmap::BlendDraw(int x, int y, int width, int height, TBitmap& dest, std::uint16_t ratio) {
    // View24 converts dest to 24 bits per pixel before anything else.
    const rastel::BgrView target = dest.View24();
    const rastel::BgrView source = View24();
    const bool blended = rastel::BlendDraw(source, x, y, width, height, target, ratio);
    // From a column inside dest on, the blend counts as a modification even
    // with no row in range, also when either bitmap has no rows at all.
    if (x >= 0 ? ratio != 0 && width > 0 && x < dest.Width() : blended) dest.Modified();
}

void THiBitmap::BlendFill(int x, int y, int width, int height, TColor color, std::uint8_t ratio) {
    if (width <= 0 || height <= 0) return;
    rastel::BlendFill(View24(), x, y, width, height, rastel::ColorToBgr(color), ratio);
}

void THiBitmap::ColorToBGR(TColor color, std::uint8_t& b, std::uint8_t& g, std::uint8_t& r) {
    const rastel::Bgr c = rastel::ColorToBgr(color);
    b = c.b;
    g = c.g;
    r = c.r;
}
