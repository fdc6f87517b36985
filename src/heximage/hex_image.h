// A file held as text: two upper-case hexadecimal digits per byte, then a carriage return and a
// line feed. Every position is 1-based and counted in characters of that image text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "heximage/fatal.h"

namespace pictoswap {

// Positions and counts are 64-bit so that no offset read from a file can overflow them.
using Pos = std::int64_t;

inline constexpr std::string_view kImageLineEnd = "\r\n";

struct HexImage {
  // The image text: the line of digits followed by kImageLineEnd. A built image may hold any
  // characters, kept literally (a piece cut past the end keeps the CR/LF it took).
  std::string text = std::string(kImageLineEnd);
};

// Sets the image to a line of text (clearing it first).
void SetImageLine(HexImage& image, std::string_view line);
// The image's line, without the trailing carriage return and line feed.
std::string_view ImageLine(const HexImage& image);

// The digits of the bytes, two per byte, upper case.
std::string HexDigitsOf(const std::uint8_t* bytes, std::size_t count);
HexImage ImageFromBytes(const std::vector<std::uint8_t>& bytes);

// Text operations with the exact edge rules the readers rely on.
// Substring: the characters from position `index`, at most `count` of them. An index below 1
// counts as 1 (the count is not reduced); an index past the end, a count of 0 or less, or an
// empty text give the empty text; a count running past the end stops there.
std::string_view Substring(std::string_view text, Pos index, Pos count);
// Find: position of the first occurrence of `needle` at any character position; 0 when absent,
// when either text is empty, or when the needle is the longer.
Pos Find(std::string_view needle, std::string_view text);
// Delete: removes the characters from `index`, at most `count`; an index below 1 or past the
// end, or a count of 0 or less, removes nothing.
void Delete(std::string& text, Pos index, Pos count);

// The hex conversion of "$" followed by `digits`: any character that is not a hexadecimal digit
// (either case), or no digit at all, is a conversion error naming the whole text.
Expected<std::int64_t> HexToInt(std::string_view digits);

// Turns the `count` bytes at the start of `text` into the image text of those bytes (their
// digits and the line end), in place: no second buffer is needed for a whole file.
void ExpandBytesToImageText(std::string& text, std::size_t count);

// Converts the digit pairs of `digits` into bytes at `out`, stopping at the first pair that is
// not two hexadecimal digits (either case); an odd last digit is left alone. Returns the number
// of pairs converted.
std::size_t DecodeHexPairs(std::string_view digits, std::uint8_t* out);

// The bytes of a digit text, pair by pair; the first pair that does not convert (an odd last
// digit meets the carriage return) is a conversion error.
Expected<std::vector<std::uint8_t>> BytesOfImage(const HexImage& image);

}  // namespace pictoswap
