// Text of the error message box.
#pragma once
#include <string>

namespace rastel {

// Appends "." unless the last byte already sorts at or below '.'.
std::string WithFullStop(std::string text);

}  // namespace rastel
