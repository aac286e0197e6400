#include "tools/gridgen_cli.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <system_error>

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
    out << "usage: " << kName << " [--dpi N] FOLDER\n"
        << "Writes Rastel's 27 grid images for a screen of N dots per inch into FOLDER\n"
        << "(made when missing), replacing files of the same names.\n"
        << "  --dpi N  " << kGridMinDpi << " to " << kGridMaxDpi
        << "; 96 is 100 %, 120 is 125 %, 144 is 150 %, 192 is 200 % display scaling\n"
        << "           (default: " << host.defaultDpiText << ")\n"
        << "  --help   show this text\n";
    if (!host.usageNote.empty()) out << host.usageNote << "\n";
}

struct Options {
    bool help = false;
    std::optional<int> dpi;
    std::optional<std::string> folder;
};

// The arguments, or the reason they are wrong.
std::optional<Options> Parse(const std::vector<std::string>& args, std::string& error) {
    auto fail = [&error](std::string why) {
        error = std::move(why);
        return std::optional<Options>();
    };
    Options o;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsEnd && (a == "--help" || a == "-h")) {
            o.help = true;
        } else if (!optionsEnd && (a == "--dpi" || a.rfind("--dpi=", 0) == 0)) {
            std::string value;
            if (a == "--dpi") {
                if (i + 1 >= args.size()) return fail("--dpi needs a number");
                value = args[++i];
            } else {
                value = a.substr(6);
            }
            int n = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
            if (ec != std::errc() || end != value.data() + value.size() || n < kGridMinDpi || n > kGridMaxDpi)
                return fail("--dpi takes a number from " + std::to_string(kGridMinDpi) + " to " +
                            std::to_string(kGridMaxDpi) + ", not \"" + value + "\"");
            o.dpi = n;
        } else if (!optionsEnd && a == "--") {
            optionsEnd = true;
        } else if (!optionsEnd && a.size() > 1 && a[0] == '-') {
            return fail("unknown option " + a);
        } else if (o.folder) {
            return fail("one folder only, not also \"" + a + "\"");
        } else if (a.empty()) {
            return fail("the folder name is empty");
        } else {
            o.folder = a;
        }
    }
    if (!o.help && !o.folder) return fail("no folder given");
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

int RunGridgen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const GridgenHost& host,
               GridgenReport* report) {
    std::string error;
    const std::optional<Options> options = Parse(args, error);
    if (!options) {
        err << kName << ": " << error << "\n";
        Usage(err, host);
        return 2;
    }
    if (options->help) {
        Usage(out, host);
        return 0;
    }

    int dpi = 96;
    std::vector<TFormScaling> scalings;
    std::string measured;
    try {
        if (options->dpi) {
            dpi = *options->dpi;
            scalings = KnownScalings(dpi);
        } else if (host.measureScreen) {
            scalings = {host.measureScreen(dpi)};
            measured = " (this screen's; text height " + std::to_string(scalings[0].textHeight) + ")";
        } else {
            scalings = KnownScalings(dpi);
        }
    } catch (const std::exception& e) {
        err << kName << ": cannot size the images: " << e.what() << "\n";
        return 1;
    }
    const GridLayout layout = LayoutFor(scalings);

    const fs::path folder = PathFromUtf8(*options->folder);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder)) {
        err << kName << ": cannot create folder " << Utf8(folder) << ": "
            << (ec ? ec.message() : std::string("not a folder")) << "\n";
        return 1;
    }

    int written = 0;
    bool failed = false;
    std::vector<std::string> kept;
    try {
        ForEachGridImage(layout, [&](GridImageFile file) {
            if (failed) return;
            const fs::path path = folder / PathFromUtf8(file.name);
            if (IsOwnPicture(path)) {
                kept.push_back(file.name);
                return;
            }
            std::ofstream f(path, std::ios::binary | std::ios::trunc);
            if (f) f.write(reinterpret_cast<const char*>(file.bytes.data()), std::streamsize(file.bytes.size()));
            f.close();
            if (!f) {
                err << kName << ": cannot write " << Utf8(path) << "\n";
                failed = true;
                return;
            }
            ++written;
            out << "wrote " << Utf8(path) << " (" << file.bytes.size() << " bytes)\n";
        });
    } catch (const std::exception& e) {
        err << kName << ": cannot make the grid images: " << e.what() << "\n";
        return 1;
    }
    if (failed) return 1;
    out << written << " grid images of " << layout.width << " x " << layout.height << " for " << dpi << " dpi"
        << measured << " in " << Utf8(folder) << "\n";
    if (!kept.empty()) {
        out << "kept " << kept.size() << " picture(s) of your own, not made by " << kName << ":";
        for (const std::string& name : kept) out << " " << name;
        out << "\n(delete one to have it written)\n";
    }
    if (report) *report = {dpi, written, layout.width, layout.height, Utf8(folder), kept};
    return 0;
}

}  // namespace rastel
