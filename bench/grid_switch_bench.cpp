// The grid switch under Wine, stage by stage: what happens between a click in
// the control cluster and the new shape on the screen. Run it in a headless
// session with bench/grid_switch.sh; figures go to bench/README.md.
//
//   grid_switch_bench.exe DIR [REPETITIONS]
//
// DIR holds the 27 default grid images; pictures of one's own are written
// next to them: 7-pixel cells at the client area's size and at 1920 x 1080,
// 32-pixel cells at 3840 x 2160, 8-pixel cells at 2432 x 1728 in 1 and in 8
// bits and 96-pixel ones in 8 bits, with as few rectangles as a TateGata
// page (the size of grid images made for every screen), a one-pixel
// checkerboard Wine cannot show and one just below that limit. Each
// repetition goes through the stages of ApplyGridImage with the program's
// own pieces (read, decode, the scan of the visible part, the region from
// its rectangles, Image1, the shape set and painted), then applies the same
// file once more through ApplyGridImage itself, timed as a whole.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/wine_bench.h"
#include "app/ShapeRegion.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "core/blend.h"
#include "core/bmp.h"
#include "core/catalog.h"
#include "core/region.h"
#include "framework/Forms.h"
#include "framework/Text.h"

namespace {

using wine_bench::NowMs;
using wine_bench::Pump;
using wine_bench::ReadWhole;
using wine_bench::WriteWhole;

struct Samples {
    std::vector<double> ms;
    double Quantile(double q) const {
        if (ms.empty()) return 0;
        std::vector<double> s = ms;
        std::sort(s.begin(), s.end());
        // Nearest rank: with few samples the p95 is the slowest but one or the slowest.
        const std::size_t rank = std::size_t(q * double(s.size()) + 0.999999);
        return s[std::min(s.size(), std::max<std::size_t>(rank, 1)) - 1];
    }
    double Median() const { return Quantile(0.5); }
    double P95() const { return Quantile(0.95); }
};

// Red one-pixel lines on the last pixel of each cell, on white, as the
// default pictures draw them.
std::vector<std::uint8_t> GridPicture(int w, int h, int cell) {
    const std::size_t stride = std::size_t(w) * 3;
    std::vector<std::uint8_t> px(stride * std::size_t(h), 255);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x % cell == cell - 1 || y % cell == cell - 1) {
                std::uint8_t* p = px.data() + std::size_t(y) * stride + std::size_t(x) * 3;
                p[0] = 0;
                p[1] = 0;
                p[2] = 255;
            }
    return rastel::EncodeBmp24(rastel::ConstBgrView(px.data(), w, h, std::ptrdiff_t(stride)));
}

// The same cells in 1 bit (white and the line colour) or 8 bits.
std::vector<std::uint8_t> GridPictureIn(int bits, int w, int h, int cell) {
    const rastel::BmpImage img = rastel::DecodeBmp(GridPicture(w, h, cell));
    return bits == 1 ? rastel::EncodeBmp1(img.View(), {255, 255, 255}, {0, 0, 255}) : rastel::EncodeBmp8(img.View());
}

// A one-pixel checkerboard of one bit per pixel: no two rows merge.
std::vector<std::uint8_t> Checkerboard(int w, int h) {
    const std::size_t stride = std::size_t(w) * 3;
    std::vector<std::uint8_t> px(stride * std::size_t(h), 255);
    for (int y = 0; y < h; ++y)
        for (int x = (y & 1); x < w; x += 2) std::memset(px.data() + std::size_t(y) * stride + std::size_t(x) * 3, 0, 3);
    return rastel::EncodeBmp1(rastel::ConstBgrView(px.data(), w, h, std::ptrdiff_t(stride)), {255, 255, 255}, {0, 0, 0});
}

enum Stage { kRead, kDecode, kScan, kRegion, kImage, kShape, kStages };
const char* const kStageNames[kStages] = {"read", "decode", "scan", "region", "Image1", "SetWindowRgn + paint"};

struct Result {
    std::string name;
    int width = 0, height = 0, bits = 0;
    DWORD given = 0, merged = 0;
    Samples stage[kStages];
    Samples sum;    // of the stages
    Samples apply;  // ApplyGridImage as a whole
    std::string note;
};

// One pass through the stages of ApplyGridImage, with the pieces it uses in
// its order. False when the shape was refused.
bool Staged(const std::string& file, Result& r) {
    double t[kStages + 1];
    t[0] = NowMs();
    const std::vector<std::uint8_t> bytes = ReadWhole(file);
    t[1] = NowMs();
    TBitmap work;
    work.LoadFromBytes(bytes);
    t[2] = NowMs();
    const SIZE client{Form1->ClientWidth(), Form1->ClientHeight()};
    const ShapePlatform& platform = ShapePlatform::Current();
    const std::optional<std::size_t> chunk = platform.chunk;
    rastel::RegionBuffer data = ScanVisiblePart(work, client, rastel::ColorToBgr(TransparentColorOf(work)), {});
    std::size_t merged = 0;
    r.given = data.Count();
    if (chunk) {
        data = rastel::MergeRows(data);
        merged = data.Count();
    } else {
        merged = rastel::MergedRectangleCount(data);
    }
    r.merged = DWORD(merged);
    t[3] = NowMs();
    if (platform.limit && merged > *platform.limit) {
        char note[96];
        std::snprintf(note, sizeof note, "refused after %.1f ms: more rectangles than Wine can show", t[3] - t[0]);
        r.note = note;
        return false;
    }
    UniqueRegion region = RegionFromRectangles(data, chunk, platform.makeRegion);
    t[4] = NowMs();
    if (!region) throw std::runtime_error("no region for " + file);
    Form1->Image1->SetAutoSize(true);
    Form1->Image1->Picture()->Assign(work);
    Form1->Image1->SetLeft(0);
    Form1->Image1->SetTop(0);
    t[5] = NowMs();
    const POINT offset = Form1->ClientToScreen(Point(-Form1->Left(), -Form1->Top()));
    OffsetRgn(region.get(), offset.x, offset.y);
    SetWindowShape(Form1->Handle(), region, platform);
    UpdateWindow(Form1->Handle());
    Pump();
    t[6] = NowMs();
    double sum = 0;
    for (int s = 0; s < kStages; ++s) {
        r.stage[s].ms.push_back(t[s + 1] - t[s]);
        sum += t[s + 1] - t[s];
    }
    r.sum.ms.push_back(sum);
    return true;
}

