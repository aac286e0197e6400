// Live USER objects of this process, for leak tests.
//
// GetGuiResources is a stub under Wine 8 (it answers 0). There a USER handle
// is an index into the process's table in its low word; a handle whose high
// word is 0 stands for the object in that slot, whatever its generation. So
// the count here is the windows (of this process) and the menus found in
// every slot: the USER objects a form and its system menus can make or lose.
// Cursors, icons and hooks are not counted under Wine.
#pragma once
#include <windows.h>

#include <cstdint>

namespace framework_test {

inline long LiveUserObjects() {
    DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (n != 0) return long(n);
    const DWORD self = GetCurrentProcessId();
    long live = 0;
    for (std::uintptr_t slot = 0x20; slot < 0xFFF0; slot += 2) {
        const auto window = reinterpret_cast<HWND>(slot);
        DWORD pid = 0;
        if (IsWindow(window) && GetWindowThreadProcessId(window, &pid) && pid == self) ++live;
        if (IsMenu(reinterpret_cast<HMENU>(slot))) ++live;
    }
    return live;
}

}  // namespace framework_test
