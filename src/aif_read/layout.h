// The fixed texts and positions of the two file kinds. Positions are 1-based characters of an
// image text (two digits per byte).
#pragma once

#include <string_view>

#include "heximage/hex_image.h"

namespace pictoswap::layout {

// The 16 identifier bytes every written MBM starts with: UIDs 0x10000037, 0x10000042, 0 and
// their checksum 0x47396439.
inline constexpr std::string_view kMbmHeader = "37000010420000100000000039643947";

// Byte offset of the first bitmap in both kinds of file: 16 identifier bytes plus one offset.
inline constexpr Pos kFirstBitmapOffset = 20;

// kFirstBitmapOffset as a little-endian field. The icon table starts with it, so a search for
// it finds the table.
inline constexpr std::string_view kIconMarker = "14000000";

// The root offset of an AIF, or the trailer offset of an MBM: byte 16, four bytes.
inline constexpr Pos kOffsetFieldPos = 33;
inline constexpr Pos kOffsetFieldDigits = 8;

// The first bitmap: byte 20.
inline constexpr Pos kFirstBitmapPos = 41;

// The low half of the first bitmap's width in an MBM: bytes 28 and 29.
inline constexpr Pos kFirstWidthPos = 57;
inline constexpr Pos kWidthDigits = 4;

// The identifier header copied unchanged from a source AIF into a new one: 16 bytes.
inline constexpr Pos kHeaderDigits = 32;

// Within a bitmap: its total length at byte 0, its width at byte 8 (two bytes are copied).
inline constexpr Pos kBitmapWidthOffset = 8;

// Root stream entries: a caption entry is an offset (4 bytes) and a number (2 bytes); an icon
// entry is an offset (4 bytes) and a width (2 bytes); both are 12 digits.
inline constexpr Pos kEntryDigits = 12;
inline constexpr Pos kCaptionNumberDigits = 4;

// A one-byte count is read as a field by appending three zero bytes.
inline constexpr std::string_view kCountPadding = "000000";

}  // namespace pictoswap::layout
