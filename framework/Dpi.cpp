#include "framework/Dpi.h"

#include "framework/Handles.h"

namespace {

template <class F>
F UserFunction(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

int pretended = 0;

}  // namespace

int ScreenDpi() {
    static const int ppi = [] {
        WindowDC dc(nullptr);
        int v = dc ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
        return v > 0 ? v : 96;
    }();
    return ppi;
}

int WindowDpi(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const GetDpiForWindowFn getDpiForWindow = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
    if (hwnd && getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(hwnd); dpi > 0) return int(dpi);
    return ScreenDpi();
}

int LayoutDpi(HWND hwnd) { return pretended > 0 ? pretended : WindowDpi(hwnd); }

void PretendLayoutDpi(int ppi) { pretended = ppi > 0 ? ppi : 0; }

int PretendedLayoutDpi() { return pretended; }

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const AdjustFn adjustForDpi = UserFunction<AdjustFn>("AdjustWindowRectExForDpi");
    if (adjustForDpi && dpi > 0 && adjustForDpi(&rect, style, FALSE, exStyle, UINT(dpi))) return;
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}
