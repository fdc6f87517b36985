// The whole run in memory: the stages in the order the run driver calls them, up to the bytes
// each save would write, with the properties that must hold whatever the input; then the run
// driver itself on the same files, which must end the same way and write the same bytes.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "aif_build/assemble_aif.h"
#include "aif_build/replacement.h"
#include "aif_read/extract_mbm.h"
#include "aif_read/root_stream.h"
#include "frontend/run_conversion.h"
#include "heximage/fatal.h"
#include "heximage/field_codec.h"
#include "heximage/hex_image.h"
#include "run_input.h"
#include "scratch_dir.h"

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

// What a run ends with, as the stages give it: the fatal kind, if any, and the bytes of each
// file it saves.
struct Outcome {
  bool readsFiles = false;  // false: the usage block, nothing is opened
  std::optional<FatalKind> fatal;
  std::optional<Bytes> mbm;  // the extracted MBM, saved with -s
  std::optional<Bytes> aif;  // the new AIF, saved with -o
};

void EndFatally(Outcome& outcome, const FatalError& error) {
  CheckFatal(error);
  outcome.fatal = error.kind;
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
// The extracted MBM joined into one image, as a reference for reading it in pieces.
HexImage JoinedMbm(const Extraction& extraction) {
  std::string digits;
  for (std::string_view piece : extraction.mbm.Line()) digits += piece;
  HexImage image;
  SetImageLine(image, digits);
  return image;
}

// Reading the extracted MBM in pieces gives what reading it joined gives.
void CheckPiecesReadAsJoined(const Extraction& extraction) {
  const HexImage joined = JoinedMbm(extraction);
  const Expected<ReplacementReading> whole = ReadReplacement(joined.text);
  const Expected<ReplacementReading> pieces = ReadReplacement(extraction.mbm.ImageText());
  Require(whole.ok() == pieces.ok(), "pieces and joined MBM disagree on failing");
  if (!whole.ok()) {
    Require(whole.error().message == pieces.error().message, "pieces fail differently");
    return;
  }
  const ReplacementReading& a = whole.value();
  const ReplacementReading& b = pieces.value();
  Require(a.trailerText == b.trailerText && a.trailerOffset == b.trailerOffset &&
              a.bitmaps == b.bitmaps && a.bitmapCount == b.bitmapCount && a.offsets == b.offsets &&
              a.widths == b.widths,
          "pieces and joined MBM read differently");
}

std::optional<Bytes> RebuildStages(std::string_view sourceText, const Extraction& extraction,
                                   std::string_view replacementText, bool saveAif,
                                   Outcome& outcome) {
  (void)RootStreamHasNoCaptions(sourceText, extraction.window);
  Expected<SourceReading> reading = ReadRootStream(sourceText, extraction, "name.aif");
  if (!reading.ok()) return EndFatally(outcome, reading.error()), std::nullopt;
  Expected<ReplacementReading> replacement = ReadReplacement(replacementText);
  if (!replacement.ok()) return EndFatally(outcome, replacement.error()), std::nullopt;
  Require(replacement.value().offsets.size() ==
              static_cast<std::size_t>(std::max<Pos>(1, replacement.value().bitmapCount)),
          "one offset text per bitmap");
  Expected<AssembledAif> assembled = AssembleAif(reading.value(), replacement.value());
  if (!assembled.ok()) return EndFatally(outcome, assembled.error()), std::nullopt;
  if (!saveAif) return std::nullopt;

  // The check before the save: the source rebuilt from its own bitmaps is the source.
  Expected<ReplacementReading> own = ReadReplacement(extraction.mbm.ImageText());
  if (!own.ok()) return EndFatally(outcome, own.error()), std::nullopt;
  Expected<AssembledAif> rebuilt = AssembleAif(reading.value(), own.value());
  if (!rebuilt.ok()) return EndFatally(outcome, rebuilt.error()), std::nullopt;
  const std::string_view digits = sourceText.substr(0, sourceText.size() - kImageLineEnd.size());
  const bool intact = AssembledEquals(rebuilt.value(), digits);
  Require(intact == (NewAifText(rebuilt.value()) == digits), "AssembledEquals disagrees");
  if (!intact) return outcome.fatal = FatalKind::DamagedAif, std::nullopt;

  HexImage output;
  const std::string text = NewAifText(assembled.value());
  Require(AssembledEquals(assembled.value(), text), "the joined pieces are not the new AIF");
  SetImageLine(output, text);
  Expected<Bytes> bytes = BytesOfImage(output);
  if (!bytes.ok()) {
    Require(bytes.error().kind == FatalKind::Conversion, "a save failing other than converting");
    return EndFatally(outcome, bytes.error()), std::nullopt;
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

Outcome RunStages(const RunInput& input) {
  Outcome outcome;
  bool s = input.options & kOptionS;
  bool l = input.options & kOptionL;
  bool o = input.options & kOptionO;
  if (l != o) l = o = false;     // one of them alone is dropped with a warning
  if (!s && !l) return outcome;  // the usage block: nothing is read
  outcome.readsFiles = true;

  const Bytes aifBytes(input.aif.begin(), input.aif.end());
  const HexImage source = ImageFromBytes(aifBytes);
  const std::string_view sourceText = source.text;

  Expected<Extraction> extracted = ExtractMbm(sourceText);
  if (!extracted.ok()) return EndFatally(outcome, extracted.error()), outcome;
  const Extraction& extraction = extracted.value();
  Require(extraction.starts.size() == static_cast<std::size_t>(extraction.bitmapCount) + 1,
          "one start per bitmap and the end");
  CheckPiecesReadAsJoined(extraction);
  const HexImage ownMbm = JoinedMbm(extraction);

  if (s) {
    if (!TrailerMatchesBitmaps(extraction)) {
      return outcome.fatal = FatalKind::DamagedMbm, outcome;
    }
    Expected<Bytes> bytes = BytesOfImage(ownMbm);
    if (!bytes.ok()) return EndFatally(outcome, bytes.error()), outcome;
    CheckSavedMbm(bytes.value(), extraction);
    outcome.mbm = std::move(bytes).value();
  }

  std::string_view bitmapText = ownMbm.text;
  HexImage loaded;
  if (l) {
    if (!input.mbm) return outcome;  // the replacement cannot be opened
    loaded = ImageFromBytes(Bytes(input.mbm->begin(), input.mbm->end()));
    bitmapText = loaded.text;
  }
  outcome.aif = RebuildStages(sourceText, extraction, bitmapText, o, outcome);

  // A source that passes the check comes back byte for byte from the MBM saved of it.
  if (outcome.aif && outcome.mbm) {
    const HexImage again = ImageFromBytes(*outcome.mbm);
    Outcome second;
    const std::optional<Bytes> roundTrip =
        RebuildStages(sourceText, extraction, again.text, true, second);
    Require(roundTrip.has_value(), "the source's own MBM does not rebuild it");
    Require(*roundTrip == aifBytes, "the source's own MBM rebuilds another AIF");
  }
  return outcome;
}

// --- The run driver itself, on files, against the stages. ---

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) Fail("cannot write a scratch file");
}

std::optional<Bytes> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The words of the report's first line that name each kind.
std::string_view ReportStart(FatalKind kind) {
  switch (kind) {
    case FatalKind::Conversion:
      return "Pictoswap stopped: conversion error";
    case FatalKind::CaptionScan:
      return "Pictoswap stopped: caption scan error";
    case FatalKind::DamagedMbm:
      return "Pictoswap stopped: damaged output refused while extracting";
    case FatalKind::DamagedAif:
      return "Pictoswap stopped: damaged output refused while checking";
    default:
      return "Pictoswap stopped: I/O error";
  }
}

// The real run on files: the same end, the same files with the same bytes, the inputs as they
// were and nothing else left in the folder.
void CheckDriver(const RunInput& input, const Outcome& expected) {
  namespace fs = std::filesystem;
  const ScratchUse scratch;
  const fs::path& dir = scratch.path();
  WriteBytes(dir / "name.aif", input.aif);
  if (input.mbm) WriteBytes(dir / "new.mbm", *input.mbm);

  const std::string base = dir.string() + "/";
  std::vector<std::string> args = {"-i" + base + "name"};
  if (input.options & kOptionS) args.push_back("-s" + base + "ext");
  if (input.options & kOptionL) args.push_back("-l" + base + "new");
  if (input.options & kOptionO) args.push_back("-o" + base + "out");
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunConversion(args, Console{out, err});

  Require(status == (expected.fatal ? 1 : 0), "the run ends otherwise than its stages");
  if (expected.fatal) {
    Require(err.str().rfind(ReportStart(*expected.fatal), 0) == 0,
            "the run reports another fatal kind than its stages");
  } else {
    Require(err.str().empty(), "a run ending normally wrote to standard error");
  }
  Require(ReadBytes(dir / "ext.mbm") == expected.mbm, "the MBM on disk is not the stages' one");
  Require(ReadBytes(dir / "out.aif") == expected.aif, "the AIF on disk is not the stages' one");
  Require(ReadBytes(dir / "name.aif") == Bytes(input.aif.begin(), input.aif.end()),
          "the source changed");
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir)) ++files;
  Require(files == 1 + (input.mbm ? 1 : 0) + (expected.mbm ? 1 : 0) + (expected.aif ? 1 : 0),
          "a run left another file behind");
}

}  // namespace
}  // namespace pictoswap::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    using namespace pictoswap::fuzz;
    const RunInput input = SplitRunInput({reinterpret_cast<const char*>(data), size});
    const Outcome outcome = RunStages(input);
    if (outcome.readsFiles) CheckDriver(input, outcome);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "exception escaped the run: %s\n", e.what());
    std::abort();
  }
  return 0;
}
