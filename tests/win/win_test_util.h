// Which system the Windows tests run on. Some behaviour only Wine has (its
// font replacements), some only Windows can show (a shape of any number of
// rectangles in one call); a test of either skips elsewhere and says why.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/Application.h"

namespace win_test {

// The window manager places a window it has just mapped, or confirms a
// move, a little later and may put it a pixel away from where the program
// asked; wait until that has landed (nothing moved for 200 ms, at most 3 s)
// so that it cannot undo a later move. Returns where the window is then.
inline RECT SettledRect(HWND h) {
    RECT last{};
    GetWindowRect(h, &last);
    for (int quiet = 0, i = 0; quiet < 10 && i < 150; ++i) {
        Application.ProcessMessages();
        Sleep(20);
        RECT now{};
        GetWindowRect(h, &now);
        quiet = EqualRect(&now, &last) ? quiet + 1 : 0;
        last = now;
    }
    return last;
}

// Only Wine's ntdll has wine_get_version.
inline bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace win_test

#define RASTEL_ONLY_UNDER_WINE(why)                                              \
    do {                                                                         \
        if (!::win_test::UnderWine()) GTEST_SKIP() << "only under Wine: " << why; \
    } while (0)

#define RASTEL_ONLY_ON_WINDOWS(why)                                             \
    do {                                                                        \
        if (::win_test::UnderWine()) GTEST_SKIP() << "only on Windows: " << why; \
    } while (0)
