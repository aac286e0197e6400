// Colour values: RGB with red in the lowest byte, or a system colour
// (top byte 0xFF, index in the low byte) resolved only when drawn.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

inline constexpr TColor clSystemColor = 0xFF000000;
inline constexpr TColor clScrollBar = clSystemColor | 0;
inline constexpr TColor clBackground = clSystemColor | 1;
inline constexpr TColor clActiveCaption = clSystemColor | 2;
inline constexpr TColor clInactiveCaption = clSystemColor | 3;
inline constexpr TColor clMenu = clSystemColor | 4;
inline constexpr TColor clWindow = clSystemColor | 5;
inline constexpr TColor clWindowFrame = clSystemColor | 6;
inline constexpr TColor clMenuText = clSystemColor | 7;
inline constexpr TColor clWindowText = clSystemColor | 8;
inline constexpr TColor clCaptionText = clSystemColor | 9;
inline constexpr TColor clActiveBorder = clSystemColor | 10;
inline constexpr TColor clInactiveBorder = clSystemColor | 11;
inline constexpr TColor clAppWorkSpace = clSystemColor | 12;
inline constexpr TColor clHighlight = clSystemColor | 13;
inline constexpr TColor clHighlightText = clSystemColor | 14;
inline constexpr TColor clBtnFace = clSystemColor | 15;
inline constexpr TColor clBtnShadow = clSystemColor | 16;
inline constexpr TColor clGrayText = clSystemColor | 17;
inline constexpr TColor clBtnText = clSystemColor | 18;
inline constexpr TColor clInactiveCaptionText = clSystemColor | 19;
inline constexpr TColor clBtnHighlight = clSystemColor | 20;
inline constexpr TColor cl3DDkShadow = clSystemColor | 21;
inline constexpr TColor cl3DLight = clSystemColor | 22;
inline constexpr TColor clInfoText = clSystemColor | 23;
inline constexpr TColor clInfoBk = clSystemColor | 24;

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

// Default table used until the Windows layer installs its own: the classic
// Windows 2000 scheme (button face RGB(212,208,200), shadow 128,128,128,
// highlight white, text black).
const SystemColorTable& DefaultSystemColors();
void SetSystemColors(const SystemColorTable& table);
const SystemColorTable& CurrentSystemColors();

// Resolves a colour value to plain RGB (top byte 0) with the given table, or
// the current one. An index outside the table resolves to black; any other top
// byte is masked off.
TColor ColorToRGB(TColor color, const SystemColorTable& table);
TColor ColorToRGB(TColor color);

// Colour names of form descriptions ("clRed", "clBtnFace", ...); ASCII case
// does not matter.
std::optional<TColor> ColorFromName(std::string_view name);
// The name of a colour value, or "" when it has none.
std::string_view ColorName(TColor color);

}  // namespace rastel
