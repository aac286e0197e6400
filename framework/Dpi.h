// Resolution per window. A per-monitor aware window is drawn at the
// resolution of the monitor it is on, which may differ from the screen's
// (the system's) and change when the window moves. The calls that tell are
// looked up at run time: Windows before 10 (1607) has none, and there every
// window has the screen's resolution.
#pragma once
#include <windows.h>

// The window's resolution (GetDpiForWindow), or the screen's when the system
// cannot tell or hwnd is null.
int WindowDpi(HWND hwnd);

// AdjustWindowRectEx for a window drawn at `dpi`: frame and caption of that
// resolution where the system can give them (AdjustWindowRectExForDpi).
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);
