// UTF-8 (inside the program) <-> UTF-16 (Win32 W functions).
#pragma once
#include <string>
#include <string_view>

// Malformed UTF-8 sequences become U+FFFD; never throws on bad input.
std::wstring Widen(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string Narrow(std::wstring_view utf16);

// The system's message text for a Win32 error code (FormatMessageW), UTF-8,
// with trailing white space and line breaks removed. Unknown codes give
// "error N".
std::string SystemErrorMessage(unsigned long code);
