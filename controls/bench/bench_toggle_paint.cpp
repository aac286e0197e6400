// Paint time of the stay-on-top toggle: a 44 x 20 THiSukeSukeImgEx set up
// as on the main window, painted N times into a memory bitmap through the
// whole pipeline (work buffer, bevel, face, image stage, copy, caption).
//
//   bench_toggle_paint.exe [N]      (run under Wine inside a session)
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "controls/HiButton.h"
#include "framework/Forms.h"

namespace {

void Configure(THiSukeSukeImgEx& t) {
    t.SetBounds(615, 23, 44, 20);
    TStringList on{"常時前"};
    TStringList off{"フリー"};
    t.SetOnCaption(on);
    t.SetOffCaption(off);
    t.SetButtonStyle(bsToggle);
    t.SetButtonState(bstOn);
    t.SetBevelWidth(3);
    t.SetOnFaceColor(14995945);
    t.SetOnHighlightColor(15391981);
    t.SetOnShadowColor(12027588);
    t.SetShadowColor(clSilver);
    t.SetOnFontColor(clRed);
    t.SetOnFrameColor(clWhite);
    t.SetBlendRitu(255);
    t.SetImageBlendRitu(0);
    for (TFont* f : {t.Font(), t.Font2(), t.Font3()}) {
        f->SetCharset(SHIFTJIS_CHARSET);
        f->SetHeight(-12);
    }
}

double MicrosecondsPerPaint(THiSukeSukeImgEx& t, TCanvas& canvas, int n) {
    LARGE_INTEGER frequency, start, stop;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < n; ++i) t.PaintTo(canvas);
    GdiFlush();
    QueryPerformanceCounter(&stop);
    return double(stop.QuadPart - start.QuadPart) * 1e6 / double(frequency.QuadPart) / n;
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    Application.Initialize();
    THiSukeSukeImgEx toggle(nullptr);
    Configure(toggle);
    TBitmap target(44, 20);
    MicrosecondsPerPaint(toggle, target.Canvas(), 50);  // warm-up: fonts, first-paint snapshot

    const double on = MicrosecondsPerPaint(toggle, target.Canvas(), n);
    toggle.SetButtonState(bstOff);
    const double off = MicrosecondsPerPaint(toggle, target.Canvas(), n);
    TStringList none;
    toggle.SetOffCaption(none);
    const double bare = MicrosecondsPerPaint(toggle, target.Canvas(), n);
    std::printf("toggle 44x20, %d paints each\n", n);
    std::printf("on look  (caption): %8.1f us per paint\n", on);
    std::printf("off look (caption): %8.1f us per paint\n", off);
    std::printf("off look (no text): %8.1f us per paint\n", bare);
    return 0;
}
