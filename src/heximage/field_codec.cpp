#include "heximage/field_codec.h"

#include <cstdint>

namespace pictoswap {

Expected<Pos> ReadField24(std::string_view field) {
  // The digits in the order they are read: low byte last, so the text reads as one number.
  std::string ordered = "$";
  for (std::size_t i : {4u, 5u, 2u, 3u, 0u, 1u}) {
    if (i < field.size()) ordered.push_back(field[i]);
  }
  if (field.size() < 6) return ConversionError(ordered);
  return HexToInt(std::string_view(ordered).substr(1));
}

Expected<Pos> ReadCount(std::string_view twoDigits) {
  std::string field(twoDigits);
  field += "000000";
  return ReadField24(field);
}

std::string FormatLe32(Pos value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const auto bits = static_cast<std::uint32_t>(static_cast<std::uint64_t>(value));
  std::string out(8, '0');
  for (int byte = 0; byte < 4; ++byte) {
    const unsigned b = (bits >> (8 * byte)) & 0xFFu;
    out[2 * byte] = kDigits[b >> 4];
    out[2 * byte + 1] = kDigits[b & 0x0F];
  }
  return out;
}

Pos Half(Pos n) {
  Pos q = n / 2;
  if (n % 2 != 0 && n < 0) --q;  // floor for negative odd n
  if (n - 2 * q == 1 && q % 2 != 0) ++q;
  return q;
}

}  // namespace pictoswap
