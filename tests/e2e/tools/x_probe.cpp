// rastel-e2e-x: looks at a window from outside, as the X server sees it.
//
//   rastel-e2e-x shape WIN
//       origin, size, whether the window has a bounding shape, and its
//       rectangles (window coordinates).
//   rastel-e2e-x match WIN BMP CX CY [EX0 EY0 EX1 EY1 [CW CH]]
//       compares the window's bounding shape, in screen coordinates, with the
//       solid pixels of the grid image BMP laid with its top-left corner at
//       screen point CX,CY; then compares the colours on the screen at those
//       pixels with the image's colours, leaving out the client rectangle
//       EX0..EX1 x EY0..EY1 (inclusive, client coordinates), where controls
//       are drawn over the image. With CW CH only the image's part inside a
//       client area of that size counts: the window shows no more of it.
//       Exit 0 when both agree, 1 when not.
//   rastel-e2e-x pixel X Y
//       the colour of the screen at X,Y as "R G B".
//   rastel-e2e-x hash X Y W H
//       a hash of the screen's pixels in that rectangle, to tell whether two
//       looks of a control are the same.
//
// WIN is a window id in decimal or 0x hex. Solid means: not of the image's
// transparent colour (its bottom-left pixel, or white for 1-bit images).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/bmp.h"

namespace {

struct Rect {
    int x, y, w, h;
};

struct WindowShape {
    int originX = 0, originY = 0;  // screen position of the window's top-left corner
    int width = 0, height = 0;
    bool shaped = false;
    std::vector<Rect> rects;  // window coordinates
};

int Fail(const char* what) {
    std::fprintf(stderr, "rastel-e2e-x: %s\n", what);
    return 2;
}

Window ParseWindow(const char* s) { return Window(std::strtoul(s, nullptr, 0)); }

int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

bool ReadShape(Display* dpy, Window win, WindowShape& out) {
    XWindowAttributes attr;
    if (!XGetWindowAttributes(dpy, win, &attr)) return false;
    Window child;
    XTranslateCoordinates(dpy, win, DefaultRootWindow(dpy), 0, 0, &out.originX, &out.originY, &child);
    out.width = attr.width;
    out.height = attr.height;
    int event = 0, error = 0;
    if (!XShapeQueryExtension(dpy, &event, &error)) return false;
    Bool bShaped = False, cShaped = False;
    int bx, by, cx, cy;
    unsigned bw, bh, cw, ch;
    XShapeQueryExtents(dpy, win, &bShaped, &bx, &by, &bw, &bh, &cShaped, &cx, &cy, &cw, &ch);
    out.shaped = bShaped;
    if (!bShaped) {
        out.rects.push_back({0, 0, out.width, out.height});
        return true;
    }
    int count = 0, ordering = 0;
    XRectangle* r = XShapeGetRectangles(dpy, win, ShapeBounding, &count, &ordering);
    for (int i = 0; i < count; ++i) out.rects.push_back({r[i].x, r[i].y, r[i].width, r[i].height});
    if (r) XFree(r);
    return true;
}

bool LoadImage(const char* path, rastel::BmpImage& image) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    try {
        image = rastel::DecodeBmp(bytes);
    } catch (const std::exception&) {
        return false;
    }
    return !image.Empty();
}

int CmdShape(Display* dpy, Window win) {
    WindowShape s;
    if (!ReadShape(dpy, win, s)) return Fail("cannot read the window");
    std::printf("origin %d %d\nsize %d %d\nshaped %d\nrects %zu\n", s.originX, s.originY, s.width, s.height,
                s.shaped ? 1 : 0, s.rects.size());
    for (const Rect& r : s.rects) std::printf("%d %d %d %d\n", r.x, r.y, r.w, r.h);
    return 0;
}

