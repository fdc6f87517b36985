// Composes well-formed AIF and MBM files from their parts, by the layout the tool reads and
// writes, so that tests build their inputs instead of spelling long hex literals.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pictoswap::testing {

using Bytes = std::vector<std::uint8_t>;

struct BitmapSpec {
  std::uint32_t size = 40;   // total length, header included (at least 16)
  std::uint32_t width = 16;  // pixels; its low two bytes go into an icon entry
  std::uint8_t fill = 0xAA;  // the pixel bytes after the 16-byte header
};

struct CaptionSpec {
  std::string text;
  std::uint16_t number = 1;
  bool eightBit = false;  // length byte 4 x length + 2, as older files store it
};

struct ExtraSpec {
  Bytes bytes;              // the item itself, between the captions and the root stream
  std::uint16_t field = 0;  // the 2-byte field of its table entry
};

struct AifSpec {
  std::array<std::uint8_t, 16> header{0x37, 0x00, 0x00, 0x10, 0x6A, 0x00, 0x00, 0x10,
                                      0x00, 0x00, 0x00, 0x00, 0x12, 0x34, 0x56, 0x78};
  std::vector<BitmapSpec> bitmaps;
  std::vector<CaptionSpec> captions;
  std::vector<ExtraSpec> extras;
  Bytes remainder;  // root-stream bytes after the icon table, before any extras table
  std::array<std::uint8_t, 2> extrasTail{0x00, 0x00};  // the table's last two bytes
};

Bytes Le32(std::uint32_t value);
Bytes BuildBitmap(const BitmapSpec& parts);
Bytes BuildAif(const AifSpec& parts);
Bytes BuildMbm(const std::vector<BitmapSpec>& bitmaps);

// n bitmaps of the given sizes, widths 16, 16, 24, 24, ... with distinct fills.
std::vector<BitmapSpec> IconBitmaps(std::size_t count, std::uint32_t size = 40);

// The example shipped in the repository: two icons (four bitmaps), the caption "Clock" and one
// extra item.
AifSpec ExampleAifSpec();

std::string Hex(const Bytes& bytes);
Bytes FromHex(std::string_view digits);  // ignores spaces

}  // namespace pictoswap::testing
