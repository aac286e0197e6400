#include "framework/Dpi.h"

#include "framework/Handles.h"

#include <utility>

namespace {

template <class F>
F UserFunction(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

int pretended = 0;
std::function<int(const RECT&)> pretendedMonitorDpi;

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

int MonitorDpi(const RECT& where) {
    if (pretendedMonitorDpi) return pretendedMonitorDpi(where);
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const GetDpiForMonitorFn getDpiForMonitor = [] {
        HMODULE shcore = LoadLibraryW(L"shcore.dll");
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    UINT x = 0, y = 0;
    if (getDpiForMonitor && SUCCEEDED(getDpiForMonitor(MonitorFromRect(&where, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) &&
        y > 0)
        return int(y);
    return ScreenDpi();
}

int LayoutDpi(HWND hwnd) { return pretended > 0 ? pretended : WindowDpi(hwnd); }

int LayoutDpiAt(const RECT& where) { return pretended > 0 ? pretended : MonitorDpi(where); }

void PretendMonitorDpi(std::function<int(const RECT&)> monitorDpi) { pretendedMonitorDpi = std::move(monitorDpi); }

void PretendLayoutDpi(int ppi) { pretended = ppi > 0 ? ppi : 0; }

int PretendedLayoutDpi() { return pretended; }

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    using AdjustFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const AdjustFn adjustForDpi = UserFunction<AdjustFn>("AdjustWindowRectExForDpi");
    if (adjustForDpi && dpi > 0 && adjustForDpi(&rect, style, FALSE, exStyle, UINT(dpi))) return;
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}
