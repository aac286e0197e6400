// Row views over 24-bit BGR pixel memory. Row 0 is the top row; stride is the
// byte distance from one row to the next below it and may be negative
// (bottom-up DIB sections).
#pragma once
#include <cstddef>
#include <cstdint>

namespace rastel {

struct Bgr {
    std::uint8_t b = 0, g = 0, r = 0;
    friend constexpr bool operator==(Bgr, Bgr) = default;
};

struct BgrView {
    std::uint8_t* data = nullptr;  // first byte of row 0
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    std::uint8_t* Row(int y) const { return data + std::ptrdiff_t(y) * stride; }
};

struct ConstBgrView {
    const std::uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    ConstBgrView() = default;
    ConstBgrView(const std::uint8_t* d, int w, int h, std::ptrdiff_t s) : data(d), width(w), height(h), stride(s) {}
    ConstBgrView(const BgrView& v) : data(v.data), width(v.width), height(v.height), stride(v.stride) {}
    const std::uint8_t* Row(int y) const { return data + std::ptrdiff_t(y) * stride; }
};

// The top-left part of `v` at most maxWidth x maxHeight pixels in size.
inline ConstBgrView Crop(ConstBgrView v, int maxWidth, int maxHeight) {
    return ConstBgrView(v.data, v.width < maxWidth ? v.width : maxWidth, v.height < maxHeight ? v.height : maxHeight,
                        v.stride);
}

}  // namespace rastel
