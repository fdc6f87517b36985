// A well-formed AIF rebuilt with its own bitmaps comes back byte for byte.
#include <gtest/gtest.h>

#include <cstdint>

#include "aif_build/assemble_aif.h"
#include "aif_build/replacement.h"
#include "aif_read/extract_mbm.h"
#include "aif_read/root_stream.h"
#include "heximage/field_codec.h"
#include "heximage/file_transfer.h"
#include "support/file_builder.h"

namespace pictoswap {
namespace {

using namespace pictoswap::testing;

// Every stage in memory, as a run with -i and -o but no -l does.
Expected<std::string> RebuildWithOwnBitmaps(const Bytes& aif) {
  const HexImage source = ImageFromBytes(aif);
  PS_ASSIGN_OR_RETURN(const Extraction extraction, ExtractMbm(source.text));
  PS_ASSIGN_OR_RETURN(const SourceReading reading,
                      ReadRootStream(source.text, extraction, "source.aif"));
  PS_ASSIGN_OR_RETURN(const ReplacementReading replacement,
                      ReadReplacement(extraction.mbm.ImageText()));
  PS_ASSIGN_OR_RETURN(const AssembledAif assembled, AssembleAif(reading, replacement));
  return NewAifText(assembled);
}

// A small deterministic generator, so that every run checks the same files.
struct Lcg {
  std::uint32_t state;
  std::uint32_t Next(std::uint32_t bound) {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) % bound;
  }
};

AifSpec GeneratedSpec(std::uint32_t seed) {
  Lcg rng{seed};
  AifSpec parts;
  const std::size_t bitmaps = 2 + rng.Next(39);  // 2 to 40
  for (std::size_t k = 0; k < bitmaps; ++k) {
    parts.bitmaps.push_back(
        {16 + rng.Next(300), 8 + rng.Next(120), static_cast<std::uint8_t>(rng.Next(256))});
  }
  const std::size_t captions = rng.Next(22);  // 0 to 21
  const std::uint16_t numberStyles[] = {0, 0x0A, 0x0100, 0x01FF};
  const std::uint16_t style = numberStyles[rng.Next(4)];
  for (std::size_t k = 0; k < captions; ++k) {
    std::string text(rng.Next(64), 'a');  // 0 to 63 characters
    for (char& c : text) c = static_cast<char>(' ' + rng.Next(95));
    const auto number = static_cast<std::uint16_t>(style == 0 ? k + 1 : style);
    parts.captions.push_back({text, number, rng.Next(2) == 0});
  }
  const std::size_t extraCounts[] = {0, 0, 1, 3, 20};
  const std::size_t extras = extraCounts[rng.Next(5)];
  for (std::size_t k = 0; k < extras; ++k) {
    Bytes item(1 + rng.Next(k == 0 ? 400 : 40));
    for (auto& b : item) b = static_cast<std::uint8_t>(rng.Next(256));
    parts.extras.push_back({item, static_cast<std::uint16_t>(rng.Next(65536))});
  }
  parts.remainder = Bytes(rng.Next(61), 0);
  for (auto& b : parts.remainder) b = static_cast<std::uint8_t>(rng.Next(256));
  return parts;
}

// Whether the text searches land where the builder put each piece: the icon marker's first
// occurrence is the icon table, and each offset searched for in the remainder is found first at
// its own entry of the extras table. (Offsets such as 0x4001 can read as a marker one digit off.)
bool SearchesFindEveryPiece(const AifSpec& parts, const Bytes& aif) {
  const std::string text = Hex(aif);
  const std::size_t root = aif[16] | (aif[17] << 8) | (aif[18] << 16);
  const std::size_t iconTable = root + 1 + 6 * parts.captions.size() + 1;
  if (text.find("14000000", 2 * root - 1) != 2 * iconTable) return false;
  if (parts.extras.empty()) return true;
  const auto entries = static_cast<std::size_t>(Half(static_cast<Pos>(parts.bitmaps.size())));
  const std::size_t remainder = iconTable + 6 * entries;
  std::size_t table = remainder + parts.remainder.size() + 1;
  std::size_t from = 2 * remainder;
  for (std::size_t k = 0; k < parts.extras.size(); ++k, table += 6) {
    const std::string offset = text.substr(2 * table, 8);
    if (text.find(offset, from) != 2 * table) return false;
    from = 2 * table + 8;
  }
  return true;
}

TEST(RoundTrip, GeneratedAifsComeBackByteForByte) {
  int rebuilt = 0;
  int refused = 0;
  for (std::uint32_t seed = 1; seed <= 400; ++seed) {
    const AifSpec parts = GeneratedSpec(seed);
    const Bytes aif = BuildAif(parts);
    const auto text = RebuildWithOwnBitmaps(aif);
    if (!SearchesFindEveryPiece(parts, aif)) {
      // Outside what the searches can read: it must not come back as if it were the source.
      EXPECT_FALSE(text.ok() && text.value() == Hex(aif)) << "seed " << seed;
      ++refused;
      continue;
    }
    ASSERT_TRUE(text.ok()) << "seed " << seed << ": " << text.error().message;
    ASSERT_EQ(text.value(), Hex(aif)) << "seed " << seed;
    ++rebuilt;
  }
  // Almost every file is readable: the searches go astray only by chance.
  EXPECT_GE(rebuilt, 380);
  EXPECT_EQ(rebuilt + refused, 400);
}

TEST(RoundTrip, EdgeShapesComeBackByteForByte) {
  std::vector<AifSpec> specs;
  specs.push_back(ExampleAifSpec());
  {
    AifSpec parts;  // no captions, no extras, no remainder
    parts.bitmaps = IconBitmaps(2);
    specs.push_back(parts);
  }
  {
    AifSpec parts;  // no captions but extra items
    parts.bitmaps = IconBitmaps(3);
    parts.extras = {{Bytes(5, 1), 1}};
    specs.push_back(parts);
  }
  {
    AifSpec parts;  // captions of every length a length byte describes
    parts.bitmaps = IconBitmaps(4);
    for (int length : {0, 1, 49, 50, 63}) parts.captions.push_back({std::string(length, 'q'), 1});
    for (std::size_t k = 0; k < parts.captions.size(); ++k) {
      parts.captions[k].number = static_cast<std::uint16_t>(k + 1);
    }
    specs.push_back(parts);
  }
  {
    AifSpec parts;  // long extra items
    parts.bitmaps = IconBitmaps(2, 2000);
    parts.captions = {{"Clock", 1}};
    parts.extras = {{Bytes(1000, 0x5A), 7}, {Bytes(51, 0xA5), 8}};
    specs.push_back(parts);
  }
  for (const AifSpec& parts : specs) {
    const Bytes aif = BuildAif(parts);
    const auto text = RebuildWithOwnBitmaps(aif);
    ASSERT_TRUE(text.ok()) << text.error().message;
    EXPECT_EQ(text.value(), Hex(aif));
  }
}

TEST(RoundTrip, ACaptionWithNoBitmapsBeforeItCannotBeReadBack) {
  // The first caption then sits at offset 20, so its entry reads as the icon marker.
  AifSpec parts;
  parts.captions = {{"Clock", 1}};
  const Bytes aif = BuildAif(parts);
  const auto text = RebuildWithOwnBitmaps(aif);
  EXPECT_FALSE(text.ok() && text.value() == Hex(aif));
}

}  // namespace
}  // namespace pictoswap
