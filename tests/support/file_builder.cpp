#include "support/file_builder.h"

#include <stdexcept>

#include "heximage/field_codec.h"
#include "heximage/hex_image.h"

namespace pictoswap::testing {
namespace {

void Append(Bytes& out, const Bytes& more) {
  out.insert(out.end(), more.begin(), more.end());
}
void Append16(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

}  // namespace

Bytes Le32(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

Bytes BuildBitmap(const BitmapSpec& parts) {
  if (parts.size < 16) throw std::invalid_argument("a bitmap holds at least its 16-byte header");
  Bytes out = Le32(parts.size);
  Append(out, Le32(40));  // header length
  Append(out, Le32(parts.width));
  Append(out, Le32(parts.width));  // height: square icons
  for (std::uint32_t i = 16; i < parts.size; ++i) {
    out.push_back(static_cast<std::uint8_t>(parts.fill + i % 7));
  }
  return out;
}

Bytes BuildAif(const AifSpec& parts) {
  Bytes body;  // everything from byte 20 to the root stream
  std::vector<std::uint32_t> bitmapOffsets;
  for (const BitmapSpec& bitmap : parts.bitmaps) {
    bitmapOffsets.push_back(static_cast<std::uint32_t>(20 + body.size()));
    Append(body, BuildBitmap(bitmap));
  }
  std::vector<std::uint32_t> captionOffsets;
  for (const CaptionSpec& caption : parts.captions) {
    captionOffsets.push_back(static_cast<std::uint32_t>(20 + body.size()));
    body.push_back(static_cast<std::uint8_t>(4 * caption.text.size() + (caption.eightBit ? 2 : 0)));
    body.insert(body.end(), caption.text.begin(), caption.text.end());
  }
  std::vector<std::uint32_t> extraOffsets;
  for (const ExtraSpec& extra : parts.extras) {
    extraOffsets.push_back(static_cast<std::uint32_t>(20 + body.size()));
    Append(body, extra.bytes);
  }
  const auto rootOffset = static_cast<std::uint32_t>(20 + body.size());

  Bytes root;
  root.push_back(static_cast<std::uint8_t>(2 * parts.captions.size()));
  for (std::size_t k = 0; k < parts.captions.size(); ++k) {
    Append(root, Le32(captionOffsets[k]));
    Append16(root, parts.captions[k].number);
  }
  root.push_back(static_cast<std::uint8_t>(parts.bitmaps.size()));
  const auto iconEntries = static_cast<std::size_t>(Half(static_cast<Pos>(parts.bitmaps.size())));
  for (std::size_t j = 0; j < iconEntries; ++j) {
    Append(root, Le32(bitmapOffsets[2 * j]));
    Append16(root, static_cast<std::uint16_t>(parts.bitmaps[2 * j].width));
  }
  Append(root, parts.remainder);
  if (!parts.extras.empty()) {
    root.push_back(static_cast<std::uint8_t>(2 * parts.extras.size()));
    for (std::size_t k = 0; k < parts.extras.size(); ++k) {
      Append(root, Le32(extraOffsets[k]));
      Append16(root, parts.extras[k].field);
    }
    root.insert(root.end(), parts.extrasTail.begin(), parts.extrasTail.end());
  }

  Bytes out(parts.header.begin(), parts.header.end());
  Append(out, Le32(rootOffset));
  Append(out, body);
  Append(out, root);
  return out;
}

Bytes BuildMbm(const std::vector<BitmapSpec>& bitmaps) {
  Bytes out = FromHex("37000010420000100000000039643947");
  Bytes data;
  std::vector<std::uint32_t> offsets;
  for (const BitmapSpec& bitmap : bitmaps) {
    offsets.push_back(static_cast<std::uint32_t>(20 + data.size()));
    Append(data, BuildBitmap(bitmap));
  }
  Append(out, Le32(static_cast<std::uint32_t>(20 + data.size())));
  Append(out, data);
  Append(out, Le32(static_cast<std::uint32_t>(bitmaps.size())));
  for (std::uint32_t offset : offsets) Append(out, Le32(offset));
  return out;
}

std::vector<BitmapSpec> IconBitmaps(std::size_t count, std::uint32_t size) {
  std::vector<BitmapSpec> bitmaps;
  for (std::size_t k = 0; k < count; ++k) {
    bitmaps.push_back(BitmapSpec{size, static_cast<std::uint32_t>(16 + 8 * (k / 2)),
                                 static_cast<std::uint8_t>(0x30 + 3 * k)});
  }
  return bitmaps;
}

AifSpec ExampleAifSpec() {
  AifSpec parts;
  parts.header = {0x37, 0x00, 0x00, 0x10, 0x6A, 0x00, 0x00, 0x10,
                  0x00, 0x10, 0x20, 0x30, 0x9A, 0x8B, 0x7C, 0x6D};
  parts.bitmaps = {{160, 24, 0xC0}, {96, 24, 0xF0}, {288, 32, 0xC4}, {160, 32, 0xF4}};
  parts.captions = {{"Clock", 1, false}};
  parts.extras = {{{0x05, 0x00, 0x00, 0x00, 0x01, 0x02, 0x03, 0x04}, 0x0001}};
  return parts;
}

std::string Hex(const Bytes& bytes) {
  return HexDigitsOf(bytes.data(), bytes.size());
}

Bytes FromHex(std::string_view digits) {
  Bytes out;
  int high = -1;
  for (char c : digits) {
    if (c == ' ') continue;
    const int value = c <= '9' ? c - '0' : (c & ~0x20) - 'A' + 10;
    if (high < 0) {
      high = value;
    } else {
      out.push_back(static_cast<std::uint8_t>(high * 16 + value));
      high = -1;
    }
  }
  return out;
}

}  // namespace pictoswap::testing
