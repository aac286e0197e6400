// Two-colour pictures held as packed rows of one bit per pixel (the most
// significant bit is the leftmost pixel), as a 1-bit bitmap keeps them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>

#include "pixels.h"

namespace rastel {

struct MonoColours {
    Bgr colour[2]{};  // in order of first appearance, top row first
    int count = 0;    // 1 or 2; a single colour leaves colour[1] black
};

// The colours of a picture of at most two colours; nullopt for more, or for
// an empty picture.
std::optional<MonoColours> MonoColoursOf(ConstBgrView pixels);

// Writes one bit per pixel, set where the pixel is `one`; each row's bytes
// up to `stride` are written (padding zero).
void PackMono(ConstBgrView pixels, Bgr one, std::uint8_t* bits, std::ptrdiff_t stride);

// Turns packed rows into 24-bit rows: bit 0 gives `zero`, bit 1 gives `one`.
// `out` decides how many rows and pixels are read.
void ExpandMono(const std::uint8_t* bits, std::ptrdiff_t stride, Bgr zero, Bgr one, BgrView out);

}  // namespace rastel
