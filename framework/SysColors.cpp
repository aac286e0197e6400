// The system colour table of the core, filled from the running system, and
// whether the system's high-contrast theme is on.
#include <windows.h>

#include <optional>

#include "core/color.h"
#include "framework/Graphics.h"

void LoadSystemColors() {
    rastel::SystemColorTable table = rastel::DefaultSystemColors();
    for (std::size_t i = 0; i < table.rgb.size(); ++i) {
        // Indices the system does not know keep the default scheme's value.
        if (GetSysColorBrush(int(i)) == nullptr) continue;
        table.rgb[i] = GetSysColor(int(i)) & 0x00FFFFFFu;
    }
    rastel::SetSystemColors(table);
}

namespace {
std::optional<bool> pretendedHighContrast;
}  // namespace

bool HighContrast() {
    if (pretendedHighContrast) return *pretendedHighContrast;
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof hc;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

void PretendHighContrast(std::optional<bool> on) { pretendedHighContrast = on; }
