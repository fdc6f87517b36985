#include "heximage/hex_image.h"

#include <gtest/gtest.h>

namespace pictoswap {
namespace {

struct SubstringCase {
  std::string_view text;
  Pos index;
  Pos count;
  std::string_view expected;
};

TEST(TextOperations, SubstringFollowsItsEdgeRules) {
  const SubstringCase cases[] = {
      {"ABCDEF", 1, 2, "AB"},   {"ABCDEF", -3, 2, "AB"},  // index below 1 counts as 1
      {"ABCDEF", 0, 3, "ABC"},  {"ABCDEF", 7, 1, ""},     // index past the end
      {"ABCDEF", 5, 9, "EF"},   {"ABCDEF", 6, 1, "F"},    // count stops at the end
      {"ABCDEF", 2, 0, ""},     {"ABCDEF", 2, -4, ""},    // count of 0 or less
      {"", 1, 5, ""},           {"", -1, 5, ""},          // empty text
      {"ABCDEF", 3, 4, "CDEF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Substring(c.text, c.index, c.count), c.expected)
        << c.text << " at " << c.index << " count " << c.count;
  }
}

struct FindCase {
  std::string_view needle;
  std::string_view text;
  Pos expected;
};

TEST(TextOperations, FindReturnsFirstOccurrenceAtAnyCharacter) {
  const FindCase cases[] = {
      {"14000000", "0140000000", 2},  // starts on the second digit of a byte
      {"14000000", "14000000", 1},
      {"14000000", "AA14000000BB14000000", 3},
      {"14000000", "1400000", 0},  // needle longer than the text
      {"", "ABC", 0},              // empty needle
      {"A", "", 0},                // empty text
      {"CD", "ABCDCD", 3},
      {"cd", "ABCD", 0},  // compared exactly
      {"\r\n", "AB\r\n", 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Find(c.needle, c.text), c.expected) << c.needle << " in " << c.text;
  }
}

struct DeleteCase {
  std::string_view text;
  Pos index;
  Pos count;
  std::string_view expected;
};

TEST(TextOperations, DeleteFollowsItsEdgeRules) {
  const DeleteCase cases[] = {
      {"ABCDEF", 1, 2, "CDEF"},   {"ABCDEF", 0, 2, "ABCDEF"},  // index below 1: nothing
      {"ABCDEF", 7, 1, "ABCDEF"}, {"ABCDEF", 5, 9, "ABCD"},    // past the end: to the end
      {"ABCDEF", 2, 0, "ABCDEF"}, {"ABCDEF", 2, -1, "ABCDEF"}, {"", 1, 1, ""},
      {"ABCDEF", 6, 1, "ABCDE"},
  };
  for (const auto& c : cases) {
    std::string text(c.text);
    Delete(text, c.index, c.count);
    EXPECT_EQ(text, c.expected) << c.text << " at " << c.index << " count " << c.count;
  }
}

TEST(HexImage, TextIsTheDigitsThenCarriageReturnAndLineFeed) {
  EXPECT_EQ(ImageFromBytes({}).text, "\r\n");
  EXPECT_EQ(ImageFromBytes({0x00, 0xAB, 0x7F}).text, "00AB7F\r\n");
  HexImage image = ImageFromBytes({0x01});
  SetImageLine(image, "0A0B");
  EXPECT_EQ(image.text, "0A0B\r\n");
  EXPECT_EQ(ImageLine(image), "0A0B");
}

TEST(HexConversion, AcceptsEitherCaseAndNamesTheWholeTextOnFailure) {
  EXPECT_EQ(HexToInt("1f").value(), 31);
  EXPECT_EQ(HexToInt("FF").value(), 255);
  for (std::string_view bad : {"1G", "\r\n", " 1", "", "12\r"}) {
    const auto result = HexToInt(bad);
    ASSERT_FALSE(result.ok()) << bad;
    EXPECT_EQ(result.error().kind, FatalKind::Conversion);
    std::string expected = "'$";
    expected.append(bad).append("' is not a valid integer value");
    EXPECT_EQ(result.error().message, expected);
  }
}

TEST(HexImage, BytesOfAnOddTextFailOnTheLastDigitAndTheCarriageReturn) {
  HexImage image;
  SetImageLine(image, "0A0");
  const auto bytes = BytesOfImage(image);
  ASSERT_FALSE(bytes.ok());
  EXPECT_EQ(bytes.error().message, "'$0\r' is not a valid integer value");

  SetImageLine(image, "0A\r\n0B");
  EXPECT_EQ(BytesOfImage(image).error().message, "'$\r\n' is not a valid integer value");

  SetImageLine(image, "0a0B");
  EXPECT_EQ(BytesOfImage(image).value(), (std::vector<std::uint8_t>{0x0A, 0x0B}));
}

}  // namespace
}  // namespace pictoswap
