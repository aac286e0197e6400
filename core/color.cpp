#include "core/color.h"

#include <cstddef>

namespace rastel {
namespace {

constexpr SystemColorTable MakeClassicScheme() {
    SystemColorTable t{};
    auto set = [&t](int index, std::uint8_t r, std::uint8_t g, std::uint8_t b) { t.rgb[index] = RGBColor(r, g, b); };
    set(0, 212, 208, 200);   // scroll bar
    set(1, 58, 110, 165);    // desktop
    set(2, 10, 36, 106);     // active caption
    set(3, 128, 128, 128);   // inactive caption
    set(4, 212, 208, 200);   // menu
    set(5, 255, 255, 255);   // window
    set(6, 0, 0, 0);         // window frame
    set(7, 0, 0, 0);         // menu text
    set(8, 0, 0, 0);         // window text
    set(9, 255, 255, 255);   // caption text
    set(10, 212, 208, 200);  // active border
    set(11, 212, 208, 200);  // inactive border
    set(12, 128, 128, 128);  // application workspace
    set(13, 10, 36, 106);    // highlight
    set(14, 255, 255, 255);  // highlight text
    set(15, 212, 208, 200);  // button face
    set(16, 128, 128, 128);  // button shadow
    set(17, 128, 128, 128);  // grey text
    set(18, 0, 0, 0);        // button text
    set(19, 212, 208, 200);  // inactive caption text
    set(20, 255, 255, 255);  // button highlight
    set(21, 64, 64, 64);     // 3D dark shadow
    set(22, 212, 208, 200);  // 3D light
    set(23, 0, 0, 0);        // tooltip text
    set(24, 255, 255, 225);  // tooltip background
    set(26, 0, 0, 128);      // hot-tracked item
    set(27, 166, 202, 240);  // active caption gradient
    set(28, 192, 192, 192);  // inactive caption gradient
    set(29, 10, 36, 106);    // menu highlight
    set(30, 212, 208, 200);  // menu bar
    return t;
}

constexpr SystemColorTable kClassicScheme = MakeClassicScheme();
SystemColorTable gCurrent = kClassicScheme;

struct NamedColor {
    std::string_view name;
    TColor value;
};

constexpr NamedColor kNamedColors[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clScrollBar", clScrollBar},
    {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText},
    {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder},
    {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},
    {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk},
};

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

const SystemColorTable& DefaultSystemColors() { return kClassicScheme; }

void SetSystemColors(const SystemColorTable& table) { gCurrent = table; }

const SystemColorTable& CurrentSystemColors() { return gCurrent; }

TColor ColorToRGB(TColor color, const SystemColorTable& table) {
    if (IsSystemColor(color)) {
        std::size_t index = color & 0xFFu;
        return index < table.rgb.size() ? (table.rgb[index] & 0x00FFFFFFu) : clBlack;
    }
    return color & 0x00FFFFFFu;
}

TColor ColorToRGB(TColor color) { return ColorToRGB(color, gCurrent); }

std::optional<TColor> ColorFromName(std::string_view name) {
    for (const NamedColor& c : kNamedColors)
        if (EqualsIgnoringAsciiCase(c.name, name)) return c.value;
    return std::nullopt;
}

std::string_view ColorName(TColor color) {
    for (const NamedColor& c : kNamedColors)
        if (c.value == color) return c.name;
    return {};
}

}  // namespace rastel
