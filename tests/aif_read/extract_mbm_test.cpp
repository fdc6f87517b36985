#include "aif_read/extract_mbm.h"

#include <gtest/gtest.h>

#include "heximage/field_codec.h"
#include "heximage/file_transfer.h"
#include "support/file_builder.h"

namespace pictoswap {
namespace {

using namespace pictoswap::testing;

Bytes MbmBytes(const Extraction& extraction) {
  std::string digits;
  for (std::string_view piece : extraction.mbm.Line()) digits += piece;
  return FromHex(digits);
}

TEST(ExtractMbm, TwoBitmapsBecomeAnMbmWithTheirOffsetsInTheTrailer) {
  AifSpec parts;
  parts.bitmaps = {{0x1F0, 32, 0x11}, {0x60, 32, 0x22}};
  parts.captions = {{"Clock", 1}};
  const HexImage source = ImageFromBytes(BuildAif(parts));
  const auto extraction = ExtractMbm(source.text);
  ASSERT_TRUE(extraction.ok());
  const Extraction& e = extraction.value();
  EXPECT_EQ(e.bitmapCount, 2);
  EXPECT_EQ(e.starts, (std::vector<Pos>{20, 516, 612}));
  EXPECT_TRUE(TrailerMatchesBitmaps(e));

  const Bytes mbm = MbmBytes(e);
  ASSERT_EQ(mbm.size(), 624u);
  EXPECT_EQ(Hex(Bytes(mbm.begin(), mbm.begin() + 20)),
            "37000010420000100000000039643947"
            "64020000");
  EXPECT_EQ(Hex(Bytes(mbm.begin() + 612, mbm.end())),
            "02000000"
            "14000000"
            "04020000");
  // The bitmaps keep the offsets they had in the AIF.
  const Bytes aif = BuildAif(parts);
  EXPECT_TRUE(std::equal(mbm.begin() + 20, mbm.begin() + 612, aif.begin() + 20));
  // And the result is what the builder writes for the same bitmaps.
  EXPECT_EQ(mbm, BuildMbm(parts.bitmaps));
}

TEST(ExtractMbm, NoBitmapsGiveA24ByteMbm) {
  AifSpec parts;  // no bitmaps, no captions: the root stream is 00 00 14000000
  const HexImage source = ImageFromBytes(BuildAif(parts));
  const Extraction e = ExtractMbm(source.text).value();
  EXPECT_EQ(e.bitmapCount, 0);
  EXPECT_EQ(Hex(MbmBytes(e)),
            "37000010420000100000000039643947"
            "14000000"
            "00000000");
}

TEST(ExtractMbm, OneBitmapOf100BytesGivesA128ByteMbm) {
  // One bitmap has no icon entry of its own (its count halves to 0); an entry is put in the
  // remainder so that the marker is found after the count byte.
  AifSpec parts;
  parts.bitmaps = {{100, 48, 0x33}};
  parts.remainder = FromHex("14000000 3000");
  const HexImage source = ImageFromBytes(BuildAif(parts));
  const Bytes mbm = MbmBytes(ExtractMbm(source.text).value());
  ASSERT_EQ(mbm.size(), 128u);
  EXPECT_EQ(Hex(Bytes(mbm.begin() + 16, mbm.begin() + 20)), "78000000");  // T = 120
  EXPECT_EQ(Hex(Bytes(mbm.begin() + 120, mbm.end())),
            "01000000"
            "14000000");
}

TEST(ExtractMbm, TheCountByteIsUsedUnchanged) {
  AifSpec parts;
  parts.bitmaps = IconBitmaps(4);
  const HexImage source = ImageFromBytes(BuildAif(parts));
  const Extraction e = ExtractMbm(source.text).value();
  EXPECT_EQ(e.bitmapCount, 4);
  EXPECT_EQ(e.countText, "04000000");
  EXPECT_EQ(e.starts.size(), 5u);
}

TEST(ExtractMbm, AMarkerOnTheSecondDigitOfAByteIsTakenLikeAnyOther) {
  // Root offset 20, no bitmaps; root stream 00 01 40 00 00 00: the marker starts on the second
  // digit of the byte 01, so the count text is the two digits before it, which straddle the
  // bytes 00 and 01.
  const HexImage source =
      ImageFromBytes(FromHex("37000010 6A000010 00000000 00000000 14000000 00 01 40 00 00 00"));
  const Extraction e = ExtractMbm(source.text).value();
  EXPECT_EQ(e.window.marker, 5);  // the window starts one digit before the root stream
  EXPECT_EQ(e.countText, "00000000");
  EXPECT_EQ(e.bitmapCount, 0);
}

TEST(ExtractMbm, ABitmapChainRunningPastTheEndIsAConversionError) {
  AifSpec parts;
  parts.bitmaps = IconBitmaps(2);
  Bytes aif = BuildAif(parts);
  // The second bitmap claims to be so long that a third one would start past the end, and the
  // count byte claims three bitmaps.
  const std::size_t rootOffset = aif[16];
  aif[rootOffset + 1] = 3;
  aif[20 + 40] = 0xF0;
  aif[20 + 40 + 1] = 0x0F;
  const HexImage source = ImageFromBytes(aif);
  const auto e = ExtractMbm(source.text);
  ASSERT_FALSE(e.ok());
  EXPECT_EQ(e.error().kind, FatalKind::Conversion);
  EXPECT_EQ(e.error().message, "'$' is not a valid integer value");  // nothing left to read
}

TEST(ExtractMbm, ASizeFieldReachingTheLineEndNamesTheTextRead) {
  // The root stream lies inside the header (X = 10: 00, count 01, marker); the one bitmap at 20
  // has only two bytes, so its size field runs into the carriage return and line feed.
  const HexImage source =
      ImageFromBytes(FromHex("37000010 6A000010 0000 00 01 14000000 0A000000 1234"));
  const auto e = ExtractMbm(source.text);
  ASSERT_FALSE(e.ok());
  EXPECT_EQ(e.error().message, "'$\r\n3412' is not a valid integer value");
}

TEST(ExtractMbm, AFileShorterThanItsRootOffsetFieldIsAConversionError) {
  const HexImage source = ImageFromBytes(FromHex("37000010 6A000010 00000000 00000000 14"));
  const auto e = ExtractMbm(source.text);
  ASSERT_FALSE(e.ok());
  EXPECT_EQ(e.error().kind, FatalKind::Conversion);
}

TEST(ExtractMbm, AGapBeforeTheFirstCaptionFailsTheTrailerCheck) {
  AifSpec parts;
  parts.bitmaps = IconBitmaps(2);
  parts.captions = {{"Clock", 1}};
  Bytes aif = BuildAif(parts);
  // Point the first caption entry one byte further.
  const std::size_t root = aif[16] | (aif[17] << 8);
  aif[root + 1] += 1;
  const HexImage source = ImageFromBytes(aif);
  const Extraction e = ExtractMbm(source.text).value();
  EXPECT_FALSE(TrailerMatchesBitmaps(e));
  EXPECT_EQ(e.trailerText, FormatLe32(20 + 80 + 1));
}

TEST(ExtractMbm, ManyBitmapsAreAllWalked) {
  AifSpec parts;
  parts.bitmaps = IconBitmaps(40, 24);
  const HexImage source = ImageFromBytes(BuildAif(parts));
  const Extraction e = ExtractMbm(source.text).value();
  EXPECT_EQ(e.bitmapCount, 40);
  EXPECT_EQ(MbmBytes(e), BuildMbm(parts.bitmaps));
}

}  // namespace
}  // namespace pictoswap
