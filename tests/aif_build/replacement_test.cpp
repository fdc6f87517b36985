#include "aif_build/replacement.h"

#include <gtest/gtest.h>

#include "support/file_builder.h"

namespace pictoswap {
namespace {

using namespace pictoswap::testing;

TEST(ReadReplacement, ReadsTrailerCountOffsetsAndWidths) {
  const HexImage mbm = ImageFromBytes(BuildMbm({{0x1F0, 0x0130, 1}, {0x60, 0x0248, 2}}));
  const ReplacementReading r = ReadReplacement(mbm.text).value();
  EXPECT_EQ(r.trailerText, "64020000");
  EXPECT_EQ(r.trailerOffset, 612);
  EXPECT_EQ(r.bitmaps.size(), 2u * 612 - 40);
  EXPECT_EQ(r.bitmaps.substr(0, 8), "F0010000");  // the first bitmap's length
  EXPECT_EQ(r.bitmapCount, 2);
  EXPECT_EQ(r.offsets, (std::vector<std::string>{"", "04020000"}));
  EXPECT_EQ(r.widths, (std::vector<std::string>{"3001", "4802"}));  // bytes 28-29, 524-525
}

TEST(ReadReplacement, OneOrNoBitmapsReadOnlyTheFirstWidth) {
  for (std::size_t count : {0u, 1u}) {
    const HexImage mbm = ImageFromBytes(BuildMbm(IconBitmaps(count)));
    const ReplacementReading r = ReadReplacement(mbm.text).value();
    EXPECT_EQ(r.bitmapCount, static_cast<Pos>(count));
    EXPECT_EQ(r.offsets.size(), 1u);
    EXPECT_EQ(r.widths.size(), 1u);  // read at byte 28 whatever is there
  }
}

TEST(ReadReplacement, ATrailerPastTheEndGivesABlockThatRunsIntoTheLineEnd) {
  Bytes mbm = BuildMbm(IconBitmaps(2));
  mbm[17] = 0x40;  // T far beyond the file: the count reads as 0 there
  const HexImage image = ImageFromBytes(mbm);
  const ReplacementReading r = ReadReplacement(image.text).value();
  EXPECT_EQ(r.bitmapCount, 0);
  EXPECT_EQ(r.bitmaps.substr(r.bitmaps.size() - 2), "\r\n");
}

TEST(ReadReplacement, AnOffsetFieldRunningIntoTheLineEndIsAConversionError) {
  Bytes mbm = BuildMbm(IconBitmaps(2));
  mbm.resize(mbm.size() - 2);  // the second offset field loses two bytes
  const HexImage image = ImageFromBytes(mbm);
  const auto r = ReadReplacement(image.text);
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error().message, "'$\r\n003C' is not a valid integer value");
}

TEST(ReadReplacement, ATrailerOffsetBelow16GivesAnEmptyBlock) {
  // T = 8: the count byte is byte 8 of the header (00).
  const HexImage image = ImageFromBytes(FromHex("37000010420000100000000039643947 08000000"));
  const ReplacementReading r = ReadReplacement(image.text).value();
  EXPECT_TRUE(r.bitmaps.empty());
  EXPECT_EQ(r.bitmapCount, 0);
}

}  // namespace
}  // namespace pictoswap
