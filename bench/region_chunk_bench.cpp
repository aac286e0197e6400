// How long the platform takes to make one region of a grid's rectangles when
// they are handed over in chunks of N and the chunks' regions are united
// (two by two, or one after another onto the first), against one
// ExtCreateRegion of the whole list; every result is checked to have the
// whole list's rectangles. Run under Wine in a headless
// session with bench/grid_switch.sh --chunks; figures go to bench/README.md.
//
//   region_chunk_bench.exe DIR [REPETITIONS]
//
// DIR holds the default grid images. Each picture is cut to the client
// area (747 x 529), as the program cuts it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/wine_bench.h"
#include "core/bmp.h"
#include "core/region.h"

namespace {

using wine_bench::NowMs;
using wine_bench::Median;
using wine_bench::ReadWhole;

struct Picture {
    std::string name;
    rastel::RegionBuffer data;
};

Picture FromPixels(std::string name, rastel::ConstBgrView px, int bits) {
    const rastel::ConstBgrView visible = rastel::Crop(px, 747, 529);
    return {std::move(name), rastel::BuildRegionData(visible, rastel::TransparentColorOf(px, bits))};
}

Picture FromFile(const std::string& dir, const std::string& file) {
    const rastel::BmpImage img = rastel::DecodeBmp(ReadWhole(dir + "\\" + file));
    return FromPixels(file, img.View(), img.bitsPerPixel);
}

// Lines on the last pixel of each cell, as the default pictures draw them.
Picture Grid(std::string name, int w, int h, int cell) {
    std::vector<std::uint8_t> px(std::size_t(w) * 3 * h, 255);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (x % cell == cell - 1 || y % cell == cell - 1) std::memset(&px[(std::size_t(y) * w + x) * 3], 0, 3);
    return FromPixels(std::move(name), rastel::ConstBgrView(px.data(), w, h, w * 3), 24);
}

// A one-pixel checkerboard: no two rows merge.
Picture Checker(std::string name, int w, int h) {
    std::vector<std::uint8_t> px(std::size_t(w) * 3 * h, 255);
    for (int y = 0; y < h; ++y)
        for (int x = y & 1; x < w; x += 2) std::memset(&px[(std::size_t(y) * w + x) * 3], 0, 3);
    return FromPixels(std::move(name), rastel::ConstBgrView(px.data(), w, h, w * 3), 24);
}

const RECT* Rects(const rastel::RegionBuffer& d) {
    return reinterpret_cast<const RECT*>(d.Data() + rastel::kRegionHeaderSize);
}

HRGN Whole(const rastel::RegionBuffer& d) {
    return ExtCreateRegion(nullptr, DWORD(d.Size()), reinterpret_cast<const RGNDATA*>(d.Data()));
}

// The rectangles in chunks of `chunk`, each made into a region; the regions
// united pairwise (tree) or one after the other onto the first (chain).
HRGN Chunked(const rastel::RegionBuffer& d, std::size_t chunk, bool tree, double& createMs) {
    const std::size_t n = d.Count();
    std::vector<std::uint8_t> buf(rastel::kRegionHeaderSize + chunk * sizeof(RECT));
    auto* rd = reinterpret_cast<RGNDATA*>(buf.data());
    std::vector<HRGN> parts;
    const double a = NowMs();
    for (std::size_t i = 0; i < n || (n == 0 && parts.empty()); i += chunk) {
        const std::size_t k = std::min(chunk, n - i);
        std::memcpy(rd, d.Data(), rastel::kRegionHeaderSize);
        rd->rdh.nCount = DWORD(k);
        std::memcpy(rd->Buffer, Rects(d) + i, k * sizeof(RECT));
        parts.push_back(ExtCreateRegion(nullptr, DWORD(rastel::kRegionHeaderSize + k * sizeof(RECT)), rd));
        if (n == 0) break;
    }
    createMs = NowMs() - a;
    if (tree) {
        while (parts.size() > 1) {
            std::size_t out = 0;
            for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
                CombineRgn(parts[i], parts[i], parts[i + 1], RGN_OR);
                DeleteObject(parts[i + 1]);
                parts[out++] = parts[i];
            }
            if (parts.size() % 2) parts[out++] = parts.back();
            parts.resize(out);
        }
    } else {
        for (std::size_t i = 1; i < parts.size(); ++i) {
            CombineRgn(parts[0], parts[0], parts[i], RGN_OR);
            DeleteObject(parts[i]);
        }
    }
    return parts[0];
}

std::vector<std::uint8_t> DataOf(HRGN r) {
    std::vector<std::uint8_t> b(GetRegionData(r, 0, nullptr));
    GetRegionData(r, DWORD(b.size()), reinterpret_cast<RGNDATA*>(b.data()));
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: region_chunk_bench DIR [REPETITIONS]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const int reps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    try {
        // Each as the list of runs (one rectangle per row and run) and as its
        // merged bands, which the program hands over under Wine.
        std::vector<Picture> pictures;
        auto add = [&](Picture p) {
            Picture bands{p.name + " bands", rastel::MergeRows(p.data)};
            p.name += " rows";
            pictures.push_back(std::move(p));
            pictures.push_back(std::move(bands));
        };
        for (const char* f : {"RastelS.bmp", "RastelS8.bmp", "RastelB8.bmp", "RastelSBig.bmp"}) add(FromFile(dir, f));
        add(Grid("7-px cells", 747, 529, 7));
        add(Checker("checkerboard 747x87", 747, 87));
        const std::size_t sizes[] = {4, 8, 16, 24, 32, 48, 64, 128, 256, 1024};

        std::printf("| picture | given / merged | whole |");
        for (std::size_t s : sizes) std::printf(" %zu |", s);
        std::printf("\n|---|---|---|");
        for (std::size_t i = 0; i < std::size(sizes); ++i) std::printf("---|");
        std::printf("\n");
        for (const Picture& p : pictures) {
            const double a = NowMs();
            HRGN whole = Whole(p.data);
            const double wholeMs = NowMs() - a;
            const std::vector<std::uint8_t> expected = DataOf(whole);
            DeleteObject(whole);
            std::printf("| %s | %u / %zu | %.1f |", p.name.c_str(), p.data.Count(),
                        (expected.size() - sizeof(RGNDATAHEADER)) / sizeof(RECT), wholeMs);
            std::fflush(stdout);
            for (std::size_t s : sizes) {
                std::vector<double> tree, chain, create;
                bool same = true;
                for (int r = 0; r < reps; ++r) {
                    for (bool t : {true, false}) {
                        double c = 0;
                        const double b = NowMs();
                        HRGN h = Chunked(p.data, s, t, c);
                        (t ? tree : chain).push_back(NowMs() - b);
                        if (t) create.push_back(c);
                        same = same && DataOf(h) == expected;
                        DeleteObject(h);
                    }
                }
                std::printf(" %.1f (%.1f + %.1f) / %.1f%s |", Median(tree), Median(create),
                            Median(tree) - Median(create), Median(chain), same ? "" : " DIFFERS");
                std::fflush(stdout);
            }
            std::printf("\n");
        }
        std::printf("\nper chunk size: tree total (chunks made + united) / chain total, ms, median of %d\n", reps);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "region_chunk_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
