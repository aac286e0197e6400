// Every question about resolution: the screen's, a window's, and the one the
// forms lay themselves out for. A per-monitor aware window is drawn at the
// resolution of the monitor it is on, which may differ from the screen's
// (the system's) and change when the window moves. The calls that tell are
// looked up at run time: Windows before 10 (1607) has none, and there every
// window has the screen's resolution.
#pragma once
#include <windows.h>

#include <functional>

// Pixels per inch of the screen (LOGPIXELSY), read once.
int ScreenDpi();

// The resolution the system draws the window at (GetDpiForWindow), or the
// screen's when the system cannot tell or hwnd is null.
int WindowDpi(HWND hwnd);

// The resolution of the monitor that holds most of `where` (the nearest
// one when none does): GetDpiForMonitor's effective resolution, the
// screen's where the system cannot tell (before Windows 8.1).
int MonitorDpi(const RECT& where);

// The resolution a form lays itself out for: its window's (WindowDpi), or
// the one a test pretends (PretendLayoutDpi).
int LayoutDpi(HWND hwnd);
// The same for a window about to be placed at `where` (MonitorDpi).
int LayoutDpiAt(const RECT& where);
// Tests: lay forms out as if every window were at `ppi`; 0 goes back to the
// real resolution.
void PretendLayoutDpi(int ppi);
int PretendedLayoutDpi();
// Tests: answer MonitorDpi as monitors Wine cannot give would; empty: the
// system's.
void PretendMonitorDpi(std::function<int(const RECT& where)> monitorDpi);

// AdjustWindowRectEx for a window drawn at `dpi`: frame and caption of that
// resolution where the system can give them (AdjustWindowRectExForDpi).
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);
