#include "tools/gridgen_cli.h"

#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <system_error>

#include "core/catalog.h"
#include "tools/grid_images.h"

namespace fs = std::filesystem;

namespace rastel {
namespace {

constexpr char kName[] = "rastel-gridgen";

// Paths are UTF-8 in and out, whatever the system's code page.
fs::path PathFromUtf8(const std::string& s) { return fs::path(std::u8string(s.begin(), s.end())); }
std::string Utf8(const fs::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

void Usage(std::ostream& out, const GridgenHost& host) {
    out << "usage: " << kName << " [OPTION...] FOLDER\n"
        << "Writes Rastel's 27 grid images into FOLDER (made when missing), replacing\n"
        << "files of the same names that it wrote; pictures of your own are kept. One\n"
        << "set serves every display scale, " << kGridMinDpi << " to " << kGridMaxDpi
        << " dpi (100 to 300 %).\n"
        << "\n"
        << "Options (what is not given keeps each file's own value):\n"
        << "  --cell W[xH]   cells of W x H screen pixels, " << kGridMinCell << " to " << kGridMaxCell << " each\n"
        << "                 (--cell 10, --cell 12x20)\n"
        << "  --color C      line colour: #rrggbb, or SkyBlue, Black, Red, Orchid\n"
        << "                 (--color '#ff8800'; quote the # in a shell, or leave it off)\n"
        << "  --line N       line width in pixels, " << kGridMinLine << " to " << kGridMaxLine
        << ", narrower than the cells\n"
        << "                 (--line 3)\n"
        << "  --every N      every Nth line twice as wide, N from " << kGridMinEvery << " to " << kGridMaxEvery
        << " (--every 4)\n"
        << "  --cells N[xM]  N columns and M rows of cells over the area, " << kGridMinCells << " to " << kGridMaxCells
        << " each,\n"
        << "                 instead of --cell (--cells 10x8)\n"
        << "  --area WxH     the area at the top-left that --cells and the composition\n"
        << "                 lines cover, " << kGridMinArea << " x " << kGridMinArea << " to " << kGridMaxAreaWidth
        << " x " << kGridMaxAreaHeight << "; without it " << kClientWidth96 << " x " << kClientHeight96 << ",\n"
        << "                 the window at 100 % (--area 640x480)\n"
        << "  --diagonals    both diagonals of every cell (of every N x N block with\n"
        << "                 --every N)\n"
        << "  --thirds       lines at a third and two thirds of the area\n"
        << "  --golden       lines at the golden section, 0.382 and 0.618 of the area\n"
        << "  --center       a cross through the middle of the area\n"
        << "  --no-cells     no cell lines: only what the options above add\n"
        << "  --labels       letters over the columns and numbers beside the rows, in the\n"
        << "                 top and left cells that are large enough\n"
        << "  --only NAMES   write only these of the 27 files: names comma-separated,\n"
        << "                 or --only repeated (--only RastelS.bmp,RastelSB2.bmp)\n"
        << "  --dpi N        taken from older scripts, " << kGridMinDpi << " to " << kGridMaxDpi
        << "; changes nothing\n"
        << "  --help         show this text\n"
        << "TateGata files keep their pages and take only --color, unless named with\n"
        << "--only together with any other option: then they become grids.\n"
        << "\n"
        << "Each picture written is followed by the rectangles its part in the window\n"
        << "at 100 % needs; Rastel under Wine refuses more than " << kWineMaxShapeRectangles << ".\n"
        << "\n"
        << "Example: a 10-pixel orange grid in place of the sky-blue 16-pixel one:\n"
        << "  " << kName << " --cell 10 --color '#ff8800' --only RastelS.bmp FOLDER\n"
        << "A 10 x 8 grid with diagonals over a 640 x 480 reference, with labels:\n"
        << "  " << kName << " --cells 10x8 --area 640x480 --diagonals --labels --only RastelS.bmp FOLDER\n";
    if (!host.usageNote.empty()) out << host.usageNote << "\n";
}

struct Options {
    bool help = false;
    GridOptions grid;
    std::optional<std::string> folder;
};

// Raised for arguments that are wrong; what() says why.
struct BadArguments : std::invalid_argument {
    using std::invalid_argument::invalid_argument;
};

std::optional<int> WholeNumber(const std::string& s) {
    int n = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (s.empty() || s[0] == '-' || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return n;
}

// Bounds are checked with the other files' values (PlanGridImages).
int NumberOf(const std::string& option, const std::string& value, int low, int high) {
    if (const auto n = WholeNumber(value)) return *n;
    throw BadArguments(option + " takes a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                       ", not \"" + value + "\"");
}

// "W" or "WxH" as two numbers; nullopt for anything else.
std::optional<std::pair<int, int>> Pair(const std::string& value, bool secondOptional) {
    const auto x = value.find_first_of("xX");
    if (x == std::string::npos && !secondOptional) return std::nullopt;
    const auto a = WholeNumber(value.substr(0, x));
    const auto b = x == std::string::npos ? a : WholeNumber(value.substr(x + 1));
    if (!a || !b) return std::nullopt;
    return std::pair(*a, *b);
}

void ParseCells(const std::string& value, GridOptions& o) {
    const auto n = Pair(value, true);
    if (!n)
        throw BadArguments("--cells takes N or NxM, whole numbers from " + std::to_string(kGridMinCells) + " to " +
                           std::to_string(kGridMaxCells) + " (10x8), not \"" + value + "\"");
    o.cellsAcross = n->first;
    o.cellsDown = n->second;
}

void ParseArea(const std::string& value, GridOptions& o) {
    const auto n = Pair(value, false);
    if (!n)
        throw BadArguments("--area takes WxH in pixels (640x480), not \"" + value + "\"");
    o.areaWidth = n->first;
    o.areaHeight = n->second;
}

void ParseCell(const std::string& value, GridOptions& o) {
    const auto n = Pair(value, true);
    if (!n)
        throw BadArguments("--cell takes W or WxH, whole numbers from " + std::to_string(kGridMinCell) + " to " +
                           std::to_string(kGridMaxCell) + " (10, 12x20), not \"" + value + "\"");
    o.cellWidth = n->first;
    o.cellHeight = n->second;
}

bool SameLetters(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

Bgr ParseColour(const std::string& value) {
    for (const NamedGridColour& c : kGridColours)
        if (SameLetters(value, c.name)) return c.colour;
    const std::string hex = !value.empty() && value[0] == '#' ? value.substr(1) : value;
    unsigned rgb = 0;
    const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), rgb, 16);
    if (hex.size() != 6 || ec != std::errc() || end != hex.data() + hex.size())
        throw BadArguments("--color takes #rrggbb or one of SkyBlue, Black, Red, Orchid, not \"" + value + "\"");
    return {std::uint8_t(rgb), std::uint8_t(rgb >> 8), std::uint8_t(rgb >> 16)};
}

void ParseOnly(const std::string& value, GridOptions& o) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        const std::string name = value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (name.empty()) throw BadArguments("--only takes file names separated by commas, not \"" + value + "\"");
        o.only.push_back(name);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}

Options Parse(const std::vector<std::string>& args) {
    Options o;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // The value of an option given as "--name VALUE" or "--name=VALUE".
        auto valueOf = [&](const std::string& name) -> std::optional<std::string> {
            if (a == name) {
                if (i + 1 >= args.size()) throw BadArguments(name + " needs a value");
                return args[++i];
            }
            if (a.rfind(name + "=", 0) == 0) return a.substr(name.size() + 1);
            return std::nullopt;
        };
        if (optionsEnd || a.size() < 2 || a[0] != '-') {
            if (o.folder) throw BadArguments("one folder only, not also \"" + a + "\"");
            if (a.empty()) throw BadArguments("the folder name is empty");
            o.folder = a;
        } else if (a == "--") {
            optionsEnd = true;
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (const auto v = valueOf("--dpi")) {
            const auto n = WholeNumber(*v);
            if (!n || *n < kGridMinDpi || *n > kGridMaxDpi)
                throw BadArguments("--dpi takes a number from " + std::to_string(kGridMinDpi) + " to " +
                                   std::to_string(kGridMaxDpi) + ", not \"" + *v + "\"");
        } else if (const auto v = valueOf("--cell")) {
            ParseCell(*v, o.grid);
        } else if (const auto v = valueOf("--color")) {
            o.grid.colour = ParseColour(*v);
        } else if (const auto v = valueOf("--line")) {
            o.grid.line = NumberOf("--line", *v, kGridMinLine, kGridMaxLine);
        } else if (const auto v = valueOf("--every")) {
            o.grid.every = NumberOf("--every", *v, kGridMinEvery, kGridMaxEvery);
        } else if (const auto v = valueOf("--only")) {
            ParseOnly(*v, o.grid);
        } else if (const auto v = valueOf("--cells")) {
            ParseCells(*v, o.grid);
        } else if (const auto v = valueOf("--area")) {
            ParseArea(*v, o.grid);
        } else if (a == "--diagonals") {
            o.grid.diagonals = true;
        } else if (a == "--thirds") {
            o.grid.thirds = true;
        } else if (a == "--golden") {
            o.grid.golden = true;
        } else if (a == "--center" || a == "--centre") {
            o.grid.centre = true;
        } else if (a == "--no-cells") {
            o.grid.noCells = true;
        } else if (a == "--labels") {
            o.grid.labels = true;
        } else {
            throw BadArguments("unknown option " + a);
        }
    }
    if (!o.help && !o.folder) throw BadArguments("no folder given");
    return o;
}

// A file there that the generator did not make: somebody's own picture.
bool IsOwnPicture(const fs::path& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    std::uint8_t header[10] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    return !MadeByGridgen(header, std::size_t(in.gcount()));
}

}  // namespace

GridImageFile PreviewGridgen(const std::vector<std::string>& args) {
    const Options options = Parse(args);
    const std::vector<PlannedGridImage> plan = PlanGridImages(options.grid);
    if (plan.size() != 1) throw std::invalid_argument("name one file with --only");
    return DrawGridImage(plan.front());
}

int RunGridgen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const GridgenHost& host,
               GridgenReport* report) {
    Options options;
    std::vector<PlannedGridImage> plan;
    try {
        options = Parse(args);
        if (options.help) {
            Usage(out, host);
            return 0;
        }
        // Every file is checked before the first is written.
        plan = PlanGridImages(options.grid);
    } catch (const std::invalid_argument& e) {
        err << kName << ": " << e.what() << "\n";
        Usage(err, host);
        return 2;
    }

    const fs::path folder = PathFromUtf8(*options.folder);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder)) {
        err << kName << ": cannot create folder " << Utf8(folder) << ": "
            << (ec ? ec.message() : std::string("not a folder")) << "\n";
        return 1;
    }

    int written = 0;
    std::vector<std::string> kept;
    try {
        for (const PlannedGridImage& image : plan) {
            const fs::path path = folder / PathFromUtf8(image.name);
            if (IsOwnPicture(path)) {
                kept.push_back(image.name);
                continue;
            }
            const GridImageFile file = DrawGridImage(image);
            std::ofstream f(path, std::ios::binary | std::ios::trunc);
            if (f) f.write(reinterpret_cast<const char*>(file.bytes.data()), std::streamsize(file.bytes.size()));
            f.close();
            if (!f) {
                err << kName << ": cannot write " << Utf8(path) << "\n";
                return 1;
            }
            ++written;
            out << "wrote " << Utf8(path) << " (" << file.bytes.size() << " bytes, " << file.windowRectangles
                << " rectangles in the window at 100 %)\n";
            if (file.windowRectangles > kWineMaxShapeRectangles)
                out << "note: " << image.name << " needs " << file.windowRectangles << " rectangles, more than the "
                    << kWineMaxShapeRectangles
                    << " Wine can give a window: Rastel under Wine will refuse it (Windows has no such limit)\n";
        }
    } catch (const std::exception& e) {
        err << kName << ": cannot make the grid images: " << e.what() << "\n";
        return 1;
    }
    out << written << (written == 1 ? " grid image" : " grid images") << " for every display scale (" << kGridMinDpi
        << " to " << kGridMaxDpi << " dpi) in " << Utf8(folder) << " (grids of " << kGridImageWidth << " x "
        << kGridImageHeight << ", pages of " << kPageImageWidth << " x " << kPageImageHeight << ")\n";
    if (!kept.empty()) {
        out << "kept " << kept.size() << " picture(s) of your own, not made by " << kName << ":";
        for (const std::string& name : kept) out << " " << name;
        out << "\n(delete one to have it written)\n";
    }
    if (report) *report = {written, Utf8(folder), kept};
    return 0;
}

}  // namespace rastel
