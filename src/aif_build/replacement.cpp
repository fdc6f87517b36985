#include "aif_build/replacement.h"

#include "aif_read/layout.h"
#include "heximage/field_codec.h"

namespace pictoswap {
namespace {

// A short piece of the text, copied.
std::string Copy(const PieceText& text, Pos index, Pos count) {
  std::string spill;
  return std::string(Substring(text, index, count, spill));
}

}  // namespace

Expected<ReplacementReading> ReadReplacement(const PieceText& mbmText) {
  ReplacementReading r;
  r.trailerText = Copy(mbmText, layout::kOffsetFieldPos, layout::kOffsetFieldDigits);
  PS_ASSIGN_OR_RETURN(r.trailerOffset, ReadField24(r.trailerText));
  // Bytes 20 to T - 1, read as the block from byte 16 less its first 8 digits would be.
  auto spill = std::make_shared<std::string>();
  r.bitmaps = Substring(mbmText, layout::kFirstBitmapPos, 2 * r.trailerOffset - 40, *spill);
  if (!spill->empty()) r.bitmapsCopy = std::move(spill);
  PS_ASSIGN_OR_RETURN(r.bitmapCount, ReadCount(Copy(mbmText, 2 * r.trailerOffset + 1, 2)));

  // The first bitmap is taken to start at 20, whatever the trailer says; the trailer's own
  // first offset field is never read.
  r.offsets.emplace_back();
  r.widths.push_back(Copy(mbmText, layout::kFirstWidthPos, layout::kWidthDigits));
  for (Pos j = 2; j <= r.bitmapCount; ++j) {
    std::string offsetText = Copy(mbmText, 2 * r.trailerOffset + 17 + 8 * (j - 2), 8);
    PS_ASSIGN_OR_RETURN(const Pos offset, ReadField24(offsetText));
    r.offsets.push_back(std::move(offsetText));
    r.widths.push_back(
        Copy(mbmText, 2 * (offset + layout::kBitmapWidthOffset) + 1, layout::kWidthDigits));
  }
  return r;
}

Expected<ReplacementReading> ReadReplacement(std::string_view mbmText) {
  return ReadReplacement(PieceText{{mbmText}});
}

}  // namespace pictoswap
