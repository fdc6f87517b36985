// The bitmaps of an MBM as a new AIF takes them: block, count, offsets and widths.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "heximage/fatal.h"
#include "heximage/hex_image.h"

namespace pictoswap {

struct ReplacementReading {
  std::string trailerText;           // HT: the trailer offset field as stored
  Pos trailerOffset = 0;             // T
  std::string_view block;            // the trailer offset field and all bitmaps (a view)
  Pos bitmapCount = 0;               // B, the low byte of the count field
  std::vector<std::string> offsets;  // OF(1) ... OF(B); OF(1) is empty (the first is at 20)
  std::vector<std::string> widths;   // WD(1) ... WD(B): the low half of each bitmap's width
};

// Reads the MBM in `mbmText` (an image text). The block is a view into `mbmText`.
Expected<ReplacementReading> ReadReplacement(std::string_view mbmText);

}  // namespace pictoswap
