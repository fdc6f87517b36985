#include "heximage/field_codec.h"

#include <gtest/gtest.h>

namespace pictoswap {
namespace {

TEST(FieldCodec, ReadField24ReadsThreeLittleEndianBytes) {
  const std::pair<std::string_view, Pos> cases[] = {
      {"14000000", 20},     {"28000000", 40},  {"FFFFFF7F", 16777215},  // fourth byte ignored
      {"140000", 20},       {"0A000000", 10},  {"64020000", 612},
      {"ffffff", 16777215}, {"31010000", 305},
  };
  for (const auto& [field, value] : cases) EXPECT_EQ(ReadField24(field).value(), value) << field;
}

TEST(FieldCodec, ReadField24NamesTheTextReadWhenItCannotConvert) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"1400\r\n", "$\r\n0014"},  // runs into the image's line end
      {"14000", "$00014"},        // shorter than six digits
      {"", "$"},
      {"XY0000", "$0000XY"},
  };
  for (const auto& [field, named] : cases) {
    const auto result = ReadField24(field);
    ASSERT_FALSE(result.ok()) << field;
    std::string expected = "'";
    expected.append(named).append("' is not a valid integer value");
    EXPECT_EQ(result.error().message, expected);
  }
}

TEST(FieldCodec, ReadCountReadsOneByte) {
  EXPECT_EQ(ReadCount("0A").value(), 10);
  EXPECT_EQ(ReadCount("FF").value(), 255);
  EXPECT_FALSE(ReadCount("\r\n").ok());
  EXPECT_EQ(ReadCount("").value(), 0);
}

TEST(FieldCodec, FormatLe32WritesFourLittleEndianBytes) {
  const std::pair<Pos, std::string_view> cases[] = {
      {20, "14000000"}, {0, "00000000"},   {305, "31010000"},        {16777216, "00000001"},
      {-1, "FFFFFFFF"}, {612, "64020000"}, {0x12345678, "78563412"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatLe32(value), text) << value;
}

TEST(FieldCodec, ReadField24InvertsFormatLe32BelowTwoToThe24) {
  for (Pos v : {Pos{0}, Pos{1}, Pos{255}, Pos{65536}, Pos{16777215}}) {
    EXPECT_EQ(ReadField24(FormatLe32(v)).value(), v);
  }
  EXPECT_EQ(ReadField24(FormatLe32(16777216 + 5)).value(), 5);
}

TEST(FieldCodec, HalfRoundsTiesToEven) {
  const std::pair<Pos, Pos> cases[] = {{0, 0}, {1, 0}, {2, 1},  {3, 2},  {4, 2},  {5, 2},
                                       {7, 4}, {9, 4}, {11, 6}, {-1, 0}, {-3, -2}};
  for (const auto& [n, half] : cases) EXPECT_EQ(Half(n), half) << n;
}

}  // namespace
}  // namespace pictoswap
