// What of the source AIF carries over into a new one: captions, extra items and the rest of
// its root stream.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "aif_read/extract_mbm.h"
#include "heximage/fatal.h"
#include "heximage/hex_image.h"

namespace pictoswap {

struct SourceReading {
  std::string header;                       // the 16 identifier bytes
  Pos captionCount = 0;                     // C
  std::vector<Pos> captionOffsets;          // CS(1) ... CS(C + 1)
  std::vector<std::string> captions;        // CAP(k): length byte and text
  std::vector<std::string> captionNumbers;  // the 4 digits of entry k of the caption table
  Pos iconEntries = 0;                      // M
  Pos captionsEnd = 0;                      // E = CS(C + 1)
  bool extrasFlag = false;                  // the captions end before the root stream begins
  Pos extrasTablePos = 0;                   // RP: image-text position of the first extra entry
  std::vector<Pos> extraOffsets;            // XA(1) ... XA(Xc + 1)
  std::vector<std::string> extras;          // XS(1) ... XS(Xc)
  std::string remainder;  // after the icon table to the carriage return of the image text
};

// True when the root stream's first byte is 00: the source has no captions.
bool RootStreamHasNoCaptions(std::string_view sourceText, const RootWindow& window);

// Reads captions, extra items and root remainder. `aifFile` names the source in a fatal report.
Expected<SourceReading> ReadRootStream(std::string_view sourceText, const Extraction& extraction,
                                       std::string_view aifFile);

}  // namespace pictoswap
