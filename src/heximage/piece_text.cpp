#include "heximage/piece_text.h"

#include <algorithm>

namespace pictoswap {

Pos Length(const PieceText& text) {
  Pos length = 0;
  for (std::string_view piece : text.pieces) length += static_cast<Pos>(piece.size());
  return length;
}

std::string_view Substring(const PieceText& text, Pos index, Pos count, std::string& spill) {
  const Pos length = Length(text);
  if (index < 1) index = 1;
  if (length == 0 || count <= 0 || index > length) return {};
  count = std::min(count, length - index + 1);

  Pos from = index - 1;  // 0-based, within the piece being looked at
  std::size_t k = 0;
  while (from >= static_cast<Pos>(text.pieces[k].size())) {
    from -= static_cast<Pos>(text.pieces[k].size());
    ++k;
  }
  const std::string_view first = text.pieces[k];
  if (from + count <= static_cast<Pos>(first.size())) {
    return first.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(count));
  }
  spill.clear();
  spill.reserve(static_cast<std::size_t>(count));
  for (; count > 0; ++k, from = 0) {
    const std::string_view piece = text.pieces[k].substr(static_cast<std::size_t>(from));
    const auto take = std::min<std::size_t>(piece.size(), static_cast<std::size_t>(count));
    spill.append(piece.substr(0, take));
    count -= static_cast<Pos>(take);
  }
  return spill;
}

}  // namespace pictoswap