void Whole(const std::string& file, Result& r) {
    const double a = NowMs();
    Form1->ApplyGridImage(file);
    UpdateWindow(Form1->Handle());
    Pump();
    r.apply.ms.push_back(NowMs() - a);
}

Result Measure(const std::string& file, int repetitions) {
    Result r;
    r.name = file;
    TBitmap image;
    image.LoadFromBytes(ReadWhole(file));
    r.width = image.Width();
    r.height = image.Height();
    r.bits = image.SourceBitsPerPixel();
    for (int i = 0; i < repetitions; ++i) {
        if (!Staged(file, r)) break;
        Whole(file, r);
    }
    return r;
}

void PrintRow(const Result& r) {
    std::printf("| %s | %dx%d %d-bit | %lu / %lu |", r.name.c_str(), r.width, r.height, r.bits,
                (unsigned long)r.given, (unsigned long)r.merged);
    if (!r.note.empty()) {
        for (int s = 0; s < kStages + 2; ++s) std::printf(" |");
        std::printf(" %s |\n", r.note.c_str());
        return;
    }
    for (int s = 0; s < kStages; ++s) std::printf(" %.1f / %.1f |", r.stage[s].Median(), r.stage[s].P95());
    std::printf(" %.1f / %.1f | %.1f / %.1f |", r.sum.Median(), r.sum.P95(), r.apply.Median(), r.apply.P95());
    // Ours: read, decode and scan; the rest is the platform's.
    Samples ours;
    for (std::size_t i = 0; i < r.sum.ms.size(); ++i)
        ours.ms.push_back(100.0 *
                          (r.stage[kRead].ms[i] + r.stage[kDecode].ms[i] + r.stage[kScan].ms[i]) /
                          r.sum.ms[i]);
    std::printf(" %.0f %% |\n", ours.Median());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: grid_switch_bench DIR [REPETITIONS]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;
    try {
        if (!SetCurrentDirectoryW(Widen(dir).c_str())) throw std::runtime_error("no folder " + dir);
        WriteWhole("Client747x7.bmp", GridPicture(747, 529, 7));
        WriteWhole("Screen1080x7.bmp", GridPicture(1920, 1080, 7));
        WriteWhole("Screen2160x32.bmp", GridPicture(3840, 2160, 32));
        WriteWhole("Large2432x8-1bit.bmp", GridPictureIn(1, 2432, 1728, 8));
        WriteWhole("Large2432x8-8bit.bmp", GridPictureIn(8, 2432, 1728, 8));
        WriteWhole("Large2432x96-8bit.bmp", GridPictureIn(8, 2432, 1728, 96));
        WriteWhole("Checkerboard1.bmp", Checkerboard(747, 529));
        WriteWhole("Checker747x87.bmp", Checkerboard(747, 87));

        Application.Initialize();
        Application.SetTitle("Rastel");
        std::string lastError;
        Application.ErrorBoxHook = [&](const std::string&, const std::string& text, UINT) { lastError = text; };
        Application.CreateForm(Form1);
        Application.CreateForm(Form2);
        Form1->Show();
        Pump();
        if (!lastError.empty()) throw std::runtime_error("start: " + lastError);

        std::printf("| picture | size | rectangles given / merged |");
        for (const char* s : kStageNames) std::printf(" %s |", s);
        std::printf(" sum | ApplyGridImage | ours |\n|---|---|---|");
        for (int s = 0; s < kStages + 3; ++s) std::printf("---|");
        std::printf("\n");
        std::fflush(stdout);
        std::vector<std::string> files = rastel::AllGridImageFileNames();
        for (const char* extra : {"Client747x7.bmp", "Screen1080x7.bmp", "Screen2160x32.bmp", "Large2432x8-1bit.bmp",
                                  "Large2432x8-8bit.bmp", "Large2432x96-8bit.bmp", "Checkerboard1.bmp", "Checker747x87.bmp"})
            files.push_back(extra);
        for (const std::string& f : files) {
            const bool large = f.rfind("Rastel", 0) != 0;
            PrintRow(Measure(f, large ? std::max(3, repetitions / 5) : repetitions));
            std::fflush(stdout);
        }
        if (!lastError.empty()) std::printf("error box: %s\n", lastError.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "grid_switch_bench: %s\n", e.what());
        return 1;
    }
    Application.DestroyComponents();
    return 0;
}
