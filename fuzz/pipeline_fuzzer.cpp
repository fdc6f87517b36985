// The whole run in memory: the stages in the order the run driver calls them, up to the bytes
// each save would write, with the properties that must hold whatever the input.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "aif_build/assemble_aif.h"
#include "aif_build/replacement.h"
#include "aif_read/extract_mbm.h"
#include "aif_read/root_stream.h"
#include "heximage/fatal.h"
#include "heximage/field_codec.h"
#include "heximage/hex_image.h"
#include "run_input.h"

namespace pictoswap::fuzz {
namespace {

using Bytes = std::vector<std::uint8_t>;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

void Require(bool holds, const char* what) {
  if (!holds) Fail(what);
}

// A fatal end must be one of the reports a run without files can give.
void CheckFatal(const FatalError& error) {
  switch (error.kind) {
    case FatalKind::Conversion:
    case FatalKind::CaptionScan:
    case FatalKind::DamagedMbm:
    case FatalKind::DamagedAif:
      break;
    default:
      Fail("a fatal end of a kind that needs a file");
  }
  Require(!error.message.empty(), "a fatal report without a message");
}

std::uint32_t Le32At(const Bytes& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// A saved MBM describes itself: header, trailer offset just past the bitmaps, the count and the
// offsets the chain was walked at.
void CheckSavedMbm(const Bytes& mbm, const Extraction& extraction) {
  const auto count = static_cast<std::size_t>(extraction.bitmapCount);
  const auto trailer = static_cast<std::size_t>(20 + extraction.bitmapBytes);
  Require(mbm.size() == trailer + 4 + 4 * count, "saved MBM of the wrong length");
  Require(Le32At(mbm, 16) == trailer, "saved MBM whose trailer offset is not its trailer");
  Require(Le32At(mbm, trailer) == count, "saved MBM with another bitmap count");
  for (std::size_t k = 0; k < count; ++k) {
    Require(Le32At(mbm, trailer + 4 + 4 * k) == static_cast<std::uint32_t>(extraction.starts[k]),
            "saved MBM listing another bitmap offset");
  }
}

// The run with `replacement` as the bitmap image, from the root stream on. Returns the bytes
// the new AIF save would write, or nothing when the run ends before.
std::optional<Bytes> RebuildStages(std::string_view sourceText, const Extraction& extraction,
                                   std::string_view replacementText, bool saveAif) {
  (void)RootStreamHasNoCaptions(sourceText, extraction.window);
  Expected<SourceReading> reading = ReadRootStream(sourceText, extraction, "name.aif");
  if (!reading.ok()) return CheckFatal(reading.error()), std::nullopt;
  Expected<ReplacementReading> replacement = ReadReplacement(replacementText);
  if (!replacement.ok()) return CheckFatal(replacement.error()), std::nullopt;
  Require(replacement.value().offsets.size() ==
              static_cast<std::size_t>(std::max<Pos>(1, replacement.value().bitmapCount)),
          "one offset text per bitmap");
  Expected<AssembledAif> assembled = AssembleAif(reading.value(), replacement.value());
  if (!assembled.ok()) return CheckFatal(assembled.error()), std::nullopt;
  if (!saveAif) return std::nullopt;

  // The check before the save: the source rebuilt from its own bitmaps is the source.
  Expected<ReplacementReading> own = ReadReplacement(extraction.mbm.text);
  if (!own.ok()) return CheckFatal(own.error()), std::nullopt;
  Expected<AssembledAif> rebuilt = AssembleAif(reading.value(), own.value());
  if (!rebuilt.ok()) return CheckFatal(rebuilt.error()), std::nullopt;
  const std::string_view digits = sourceText.substr(0, sourceText.size() - kImageLineEnd.size());
  const bool intact = AssembledEquals(rebuilt.value(), digits);
  Require(intact == (NewAifText(rebuilt.value()) == digits), "AssembledEquals disagrees");
  if (!intact) return std::nullopt;

  HexImage output;
  const std::string text = NewAifText(assembled.value());
  Require(AssembledEquals(assembled.value(), text), "the joined pieces are not the new AIF");
  SetImageLine(output, text);
  Expected<Bytes> bytes = BytesOfImage(output);
  if (!bytes.ok()) {
    Require(bytes.error().kind == FatalKind::Conversion, "a save failing other than converting");
    return std::nullopt;
  }
  // What is saved is the assembled text, byte for byte.
  const Bytes& saved = bytes.value();
  Require(HexDigitsOf(saved.data(), saved.size()) == text, "saved AIF differs from its text");
  // Its root offset names where its root stream starts, just after the extra items.
  const AssembledAif& aif = assembled.value();
  const std::size_t rootDigits = aif.header.size() + aif.rootOffset.size() + aif.bitmaps.size() +
                                 aif.captions.size() + aif.extras.size();
  if (rootDigits % 2 == 0) {
    Require(Le32At(saved, 16) == static_cast<std::uint32_t>(rootDigits / 2),
            "saved AIF whose root offset is not where its root stream starts");
  }
  return saved;
}

void RunOnce(const RunInput& input) {
  bool s = input.options & kOptionS;
  bool l = input.options & kOptionL;
  bool o = input.options & kOptionO;
  if (l != o) l = o = false;  // one of them alone is dropped with a warning
  if (!s && !l) return;       // the usage block: nothing is read

  const Bytes aifBytes(input.aif.begin(), input.aif.end());
  const HexImage source = ImageFromBytes(aifBytes);
  const std::string_view sourceText = source.text;

  Expected<Extraction> extracted = ExtractMbm(sourceText);
  if (!extracted.ok()) return CheckFatal(extracted.error());
  const Extraction& extraction = extracted.value();
  Require(extraction.starts.size() == static_cast<std::size_t>(extraction.bitmapCount) + 1,
          "one start per bitmap and the end");

  std::optional<Bytes> savedMbm;
  if (s) {
    if (!TrailerMatchesBitmaps(extraction)) return;  // the damaged-MBM refusal
    Expected<Bytes> bytes = BytesOfImage(extraction.mbm);
    if (!bytes.ok()) return CheckFatal(bytes.error());
    CheckSavedMbm(bytes.value(), extraction);
    savedMbm = std::move(bytes).value();
  }

  std::string_view bitmapText = extraction.mbm.text;
  HexImage loaded;
  if (l) {
    if (!input.mbm) return;  // the replacement cannot be opened
    loaded = ImageFromBytes(Bytes(input.mbm->begin(), input.mbm->end()));
    bitmapText = loaded.text;
  }
  const std::optional<Bytes> savedAif = RebuildStages(sourceText, extraction, bitmapText, o);

  // A source that passes the check comes back byte for byte from the MBM saved of it.
  if (savedAif && savedMbm) {
    const HexImage again = ImageFromBytes(*savedMbm);
    const std::optional<Bytes> roundTrip = RebuildStages(sourceText, extraction, again.text, true);
    Require(roundTrip.has_value(), "the source's own MBM does not rebuild it");
    Require(*roundTrip == aifBytes, "the source's own MBM rebuilds another AIF");
  }
}

}  // namespace
}  // namespace pictoswap::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    pictoswap::fuzz::RunOnce(
        pictoswap::fuzz::SplitRunInput({reinterpret_cast<const char*>(data), size}));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "exception escaped the run: %s\n", e.what());
    std::abort();
  }
  return 0;
}
