// Little-endian numbers as digit texts: read from their first three bytes, written as four.
#pragma once

#include <string>
#include <string_view>

#include "heximage/fatal.h"
#include "heximage/hex_image.h"

namespace pictoswap {

// The value of the first three bytes of a field text, little-endian (characters 5, 6, 3, 4, 1,
// 2 in that order). The fourth byte is never read. A field of fewer than six characters, or one
// whose six are not all hexadecimal digits, is a conversion error naming the text read.
Expected<Pos> ReadField24(std::string_view field);

// The value of one byte given as two digits, read as the field "XY000000".
Expected<Pos> ReadCount(std::string_view twoDigits);

// Eight upper-case digits holding the value's low 32 bits as four little-endian bytes
// (two's complement for a negative value): 20 gives "14000000".
std::string FormatLe32(Pos value);

// n / 2 rounded to the nearest integer, ties to the even neighbour: 3 -> 2, 5 -> 2.
Pos Half(Pos n);

}  // namespace pictoswap
