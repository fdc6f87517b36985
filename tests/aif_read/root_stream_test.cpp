#include "aif_read/root_stream.h"

#include <gtest/gtest.h>

#include <memory>

#include "heximage/field_codec.h"
#include "support/file_builder.h"

namespace pictoswap {
namespace {

using namespace pictoswap::testing;

// The source image and what the readers make of it; the readings hold views into the image.
struct Reading {
  HexImage image;
  Extraction extraction;
  Expected<SourceReading> source = FatalError{};
};

std::unique_ptr<Reading> ReadAif(const Bytes& aif) {
  auto r = std::make_unique<Reading>();
  r->image = ImageFromBytes(aif);
  r->extraction = ExtractMbm(r->image.text).value();
  r->source = ReadRootStream(r->image.text, r->extraction, "app.aif");
  return r;
}

std::size_t RootOffset(const Bytes& aif) {
  return aif[16] | (aif[17] << 8) | (aif[18] << 16);
}

std::string CaptionHex(const CaptionSpec& caption) {
  const auto lengthByte =
      static_cast<std::uint8_t>(4 * caption.text.size() + (caption.eightBit ? 2 : 0));
  return Hex(Bytes{lengthByte}) + Hex(Bytes(caption.text.begin(), caption.text.end()));
}

TEST(ReadRootStream, NoCaptionsStartAtTheEndOfTheBitmaps) {
  AifSpec parts;
  parts.bitmaps = IconBitmaps(2);
  const auto r = ReadAif(BuildAif(parts));
  EXPECT_TRUE(RootStreamHasNoCaptions(r->image.text, r->extraction.window));
  const SourceReading& s = r->source.value();
  EXPECT_EQ(s.captionCount, 0);
  EXPECT_EQ(s.captionOffsets, (std::vector<Pos>{100}));
  EXPECT_FALSE(s.extrasFlag);
  EXPECT_EQ(s.iconEntries, 1);
  EXPECT_EQ(s.remainder, "\r");
}

TEST(ReadRootStream, CaptionsAreReadOneAfterTheOtherWithTheirNumbers) {
  const std::vector<std::vector<CaptionSpec>> cases = {
      {{"Clock", 1}},
      {{"Clock", 1}, {"Horloge", 2}},
      {{"A", 0x0A}, {"", 0x0100}, {"Uhr", 3}},  // numbers whose high byte halves to 0
      {{std::string(63, 'x'), 1}, {std::string(50, 'y'), 2}},  // kept whole
      {{"Calc", 1, true}, {"Rechner", 2, true}},               // 8-bit: length byte 4L + 2
  };
  for (const auto& captions : cases) {
    AifSpec parts;
    parts.bitmaps = IconBitmaps(2);
    parts.captions = captions;
    const auto r = ReadAif(BuildAif(parts));
    EXPECT_FALSE(RootStreamHasNoCaptions(r->image.text, r->extraction.window));
    ASSERT_TRUE(r->source.ok()) << r->source.error().message;
    const SourceReading& s = r->source.value();
    ASSERT_EQ(s.captionCount, static_cast<Pos>(captions.size()));
    Pos offset = 100;
    for (std::size_t k = 0; k < captions.size(); ++k) {
      EXPECT_EQ(s.captions[k], CaptionHex(captions[k]));
      EXPECT_EQ(s.captionNumbers[k], FormatLe32(captions[k].number).substr(0, 4));
      EXPECT_EQ(s.captionOffsets[k], offset);
      offset += 1 + static_cast<Pos>(captions[k].text.size());
    }
    EXPECT_EQ(s.captionsEnd, offset);
    EXPECT_FALSE(s.extrasFlag);
  }
}

TEST(ReadRootStream, OddCountBytesHalfToEven) {
  // Count bytes 03 and 05 both halve to 2.
  for (std::uint8_t countByte : {0x03, 0x04, 0x05}) {
    AifSpec parts;
    parts.bitmaps = IconBitmaps(2);
    parts.captions = {{"Clock", 1}, {"Uhr", 2}};
    Bytes aif = BuildAif(parts);
    aif[RootOffset(aif)] = countByte;
    const auto r = ReadAif(aif);
    EXPECT_EQ(r->source.value().captionCount, 2) << int(countByte);
    EXPECT_EQ(r->source.value().captions[1], "0C556872");
  }
}

TEST(ReadRootStream, AScanThatRunsBelowTheRootStreamIsFatal) {
  AifSpec parts;
  parts.bitmaps = IconBitmaps(2);
  parts.captions = {{"Clock", 1}};
  Bytes aif = BuildAif(parts);
  aif[RootOffset(aif)] = 0x01;  // halves to 0: the scan goes on, past the start
  const auto r = ReadAif(aif);
  ASSERT_FALSE(r->source.ok());
  EXPECT_EQ(r->source.error().kind, FatalKind::CaptionScan);
  EXPECT_EQ(r->source.error().message,
            "the caption count of app.aif was not found: the backward scan reached the start of "
            "its root stream");
}

TEST(ReadRootStream, ExtrasFollowTheCaptionsWheneverTheyEndBeforeTheRoot) {
  // Icon tables of 1 to 10 entries and remainders of 0 to 60 bytes, with and without extras:
  // the flag follows E < X alone.
  for (std::size_t icons : {1u, 4u, 10u}) {
    for (std::size_t remainder : {0u, 7u, 41u, 60u}) {
      for (bool withExtras : {false, true}) {
        AifSpec parts;
        parts.bitmaps = IconBitmaps(2 * icons, 24);
        parts.captions = {{"Clock", 1}};
        parts.remainder = Bytes(remainder, 0xEE);
        if (withExtras) {
          parts.extras = {{FromHex("0102030405"), 0x0001}, {FromHex("AABB"), 0x0002}};
        }
        const auto r = ReadAif(BuildAif(parts));
        ASSERT_TRUE(r->source.ok()) << icons << " " << remainder;
        const SourceReading& s = r->source.value();
        EXPECT_EQ(s.extrasFlag, withExtras) << icons << " " << remainder;
        EXPECT_EQ(s.iconEntries, static_cast<Pos>(icons));
        if (withExtras) {
          EXPECT_EQ(s.extras, (std::vector<std::string>{"0102030405", "AABB"}));
        } else {
          EXPECT_TRUE(s.extras.empty());
          EXPECT_EQ(s.remainder, Hex(parts.remainder) + "\r");
        }
      }
    }
  }
}

TEST(ReadRootStream, TheCaptionsEndTextElsewhereIsNotTakenForTheExtrasTable) {
  AifSpec parts;
  parts.bitmaps = IconBitmaps(2);
  parts.captions = {{"Clock", 1}};
  parts.extras = {{FromHex("11223344"), 0x0007}};
  Bytes aif = BuildAif(parts);
  // E = 100 + 6 = 106: write it into the first bitmap's pixels too.
  const Bytes end = Le32(106);
  std::copy(end.begin(), end.end(), aif.begin() + 40);
  const auto r = ReadAif(aif);
  const SourceReading& s = r->source.value();
  EXPECT_TRUE(s.extrasFlag);
  EXPECT_EQ(s.extras, (std::vector<std::string>{"11223344"}));
  EXPECT_EQ(s.extraOffsets, (std::vector<Pos>{106, 110}));
}

TEST(ReadRootStream, AnExtrasTableThatCannotBeFoundMeansNoExtraItems) {
  AifSpec parts;
  parts.bitmaps = IconBitmaps(2);
  parts.captions = {{"Clock", 1}};
  parts.remainder = Bytes(50, 0x00);
  Bytes aif = BuildAif(parts);
  // Four stray bytes between the captions and the root, and no table naming them.
  aif.insert(aif.begin() + 106, {1, 2, 3, 4});
  aif[16] += 4;
  const auto r = ReadAif(aif);
  const SourceReading& s = r->source.value();
  EXPECT_TRUE(s.extrasFlag);
  EXPECT_EQ(s.extrasTablePos, 0);
  EXPECT_TRUE(s.extras.empty());
}

TEST(ReadRootStream, MoreCaptionsAndExtrasThanAnyFixedTableAreReadWhole) {
  AifSpec parts;
  parts.bitmaps = IconBitmaps(40, 20);
  for (int k = 1; k <= 21; ++k) parts.captions.push_back({"Caption" + std::to_string(k), 1});
  for (int k = 1; k <= 20; ++k)
    parts.extras.push_back({Bytes(60, static_cast<std::uint8_t>(k)), 0});
  // Numbers 1..21: the scan stops at the count byte only when every number's high byte is 0.
  for (int k = 0; k < 21; ++k) parts.captions[k].number = static_cast<std::uint16_t>(k + 1);
  const auto r = ReadAif(BuildAif(parts));
  ASSERT_TRUE(r->source.ok());
  const SourceReading& s = r->source.value();
  EXPECT_EQ(s.captionCount, 21);
  EXPECT_EQ(s.iconEntries, 20);
  ASSERT_EQ(s.extras.size(), 20u);
  EXPECT_EQ(s.extras[19], Hex(Bytes(60, 20)));
}

}  // namespace
}  // namespace pictoswap
