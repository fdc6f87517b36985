#include "aif_build/assemble_aif.h"

#include <array>

#include "aif_read/layout.h"
#include "heximage/field_codec.h"

namespace pictoswap {
namespace {

// The low byte of a value as two digits.
std::string LowByte(Pos value) {
  return FormatLe32(value).substr(0, 2);
}

// The captions start right after the bitmaps, at the replacement's trailer offset; each entry
// holds a caption's offset and the number the source gave it. Returns END, the offset text
// just after the captions.
Expected<std::string> BuildCaptions(const SourceReading& source, const std::string& start,
                                    AssembledAif& aif) {
  std::string current = start;
  std::string table = start;
  for (std::size_t k = 0; k < source.captions.size(); ++k) {
    aif.captions += source.captions[k];
    PS_ASSIGN_OR_RETURN(const Pos offset, ReadField24(current));
    current = FormatLe32(offset + Half(static_cast<Pos>(source.captions[k].size())));
    table += source.captionNumbers[k];
    table += current;
  }
  // The last offset appended is not an entry's: it is where the captions end.
  const std::size_t cut = table.size() < 8 ? 0 : table.size() - 8;
  std::string end = table.substr(cut);
  table.resize(cut);
  aif.captionTable = std::move(table);
  return end;
}

// Extra items follow the captions; in the remainder each old offset of an extra item is
// replaced by its new one, everything around them kept.
Status BuildExtrasAndRemainder(const SourceReading& source, const std::string& end,
                               AssembledAif& aif) {
  std::string_view rest = source.remainder;
  const auto allButLast = [](std::string_view text) {
    return Substring(text, 1, static_cast<Pos>(text.size()) - 1);
  };
  if (!source.extrasFlag) {
    aif.remainder = std::string(allButLast(rest));
    return Ok{};
  }
  PS_ASSIGN_OR_RETURN(const Pos endOffset, ReadField24(end));
  std::string newOffset = end;
  for (std::size_t k = 0; k < source.extras.size(); ++k) {
    aif.extras += source.extras[k];
    const Pos q = Find(FormatLe32(source.extraOffsets[k]), rest);
    aif.remainder += Substring(rest, 1, q - 1);
    // Dropping the characters 1 to q + 7: up to and including the old offset.
    rest = q + 7 >= static_cast<Pos>(rest.size()) ? std::string_view{}
                                                  : rest.substr(static_cast<std::size_t>(q + 7));
    aif.remainder += newOffset;
    newOffset = FormatLe32(endOffset + Half(static_cast<Pos>(aif.extras.size())));
  }
  aif.remainder += allButLast(rest);
  return Ok{};
}

std::string BuildIconTable(const ReplacementReading& replacement) {
  std::string table(layout::kIconMarker);
  for (Pos j = 1; j <= Half(replacement.bitmapCount); ++j) {
    const auto index = static_cast<std::size_t>(2 * j - 2);
    table += replacement.offsets[index];
    table += replacement.widths[index];
  }
  return table;
}

}  // namespace

Expected<AssembledAif> AssembleAif(const SourceReading& source,
                                   const ReplacementReading& replacement) {
  AssembledAif aif;
  aif.header = source.header;
  PS_ASSIGN_OR_RETURN(const std::string end, BuildCaptions(source, replacement.trailerText, aif));
  PS_RETURN_IF_ERROR(BuildExtrasAndRemainder(source, end, aif));
  aif.captionCount = LowByte(2 * static_cast<Pos>(source.captions.size()));
  aif.bitmapCount = LowByte(replacement.bitmapCount);
  aif.iconTable = BuildIconTable(replacement);
  aif.bitmaps = replacement.bitmaps;
  // The root stream starts right after the header, the root offset field, the bitmaps, the
  // captions and the extra items, counted from the pieces as placed: a trailer offset below 20
  // gives no bitmaps, and counting the replacement's offset field as read would then point
  // before the root stream.
  const Pos beforeRoot =
      layout::kHeaderDigits + layout::kOffsetFieldDigits + static_cast<Pos>(aif.bitmaps.size()) +
      static_cast<Pos>(aif.captions.size()) + static_cast<Pos>(aif.extras.size());
  aif.rootOffset = FormatLe32(Half(beforeRoot));
  return aif;
}

std::array<std::string_view, 10> PiecesOf(const AssembledAif& aif) {
  return {aif.header,       aif.rootOffset,   aif.bitmaps,     aif.captions,  aif.extras,
          aif.captionCount, aif.captionTable, aif.bitmapCount, aif.iconTable, aif.remainder};
}

std::string NewAifText(const AssembledAif& aif) {
  std::size_t size = 0;
  for (std::string_view piece : PiecesOf(aif)) size += piece.size();
  std::string text;
  text.reserve(size);
  for (std::string_view piece : PiecesOf(aif)) text += piece;
  return text;
}

bool AssembledEquals(const AssembledAif& aif, std::string_view text) {
  for (std::string_view piece : PiecesOf(aif)) {
    if (text.substr(0, piece.size()) != piece) return false;
    text.remove_prefix(piece.size());
  }
  return text.empty();
}

}  // namespace pictoswap
