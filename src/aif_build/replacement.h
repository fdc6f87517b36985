// The bitmaps of an MBM as a new AIF takes them: bitmaps, count, offsets and widths.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "heximage/fatal.h"
#include "heximage/hex_image.h"
#include "heximage/piece_text.h"

namespace pictoswap {

struct ReplacementReading {
  std::string trailerText;  // HT: the trailer offset field as stored
  Pos trailerOffset = 0;    // T
  // The bitmaps: the block of bytes 16 to T - 1 without its first four bytes (the trailer
  // offset field). A view into the MBM text, or into `bitmapsCopy` when it spans pieces of an
  // MBM given in pieces.
  std::string_view bitmaps;
  std::shared_ptr<const std::string> bitmapsCopy;
  Pos bitmapCount = 0;               // B, the low byte of the count field
  std::vector<std::string> offsets;  // OF(1) ... OF(B); OF(1) is empty (the first is at 20)
  std::vector<std::string> widths;   // WD(1) ... WD(B): the low half of each bitmap's width
};

// Reads the MBM whose image text is given in pieces. The bitmaps are a view into them, which
// must outlive the reading, unless they had to be joined.
Expected<ReplacementReading> ReadReplacement(const PieceText& mbmText);

// The same for an image text in one piece.
Expected<ReplacementReading> ReadReplacement(std::string_view mbmText);

}  // namespace pictoswap