int CmdMatch(Display* dpy, Window win, const char* bmpPath, int cx, int cy, Rect exclude, int clientW, int clientH) {
    WindowShape s;
    if (!ReadShape(dpy, win, s)) return Fail("cannot read the window");
    rastel::BmpImage image;
    if (!LoadImage(bmpPath, image)) return Fail("cannot read the grid image");

    // The see-through colour is the whole picture's, before any cut.
    const std::uint8_t* bl = image.View().Row(image.height - 1);
    const rastel::Bgr transparent =
        image.bitsPerPixel == 1 ? rastel::Bgr{255, 255, 255} : rastel::Bgr{bl[0], bl[1], bl[2]};
    const auto view = rastel::Crop(image.View(), clientW, clientH);
    auto solid = [&](int x, int y) {
        const std::uint8_t* p = view.Row(y) + 3 * x;
        return !(p[0] == transparent.b && p[1] == transparent.g && p[2] == transparent.r);
    };

    // Both pixel sets on one canvas in screen coordinates: bit 1 = shape, bit 2 = image.
    int x0 = std::min(s.originX, cx), y0 = std::min(s.originY, cy);
    int x1 = std::max(s.originX + s.width, cx + view.width);
    int y1 = std::max(s.originY + s.height, cy + view.height);
    const int w = x1 - x0, h = y1 - y0;
    std::vector<std::uint8_t> canvas(std::size_t(w) * h, 0);
    for (const Rect& r : s.rects) {
        // The shape never reaches beyond the window itself.
        int rx0 = std::max(r.x, 0), ry0 = std::max(r.y, 0);
        int rx1 = std::min(r.x + r.w, s.width), ry1 = std::min(r.y + r.h, s.height);
        for (int y = ry0; y < ry1; ++y)
            for (int x = rx0; x < rx1; ++x)
                canvas[std::size_t(s.originY + y - y0) * w + (s.originX + x - x0)] |= 1;
    }
    long expected = 0;
    for (int y = 0; y < view.height; ++y)
        for (int x = 0; x < view.width; ++x)
            if (solid(x, y)) {
                canvas[std::size_t(cy + y - y0) * w + (cx + x - x0)] |= 2;
                ++expected;
            }

    long missing = 0, extra = 0;
    std::string missingAt, extraAt;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t v = canvas[std::size_t(y) * w + x];
            char at[48];
            std::snprintf(at, sizeof at, " (%d,%d)", x + x0 - cx, y + y0 - cy);
            if (v == 2 && missing++ < 5) missingAt += at;
            if (v == 1 && extra++ < 5) extraAt += at;
        }
    std::printf("shape: %ld solid pixels; %ld not in the window's shape%s; %ld extra in the shape%s\n", expected,
                missing, missingAt.c_str(), extra, extraAt.c_str());

    // Colours, read back from the screen where the image is inside it.
    const int sw = DisplayWidth(dpy, DefaultScreen(dpy)), sh = DisplayHeight(dpy, DefaultScreen(dpy));
    const int gx0 = std::max(cx, 0), gy0 = std::max(cy, 0);
    const int gx1 = std::min(cx + view.width, sw), gy1 = std::min(cy + view.height, sh);
    long checked = 0, wrong = 0;
    std::string wrongAt;
    if (gx1 > gx0 && gy1 > gy0) {
        XImage* shot = XGetImage(dpy, DefaultRootWindow(dpy), gx0, gy0, unsigned(gx1 - gx0), unsigned(gy1 - gy0),
                                 AllPlanes, ZPixmap);
        if (!shot) return Fail("cannot read the screen");
        for (int sy = gy0; sy < gy1; ++sy)
            for (int sx = gx0; sx < gx1; ++sx) {
                const int x = sx - cx, y = sy - cy;
                if (!solid(x, y)) continue;
                if (x >= exclude.x && x < exclude.x + exclude.w && y >= exclude.y && y < exclude.y + exclude.h)
                    continue;
                ++checked;
                const unsigned long p = XGetPixel(shot, sx - gx0, sy - gy0);
                const unsigned r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
                const std::uint8_t* want = view.Row(y) + 3 * x;
                if (r != want[2] || g != want[1] || b != want[0]) {
                    if (wrong++ < 5) {
                        char at[96];
                        std::snprintf(at, sizeof at, " (%d,%d) is %u,%u,%u not %u,%u,%u", x, y, r, g, b, want[2],
                                      want[1], want[0]);
                        wrongAt += at;
                    }
                }
            }
        XDestroyImage(shot);
    }
    std::printf("colour: %ld pixels checked; %ld wrong%s\n", checked, wrong, wrongAt.c_str());
    return missing == 0 && extra == 0 && wrong == 0 && checked > 0 ? 0 : 1;
}

int CmdPixel(Display* dpy, int x, int y) {
    XImage* shot = XGetImage(dpy, DefaultRootWindow(dpy), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!shot) return Fail("cannot read the screen");
    const unsigned long p = XGetPixel(shot, 0, 0);
    std::printf("%lu %lu %lu\n", (p >> 16) & 255, (p >> 8) & 255, p & 255);
    XDestroyImage(shot);
    return 0;
}

int CmdHash(Display* dpy, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return Fail("empty rectangle");
    XImage* shot = XGetImage(dpy, DefaultRootWindow(dpy), x, y, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
    if (!shot) return Fail("cannot read the screen");
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx) {
            const unsigned long p = XGetPixel(shot, xx, yy) & 0xFFFFFF;
            for (int k = 0; k < 3; ++k) {
                hash ^= (p >> (8 * k)) & 255;
                hash *= 1099511628211ull;
            }
        }
    XDestroyImage(shot);
    std::printf("%016llx\n", static_cast<unsigned long long>(hash));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Fail("usage: shape WIN | match WIN BMP CX CY [EX0 EY0 EX1 EY1 [CW CH]] | pixel X Y | hash X Y W H");
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return Fail("cannot open the display");
    XSetErrorHandler(IgnoreXErrors);
    const std::string cmd = argv[1];
    int rc = 2;
    if (cmd == "shape" && argc == 3) {
        rc = CmdShape(dpy, ParseWindow(argv[2]));
    } else if (cmd == "match" && (argc == 6 || argc == 10 || argc == 12)) {
        Rect exclude{0, 0, 0, 0};
        if (argc >= 10) {
            const int ex0 = std::atoi(argv[6]), ey0 = std::atoi(argv[7]);
            exclude = {ex0, ey0, std::atoi(argv[8]) - ex0 + 1, std::atoi(argv[9]) - ey0 + 1};
        }
        const int clientW = argc == 12 ? std::atoi(argv[10]) : INT_MAX, clientH = argc == 12 ? std::atoi(argv[11]) : INT_MAX;
        rc = CmdMatch(dpy, ParseWindow(argv[2]), argv[3], std::atoi(argv[4]), std::atoi(argv[5]), exclude, clientW,
                      clientH);
    } else if (cmd == "hash" && argc == 6) {
        rc = CmdHash(dpy, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    } else if (cmd == "pixel" && argc == 4) {
        rc = CmdPixel(dpy, std::atoi(argv[2]), std::atoi(argv[3]));
    } else {
        rc = Fail("bad arguments");
    }
    XCloseDisplay(dpy);
    return rc;
}
