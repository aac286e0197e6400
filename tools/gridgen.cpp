// rastel-gridgen [OPTION...] FOLDER: writes Rastel's grid images into FOLDER.
#include <iostream>
#include <string>
#include <vector>

#include "tools/gridgen_cli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return rastel::RunGridgen(args, std::cout, std::cerr, {});
}
