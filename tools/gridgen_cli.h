// rastel-gridgen's command line, shared by the native and the Windows build.
#pragma once
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "core/form_scaling.h"

namespace rastel {

// What differs between the builds.
struct GridgenHost {
    // Without --dpi: the resolution to make the set for and the main
    // window's scaling there. Empty: 96 dpi.
    std::function<TFormScaling(int& dpi)> measureScreen;
    // How the usage names the default resolution.
    std::string defaultDpiText = "96";
    // A last line for the usage, if any.
    std::string usageNote;
};

// What a run wrote.
struct GridgenReport {
    int dpi = 0;
    int files = 0;
    int width = 0, height = 0;
    std::string folder;  // UTF-8
    std::vector<std::string> kept;  // own pictures left in place, by file name
};

// Runs the generator on args (without the program name, UTF-8). A file of
// the folder that the generator did not make (a picture of one's own) is
// kept and named in the output. Returns the exit status: 0 written (or
// --help), 1 a folder or file could not be written, 2 bad arguments
// (nothing written then).
int RunGridgen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const GridgenHost& host,
               GridgenReport* report = nullptr);

}  // namespace rastel
