#include "heximage/piece_text.h"

#include <gtest/gtest.h>

namespace pictoswap {
namespace {

TEST(PieceText, SubstringReadsAsTheJoinedTextWouldWhereverThePiecesSplit) {
  const std::string joined = "ABCDEFGH\r\n";
  const std::vector<std::vector<std::size_t>> splits = {
      {}, {0}, {1}, {5}, {8}, {10}, {0, 0, 3}, {2, 4, 6, 8}, {1, 2, 3, 4, 5, 6, 7, 8, 9}};
  for (const auto& cuts : splits) {
    PieceText text;
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
      text.pieces.push_back(std::string_view(joined).substr(from, cut - from));
      from = cut;
    }
    text.pieces.push_back(std::string_view(joined).substr(from));
    ASSERT_EQ(Length(text), static_cast<Pos>(joined.size()));
    for (Pos index = -2; index <= 12; ++index) {
      for (Pos count = -1; count <= 12; ++count) {
        std::string spill;
        EXPECT_EQ(Substring(text, index, count, spill), Substring(joined, index, count))
            << "pieces " << cuts.size() << " at " << index << " count " << count;
      }
    }
  }
}

TEST(PieceText, AResultInsideOnePieceIsAViewOfIt) {
  const std::string big = "0011223344";
  const PieceText text{{"HEAD", big, "TAIL"}};
  std::string spill;
  const std::string_view inside = Substring(text, 5, 10, spill);
  EXPECT_EQ(inside.data(), big.data());
  EXPECT_TRUE(spill.empty());
  EXPECT_EQ(Substring(text, 3, 4, spill), "AD00");
  EXPECT_EQ(spill, "AD00");
  EXPECT_EQ(Substring(PieceText{}, 1, 1, spill), "");
}

}  // namespace
}  // namespace pictoswap
