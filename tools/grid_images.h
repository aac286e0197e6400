// The default set of grid images, made in memory.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace rastel {

struct GridImageFile {
    std::string name;                // bare file name, as the catalogue gives it
    std::vector<std::uint8_t> bytes; // a complete .bmp file
};

// All 27 files the catalogue names.
std::vector<GridImageFile> MakeDefaultGridImages();

}  // namespace rastel
