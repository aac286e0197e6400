// rastel-gridgen FOLDER: writes the default grid images into FOLDER,
// creating it when missing.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "tools/grid_images.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argc > 0 ? argv[0] : "rastel-gridgen");
        return 2;
    }
    const fs::path folder = argv[1];
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder)) {
        std::fprintf(stderr, "rastel-gridgen: cannot create folder %s: %s\n", folder.string().c_str(),
                     ec ? ec.message().c_str() : "not a directory");
        return 1;
    }

    std::vector<rastel::GridImageFile> files;
    try {
        files = rastel::MakeDefaultGridImages();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rastel-gridgen: cannot make the grid images: %s\n", e.what());
        return 1;
    }

    for (const auto& file : files) {
        const fs::path path = folder / file.name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (out) out.write(reinterpret_cast<const char*>(file.bytes.data()), std::streamsize(file.bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "rastel-gridgen: cannot write %s\n", path.string().c_str());
            return 1;
        }
        std::printf("wrote %s (%zu bytes)\n", path.string().c_str(), file.bytes.size());
    }
    std::printf("%zu grid images in %s\n", files.size(), folder.string().c_str());
    return 0;
}
