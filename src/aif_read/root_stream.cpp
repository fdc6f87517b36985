#include "aif_read/root_stream.h"

#include <algorithm>

#include "aif_read/layout.h"
#include "heximage/field_codec.h"

namespace pictoswap {
namespace {

struct CaptionTable {
  Pos count = 0;     // C
  Pos firstPos = 0;  // window position of the first caption entry
};

// Steps back from the icon marker one caption entry (6 bytes) at a time, starting 8 bytes
// before it, until a byte halves to a count that is not 0: that byte is the caption count.
Expected<CaptionTable> ScanCaptionCount(const RootWindow& window, std::string_view aifFile) {
  for (Pos d = 0;; d += layout::kEntryDigits) {
    const Pos probe = window.marker - 16 - d;
    if (probe < 1) return CaptionScanError(aifFile);
    PS_ASSIGN_OR_RETURN(const Pos byte, ReadCount(Substring(window.text, probe, 2)));
    if (Half(byte) != 0) return CaptionTable{Half(byte), probe + 2};
  }
}

// The captions follow one another from the first entry's offset; each length byte b
// describes b >> 2 text bytes (4 x length, plus 2 for the 8-bit captions of older files).
Status ReadCaptions(std::string_view sourceText, SourceReading& reading) {
  for (Pos k = 0; k < reading.captionCount; ++k) {
    const Pos at = 2 * reading.captionOffsets.back() + 1;
    PS_ASSIGN_OR_RETURN(const Pos lengthByte, ReadCount(Substring(sourceText, at, 2)));
    const Pos digits = 2 * (lengthByte >> 2);
    reading.captions.emplace_back(Substring(sourceText, at, digits + 2));
    reading.captionOffsets.push_back(Half(2 * reading.captionOffsets.back() + digits + 2));
  }
  return Ok{};
}

// The extras table: its count byte stands just before the first entry, whose offset field is
// the first place after the icon table where the captions' end offset occurs.
Status ReadExtras(std::string_view sourceText, Pos remainderPos, SourceReading& reading,
                  Pos rootOffset) {
  const Pos found =
      Find(FormatLe32(reading.captionsEnd), Substring(sourceText, remainderPos, Pos{1} << 62));
  reading.extrasTablePos = found == 0 ? 0 : found + remainderPos - 1;
  if (reading.extrasTablePos == 0) {
    reading.extraOffsets.push_back(rootOffset);
    return Ok{};
  }
  PS_ASSIGN_OR_RETURN(const Pos countByte,
                      ReadCount(Substring(sourceText, reading.extrasTablePos - 2, 2)));
  const Pos count = Half(countByte);
  for (Pos k = 0; k < count; ++k) {
    PS_ASSIGN_OR_RETURN(
        const Pos offset,
        ReadField24(Substring(sourceText, reading.extrasTablePos + layout::kEntryDigits * k, 8)));
    reading.extraOffsets.push_back(offset);
  }
  // The last extra item ends where the root stream begins.
  reading.extraOffsets.push_back(rootOffset);
  for (Pos k = 0; k < count; ++k) {
    const Pos from = reading.extraOffsets[static_cast<std::size_t>(k)];
    const Pos to = reading.extraOffsets[static_cast<std::size_t>(k) + 1];
    reading.extras.emplace_back(Substring(sourceText, 2 * from + 1, 2 * to - 2 * from));
  }
  return Ok{};
}

}  // namespace

bool RootStreamHasNoCaptions(std::string_view sourceText, const RootWindow& window) {
  return Substring(sourceText, 2 * window.rootOffset + 1, 2) == "00";
}

Expected<SourceReading> ReadRootStream(std::string_view sourceText, const Extraction& extraction,
                                       std::string_view aifFile) {
  const RootWindow& window = extraction.window;
  SourceReading reading;
  reading.header = std::string(Substring(sourceText, 1, layout::kHeaderDigits));

  if (RootStreamHasNoCaptions(sourceText, window)) {
    // No captions: the first caption offset is the end of the bitmaps.
    PS_ASSIGN_OR_RETURN(const Pos bitmapsEnd, ReadField24(extraction.trailerText));
    reading.captionOffsets.push_back(bitmapsEnd);
  } else {
    PS_ASSIGN_OR_RETURN(const CaptionTable table, ScanCaptionCount(window, aifFile));
    reading.captionCount = table.count;
    PS_ASSIGN_OR_RETURN(const Pos first, ReadField24(Substring(window.text, table.firstPos, 28)));
    reading.captionOffsets.push_back(first);
    for (Pos k = 0; k < table.count; ++k) {
      const Pos numberPos = table.firstPos + layout::kEntryDigits * k + 8;
      reading.captionNumbers.emplace_back(
          Substring(window.text, numberPos, layout::kCaptionNumberDigits));
    }
    PS_RETURN_IF_ERROR(ReadCaptions(sourceText, reading));
  }

  PS_ASSIGN_OR_RETURN(const Pos bitmapCountByte, ReadField24(extraction.countText));
  reading.iconEntries = Half(bitmapCountByte);
  reading.captionsEnd = reading.captionOffsets.back();
  // Bytes between the captions and the root stream are extra items.
  reading.extrasFlag = reading.captionsEnd < window.rootOffset;

  // Everything after the icon table, to the end of the window, carriage return included.
  const Pos remainderWindowPos = window.marker + layout::kEntryDigits * reading.iconEntries;
  reading.remainder =
      std::string(Substring(window.text, remainderWindowPos, static_cast<Pos>(window.text.size())));

  if (reading.extrasFlag) {
    const Pos remainderPos = std::max<Pos>(1, window.ImagePos(remainderWindowPos));
    PS_RETURN_IF_ERROR(ReadExtras(sourceText, remainderPos, reading, window.rootOffset));
  }
  return reading;
}

}  // namespace pictoswap
