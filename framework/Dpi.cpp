#include "framework/Dpi.h"

#include "framework/Graphics.h"

namespace {

template <class F>
F UserFunction(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

int WindowDpi(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const GetDpiForWindowFn getDpiForWindow = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
    if (hwnd && getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(hwnd); dpi > 0) return int(dpi);
    return ScreenPixelsPerInch();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const AdjustFn adjustForDpi = UserFunction<AdjustFn>("AdjustWindowRectExForDpi");
    if (adjustForDpi && dpi > 0 && adjustForDpi(&rect, style, FALSE, exStyle, UINT(dpi))) return;
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}
