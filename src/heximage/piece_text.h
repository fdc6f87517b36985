// A text made of consecutive pieces, read without joining them: an image built from a large
// piece of another image need not copy it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "heximage/hex_image.h"

namespace pictoswap {

struct PieceText {
  std::vector<std::string_view> pieces;  // in text order; each must outlive the PieceText
};

Pos Length(const PieceText& text);

// Substring by the rules of the whole text. A result that lies in one piece is a view of that
// piece; one that spans pieces is joined into `spill` and is a view of it.
std::string_view Substring(const PieceText& text, Pos index, Pos count, std::string& spill);

}  // namespace pictoswap
