// A new AIF: the replacement's bitmaps and icon table, the source's header, captions, extra
// items and root remainder, every moved offset recomputed.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "aif_build/replacement.h"
#include "aif_read/root_stream.h"
#include "heximage/fatal.h"

namespace pictoswap {

// The NewAif as its pieces, in file order; the bitmaps are a view into the replacement image.
struct AssembledAif {
  std::string header;
  std::string rootOffset;
  std::string_view bitmaps;
  std::string captions;
  std::string extras;
  std::string captionCount;
  std::string captionTable;
  std::string bitmapCount;
  std::string iconTable;
  std::string remainder;
};

Expected<AssembledAif> AssembleAif(const SourceReading& source,
                                   const ReplacementReading& replacement);

// The pieces in file order, as views into `aif`.
std::array<std::string_view, 10> PiecesOf(const AssembledAif& aif);

// The NewAif's digits, all pieces joined.
std::string NewAifText(const AssembledAif& aif);

// Whether the pieces, joined, are exactly `text` (compared without joining them).
bool AssembledEquals(const AssembledAif& aif, std::string_view text);

}  // namespace pictoswap
