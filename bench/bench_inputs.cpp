#include "bench_inputs.h"

#include <stdexcept>

namespace pictoswap::bench {

testing::AifSpec BenchAifSpec(std::size_t bytes) {
  if (bytes < 1024) throw std::invalid_argument("a benchmark AIF is at least 1 KiB");
  testing::AifSpec parts;
  parts.captions = {{"Clock", 1, false}, {"World clock and alarms", 2, false}};
  parts.extras = {{testing::Bytes(24, 0x5A), 0x0001}, {testing::Bytes(40, 0xA5), 0x0002}};
  parts.remainder = testing::Bytes(20, 0x00);

  // Pair k (k = 1, 2, ...) takes k shares of the bitmap bytes: two thirds for the colour
  // bitmap, one third for its mask. Small files get two icons, larger ones three.
  const std::size_t pairs = bytes < 64 * 1024 ? 2 : 3;
  const std::size_t shares = pairs * (pairs + 1) / 2;
  const std::size_t bitmapBytes = bytes - 512;  // the rest is sized exactly below
  for (std::size_t k = 1; k <= pairs; ++k) {
    const std::size_t pair = bitmapBytes * k / shares;
    const auto width = static_cast<std::uint32_t>(16 * k);
    const auto fill = static_cast<std::uint8_t>(0x30 + 0x20 * k);
    parts.bitmaps.push_back({static_cast<std::uint32_t>(pair * 2 / 3), width, fill});
    parts.bitmaps.push_back({static_cast<std::uint32_t>(pair / 3), width, fill});
  }
  // The largest bitmap absorbs the difference, which makes the file exactly `bytes` long.
  const std::size_t built = testing::BuildAif(parts).size();
  testing::BitmapSpec& largest = parts.bitmaps[2 * pairs - 2];
  largest.size = static_cast<std::uint32_t>(largest.size + bytes - built);
  return parts;
}

}  // namespace pictoswap::bench
