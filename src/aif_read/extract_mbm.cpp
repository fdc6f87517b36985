#include "aif_read/extract_mbm.h"

#include "aif_read/layout.h"
#include "heximage/field_codec.h"

namespace pictoswap {

Expected<RootWindow> LocateRootWindow(std::string_view sourceText) {
  RootWindow window;
  PS_ASSIGN_OR_RETURN(window.rootOffset, ReadField24(Substring(sourceText, layout::kOffsetFieldPos,
                                                               layout::kOffsetFieldDigits)));
  // The window starts one digit before the root stream, on the second digit of the byte
  // before it, and ends with the carriage return.
  const Pos length = static_cast<Pos>(sourceText.size());
  const Pos from = 2 * window.rootOffset;
  window.text = Substring(sourceText, from, length - from);
  window.start = from < 1 ? 1 : from;
  window.marker = Find(layout::kIconMarker, window.text);
  return window;
}

Expected<Extraction> ExtractMbm(std::string_view sourceText) {
  Extraction out;
  PS_ASSIGN_OR_RETURN(out.window, LocateRootWindow(sourceText));
  // The bitmap count is the byte before the marker; with no marker, the window's first digits.
  out.countText = std::string(Substring(out.window.text, out.window.marker - 2, 2));
  out.countText += layout::kCountPadding;
  PS_ASSIGN_OR_RETURN(out.bitmapCount, ReadField24(out.countText));

  out.starts.reserve(static_cast<std::size_t>(out.bitmapCount) + 1);
  out.starts.push_back(layout::kFirstBitmapOffset);
  for (Pos k = 0; k < out.bitmapCount; ++k) {
    const Pos start = out.starts.back();
    PS_ASSIGN_OR_RETURN(const Pos size, ReadField24(Substring(sourceText, 2 * start + 1, 8)));
    out.starts.push_back(start + size);
  }
  out.bitmapBytes = out.starts.back() - layout::kFirstBitmapOffset;

  // A root stream that starts with captions names where they begin: the end of the bitmaps.
  out.trailerText = FormatLe32(out.starts.back());
  const Pos rootPos = 2 * out.window.rootOffset + 1;
  if (Substring(sourceText, rootPos, 2) != "00") {
    out.trailerText = std::string(Substring(sourceText, rootPos + 2, 8));
  }

  out.mbm.head.reserve(layout::kMbmHeader.size() + out.trailerText.size());
  out.mbm.head.append(layout::kMbmHeader).append(out.trailerText);
  out.mbm.bitmaps = Substring(sourceText, layout::kFirstBitmapPos, 2 * out.bitmapBytes);
  out.mbm.tail = out.countText;
  for (Pos k = 0; k < out.bitmapCount; ++k) {
    out.mbm.tail += FormatLe32(out.starts[static_cast<std::size_t>(k)]);
  }
  return out;
}

bool TrailerMatchesBitmaps(const Extraction& extraction) {
  return extraction.trailerText == FormatLe32(extraction.starts.back());
}

}  // namespace pictoswap
