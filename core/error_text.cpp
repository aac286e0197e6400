#include "core/error_text.h"

namespace rastel {

std::string WithFullStop(std::string text) {
    // Byte order, not characters: a multi-byte character's last byte is above '.'.
    if (text.empty() || static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) text += '.';
    return text;
}

}  // namespace rastel
