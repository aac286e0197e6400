// rastel-gridgen's command line, shared by the native and the Windows build.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/grid_images.h"

namespace rastel {

// What differs between the builds.
struct GridgenHost {
    // A last line for the usage, if any.
    std::string usageNote;
};

// What a run wrote.
struct GridgenReport {
    int files = 0;
    std::string folder;             // UTF-8
    std::vector<std::string> kept;  // own pictures left in place, by file name
};

// Runs the generator on args (without the program name, UTF-8). A file of
// the folder that the generator did not make (a picture of one's own) is
// kept and named in the output. Returns the exit status: 0 written (or
// --help), 1 a folder or file could not be written, 2 bad arguments
// (nothing written then).
// The one picture that args would write (as for RunGridgen, --only naming a
// single file), drawn but not written. Throws std::invalid_argument saying
// what is wrong, as RunGridgen would print it.
GridImageFile PreviewGridgen(const std::vector<std::string>& args);

int RunGridgen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const GridgenHost& host,
               GridgenReport* report = nullptr);

}  // namespace rastel
