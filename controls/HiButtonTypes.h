// The enumerations of unit HiButton. No Win32 here: the button's behaviour,
// which uses some of them, builds and is tested natively.
#pragma once
#include <cstdint>

// Stored as one byte each; the ordinals are part of the streamed format.
enum TCapDrawLayer : std::uint8_t { dlTop = 0, dlInner = 1 };
enum TButtonStyle : std::uint8_t { bsNormal = 0, bsToggle = 1 };
enum TButtonState : std::uint8_t { bstOff = 0, bstOn = 1 };
enum TNHAlignment : std::uint8_t { haLeft = 0, haCenter = 1, haRight = 2 };
enum TNVAlignment : std::uint8_t { vaTop = 0, vaCenter = 1, vaBottom = 2 };
