#include "core/mono.h"

#include <cstring>

namespace rastel {
namespace {

inline bool Is(const std::uint8_t* p, Bgr c) { return p[0] == c.b && p[1] == c.g && p[2] == c.r; }

}  // namespace

std::optional<MonoColours> MonoColoursOf(ConstBgrView pixels) {
    if (!pixels.data || pixels.width <= 0 || pixels.height <= 0) return std::nullopt;
    MonoColours c;
    const std::uint8_t* first = pixels.Row(0);
    c.colour[0] = Bgr{first[0], first[1], first[2]};
    c.count = 1;
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint8_t* p = pixels.Row(y);
        for (int x = 0; x < pixels.width; ++x, p += 3) {
            if (Is(p, c.colour[0]) || (c.count == 2 && Is(p, c.colour[1]))) continue;
            if (c.count == 2) return std::nullopt;
            c.colour[1] = Bgr{p[0], p[1], p[2]};
            c.count = 2;
        }
    }
    return c;
}

void PackMono(ConstBgrView pixels, Bgr one, std::uint8_t* bits, std::ptrdiff_t stride) {
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint8_t* p = pixels.Row(y);
        std::uint8_t* row = bits + std::ptrdiff_t(y) * stride;
        std::memset(row, 0, std::size_t(stride));
        for (int x = 0; x < pixels.width; ++x, p += 3)
            if (Is(p, one)) row[x >> 3] |= std::uint8_t(0x80u >> (x & 7));
    }
}

void ExpandMono(const std::uint8_t* bits, std::ptrdiff_t stride, Bgr zero, Bgr one, BgrView out) {
    for (int y = 0; y < out.height; ++y) {
        const std::uint8_t* row = bits + std::ptrdiff_t(y) * stride;
        std::uint8_t* p = out.Row(y);
        for (int x = 0; x < out.width; ++x, p += 3) {
            const Bgr c = (row[x >> 3] >> (7 - (x & 7))) & 1u ? one : zero;
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
        }
    }
}

}  // namespace rastel
