// What showing a new window shape costs under Wine, by way of showing it:
// SetWindowRgn with the platform's redraw, or without it and then painted
// (the program, SetWindowShape, drops what is still to be painted, sets the
// shape and paints the client area and the child windows at once), each
// after Image1 got a new picture, as in a switch; also in units of one
// GetWindowRgn, the copy of the window's region Wine
// makes from the server's rectangles with the same unions as
// ExtCreateRegion (so the unit follows the machine's load). Run under Wine
// with bench/grid_switch.sh --paint; figures go to bench/README.md.
//
//   shape_paint_bench.exe DIR [REPETITIONS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/wine_bench.h"
#include "app/ShapeRegion.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "framework/Forms.h"
#include "framework/Text.h"

namespace {

using wine_bench::NowMs;
using wine_bench::Pump;
using wine_bench::Median;

// The program's region of a file, in window coordinates.
HRGN ShapeOf(const std::string& file) {
    TBitmap b;
    b.LoadFromFile(file);
    UniqueRegion r = TForm1::CreateRegionFromBitmap(b, TransparentColorOf(b),
                                                    SIZE{Form1->ClientWidth(), Form1->ClientHeight()});
    const POINT off = Form1->ClientToScreen(Point(-Form1->Left(), -Form1->Top()));
    OffsetRgn(r.get(), off.x, off.y);
    return r.release();
}

double OneCopy(HWND h) {
    HRGN w = CreateRectRgn(0, 0, 0, 0);
    const double a = NowMs();
    GetWindowRgn(h, w);
    const double ms = NowMs() - a;
    DeleteObject(w);
    return std::max(ms, 0.01);
}

enum Way { kRedrawTrue, kFalseRedrawAll, kFalseClientNow, kProgram, kRepaintSameShape, kWays };
const char* const kWayNames[kWays] = {
    "SetWindowRgn TRUE, UpdateWindow",
    "FALSE, RedrawWindow with the frame",
    "FALSE, client and children painted now",
    "the program: what is due dropped, FALSE, client and children now",
    "no new shape: client repainted",
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: shape_paint_bench DIR [REPETITIONS]\n");
        return 2;
    }
    const int reps = argc > 2 ? std::max(3, std::atoi(argv[2])) : 15;
    SetCurrentDirectoryW(Widen(argv[1]).c_str());
    Application.Initialize();
    Application.CreateForm(Form1);
    Application.CreateForm(Form2);
    Form1->Show();
    Pump();
    const HWND h = Form1->Handle();
    const char* pairs[][2] = {{"RastelS8.bmp", "RastelSB8.bmp"}, {"RastelS.bmp", "RastelSB2.bmp"},
                              {"RastelSBig.bmp", "RastelSTateBig.bmp"}};
    std::printf("| shapes | way | median ms | fastest ms | median in GetWindowRgn |\n|---|---|---|---|---|\n");
    for (const auto& pair : pairs) {
        for (int way = 0; way < kWays; ++way) {
            std::vector<double> ms, units;
            for (int i = 0; i < reps; ++i) {
                const std::string file = pair[i & 1];
                Form1->Image1->Picture()->LoadFromFile(file);
                HRGN r = ShapeOf(file);
                if (way == kRepaintSameShape) {
                    SetWindowRgn(h, r, TRUE);
                    UpdateWindow(h);
                    Pump();
                    Form1->Image1->Invalidate();
                }
                const double a = NowMs();
                switch (way) {
                case kRedrawTrue: {
                    UniqueRegion owned(r);
                    SetWindowShape(h, owned, ShapePlatform::Windows());
                    UpdateWindow(h);
                    break;
                }
                case kFalseRedrawAll:
                    SetWindowRgn(h, r, FALSE);
                    RedrawWindow(h, nullptr, nullptr,
                                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
                    break;
                case kFalseClientNow:
                    SetWindowRgn(h, r, FALSE);
                    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                    break;
                case kProgram: {
                    UniqueRegion owned(r);
                    SetWindowShape(h, owned, ShapePlatform::Wine());
                    break;
                }
                case kRepaintSameShape:
                    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                    break;
                }
                Pump();
                ms.push_back(NowMs() - a);
                units.push_back(ms.back() / OneCopy(h));
                // Shown in full before the next round, whatever this way left out.
                RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                Pump();
            }
            std::printf("| %s / %s | %s | %.1f | %.1f | %.2f |\n", pair[0], pair[1], kWayNames[way], Median(ms),
                        *std::min_element(ms.begin(), ms.end()), Median(units));
            std::fflush(stdout);
        }
    }
    Application.DestroyComponents();
    return 0;
}
