#include "aif_build/replacement.h"

#include "aif_read/layout.h"
#include "heximage/field_codec.h"

namespace pictoswap {

Expected<ReplacementReading> ReadReplacement(std::string_view mbmText) {
  ReplacementReading r;
  r.trailerText =
      std::string(Substring(mbmText, layout::kOffsetFieldPos, layout::kOffsetFieldDigits));
  PS_ASSIGN_OR_RETURN(r.trailerOffset, ReadField24(r.trailerText));
  r.block = Substring(mbmText, layout::kOffsetFieldPos, 2 * r.trailerOffset - 32);
  PS_ASSIGN_OR_RETURN(r.bitmapCount, ReadCount(Substring(mbmText, 2 * r.trailerOffset + 1, 2)));

  // The first bitmap is taken to start at 20, whatever the trailer says; the trailer's own
  // first offset field is never read.
  r.offsets.emplace_back();
  r.widths.emplace_back(Substring(mbmText, layout::kFirstWidthPos, layout::kWidthDigits));
  for (Pos j = 2; j <= r.bitmapCount; ++j) {
    std::string offsetText(Substring(mbmText, 2 * r.trailerOffset + 17 + 8 * (j - 2), 8));
    PS_ASSIGN_OR_RETURN(const Pos offset, ReadField24(offsetText));
    r.offsets.push_back(std::move(offsetText));
    r.widths.emplace_back(
        Substring(mbmText, 2 * (offset + layout::kBitmapWidthOffset) + 1, layout::kWidthDigits));
  }
  return r;
}

}  // namespace pictoswap
