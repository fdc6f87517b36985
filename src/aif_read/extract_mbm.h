// The bitmap directory of an AIF and the MBM made of its bitmaps.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "heximage/fatal.h"
#include "heximage/hex_image.h"
#include "heximage/piece_text.h"

namespace pictoswap {

// Where the root stream is and where its icon table starts; shared by every later reader.
struct RootWindow {
  Pos rootOffset = 0;     // X, read from byte 16
  Pos start = 1;          // image-text position of the window's first character
  std::string_view text;  // from one digit before the root stream to the carriage return
  Pos marker = 0;         // m: the icon marker's position in the window, 0 when absent
  // Image-text position of window position w.
  Pos ImagePos(Pos w) const { return w + start - 1; }
};

// The ExtractedMbm as its pieces: its bitmaps are a view of the source's, which the MBM keeps at
// the same offsets, so they are not copied.
struct ExtractedMbm {
  std::string head;          // the MBM header text and the trailer offset field
  std::string_view bitmaps;  // the bitmap digits, a view into the source image text
  std::string tail;          // the bitmap count field and the bitmap offsets

  // The MBM's digits, as saved.
  std::vector<std::string_view> Line() const { return {head, bitmaps, tail}; }
  // The image text: the digits, then the carriage return and line feed.
  PieceText ImageText() const { return PieceText{{head, bitmaps, tail, kImageLineEnd}}; }
};

struct Extraction {
  RootWindow window;
  std::string countText;    // the bitmap count byte's two digits and "000000"
  Pos bitmapCount = 0;      // N
  std::vector<Pos> starts;  // start(1) ... start(N + 1): byte offsets of the bitmaps
  Pos bitmapBytes = 0;      // S: the bytes of all N bitmaps
  std::string trailerText;  // the ExtractedMbm's trailer offset field, as chosen
  ExtractedMbm mbm;         // views into the source image text
};

// Root offset, root window and icon marker of a source image text. The window is a view into
// `sourceText`, which must outlive it.
Expected<RootWindow> LocateRootWindow(std::string_view sourceText);

// Walks the bitmap chain of the source and builds the ExtractedMbm. Its bitmaps are a view into
// `sourceText`, which must outlive it.
Expected<Extraction> ExtractMbm(std::string_view sourceText);

// Whether the trailer offset of the ExtractedMbm is where its trailer really is: false when it
// was copied from a first caption entry that points elsewhere than the end of the bitmaps.
bool TrailerMatchesBitmaps(const Extraction& extraction);

}  // namespace pictoswap
