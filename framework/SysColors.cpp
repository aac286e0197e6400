// The system colour table of the core, filled from the running system.
#include <windows.h>

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
