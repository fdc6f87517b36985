#include "aif_build/assemble_aif.h"

#include <gtest/gtest.h>

#include "heximage/field_codec.h"
#include "support/file_builder.h"

namespace pictoswap {
namespace {

using namespace pictoswap::testing;

// A source reading made by hand, for the rules the assembler follows on its own.
SourceReading Source(std::vector<std::string> captions, std::vector<std::string> numbers,
                     std::string remainder) {
  SourceReading s;
  s.header =
      "37000010"
      "6A000010"
      "00000000"
      "12345678";
  s.captionCount = static_cast<Pos>(captions.size());
  s.captions = std::move(captions);
  s.captionNumbers = std::move(numbers);
  s.remainder = std::move(remainder);
  return s;
}

TEST(AssembleAif, TwoIconsReplacedByThree) {
  // Widths 16, 16, 24, 24, 64, 64 at offsets 20, 188, 356, 684, 1012, 3100.
  const HexImage mbm = ImageFromBytes(BuildMbm(
      {{168, 16, 1}, {168, 16, 2}, {328, 24, 3}, {328, 24, 4}, {2088, 64, 5}, {200, 64, 6}}));
  const ReplacementReading r = ReadReplacement(mbm.text).value();
  ASSERT_EQ(r.offsets[4], "F4030000");
  const SourceReading s = Source({"14436C6F636B"}, {"0100"}, "AABB\r");
  const AssembledAif aif = AssembleAif(s, r).value();
  EXPECT_EQ(aif.iconTable,
            "14000000"
            "1000"
            "64010000"
            "1800"
            "F4030000"
            "4000");
  EXPECT_EQ(aif.bitmapCount, "06");
  EXPECT_EQ(aif.captions, "14436C6F636B");
  EXPECT_EQ(aif.captionTable,
            "E40C0000"
            "0100");  // T = 20 + 3280
  EXPECT_EQ(aif.remainder, "AABB");
}

TEST(AssembleAif, OneCaptionAfterTheBitmapsMovesTheRootOffset) {
  const HexImage mbm = ImageFromBytes(BuildMbm({{0x1F0, 32, 1}, {0x60, 32, 2}}));
  const ReplacementReading r = ReadReplacement(mbm.text).value();
  const AssembledAif aif = AssembleAif(Source({"14436C6F636B"}, {"0100"}, "\r"), r).value();
  EXPECT_EQ(aif.captionCount, "02");
  EXPECT_EQ(aif.captionTable,
            "64020000"
            "0100");
  EXPECT_EQ(aif.rootOffset, FormatLe32(618));
  EXPECT_EQ(aif.bitmaps.size(), 2u * 592);
  EXPECT_EQ(NewAifText(aif).size(), 2u * (618 + 1 + 6 + 1 + 6));
}

TEST(AssembleAif, NoCaptionsNoExtras) {
  const HexImage mbm = ImageFromBytes(BuildMbm(IconBitmaps(2)));
  const ReplacementReading r = ReadReplacement(mbm.text).value();
  const AssembledAif aif = AssembleAif(Source({}, {}, "0102\r"), r).value();
  const std::string text = NewAifText(aif);
  // Root stream: 00, the count byte, the icon table, the remainder without its carriage return.
  EXPECT_EQ(text.substr(text.size() - 20),
            "00"
            "02"
            "14000000"
            "1000"
            "0102");
  EXPECT_EQ(aif.rootOffset, FormatLe32(100));
}

TEST(AssembleAif, OddAndSingleBitmapCounts) {
  const std::pair<std::size_t, std::string_view> cases[] = {
      {5,
       "14000000"
       "1000"
       "64000000"
       "1800"},         // Half(5) = 2 entries
      {1, "14000000"},  // no width at all
      {0, "14000000"},
  };
  for (const auto& [count, table] : cases) {
    const HexImage mbm = ImageFromBytes(BuildMbm(IconBitmaps(count)));
    const AssembledAif aif =
        AssembleAif(Source({}, {}, "\r"), ReadReplacement(mbm.text).value()).value();
    EXPECT_EQ(aif.iconTable, table) << count;
    EXPECT_EQ(aif.bitmapCount, FormatLe32(static_cast<Pos>(count)).substr(0, 2));
  }
}

TEST(AssembleAif, ExtraItemsFollowTheCaptionsAndTheirOffsetsMoveInTheRemainder) {
  const HexImage mbm = ImageFromBytes(BuildMbm(IconBitmaps(2)));  // captions start at 100
  SourceReading s = Source({"0841"}, {"0100"}, "");
  s.extrasFlag = true;
  // Old layout: caption at 500, extras at 502 (3 bytes) and 505 (1 byte), root at 506.
  s.extraOffsets = {502, 505, 506};
  s.extras = {"AABBCC", "DD"};
  s.remainder =
      "EE"
      "04"
      "F6010000"
      "0100"
      "F9010000"
      "0200"
      "0000\r";
  const AssembledAif aif = AssembleAif(s, ReadReplacement(mbm.text).value()).value();
  EXPECT_EQ(aif.extras, "AABBCCDD");
  // New: caption at 100 (2 bytes), extras at 102 and 105.
  EXPECT_EQ(aif.remainder,
            "EE"
            "04"
            "66000000"
            "0100"
            "69000000"
            "0200"
            "0000");
  EXPECT_EQ(aif.rootOffset, FormatLe32(106));
}

TEST(AssembleAif, LossyReadingsGiveWhatTheRulesGive) {
  const HexImage mbm = ImageFromBytes(BuildMbm(IconBitmaps(2)));
  const ReplacementReading r = ReadReplacement(mbm.text).value();
  {
    // Extras flag set with no items: the whole remainder but its last character, nothing else.
    SourceReading s = Source({}, {}, "0102030405060708090A\r");
    s.extrasFlag = true;
    s.extraOffsets = {300};
    const AssembledAif aif = AssembleAif(s, r).value();
    EXPECT_EQ(aif.remainder, "0102030405060708090A");
    EXPECT_EQ(aif.extras, "");
  }
  {
    // An extra offset missing from the remainder: nothing before it is kept, and the first
    // seven characters are dropped.
    SourceReading s = Source({}, {}, "0123456789ABCDEF\r");
    s.extrasFlag = true;
    s.extraOffsets = {300, 301};
    s.extras = {"FF"};
    const AssembledAif aif = AssembleAif(s, r).value();
    EXPECT_EQ(aif.remainder,
              "64000000"
              "789ABCDEF");
  }
}

}  // namespace
}  // namespace pictoswap
