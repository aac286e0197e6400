// Colour values: RGB with red in the lowest byte, or a system colour
// (top byte 0xFF, index in the low byte) resolved only when drawn.
#pragma once
#include <array>
#include <cstdint>

using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clWhite = 0xFFFFFF;

inline constexpr TColor clSystemColor = 0xFF000000;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clBtnShadow = clSystemColor | 16;
inline constexpr TColor clBtnText = clSystemColor | 18;
inline constexpr TColor clBtnHighlight = clSystemColor | 20;

namespace rastel {

constexpr TColor RGBColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == clSystemColor; }
constexpr std::uint8_t RedOf(TColor rgb) { return std::uint8_t(rgb); }
constexpr std::uint8_t GreenOf(TColor rgb) { return std::uint8_t(rgb >> 8); }
constexpr std::uint8_t BlueOf(TColor rgb) { return std::uint8_t(rgb >> 16); }

// RGB values of the system colours by index (COLOR_* numbering). The Windows
// layer fills the process-wide table from GetSysColor; tests install a fixed one.
struct SystemColorTable {
    std::array<TColor, 32> rgb{};
};

// Default table (classic Windows scheme) used until the Windows layer installs its own.
const SystemColorTable& DefaultSystemColors();
void SetSystemColors(const SystemColorTable& table);
const SystemColorTable& CurrentSystemColors();

// Resolves a colour value to plain RGB (top byte 0) with the given table, or
// the current one. An index outside the table resolves to black; any other top
// byte is masked off.
TColor ColorToRGB(TColor color, const SystemColorTable& table);
TColor ColorToRGB(TColor color);

}  // namespace rastel
