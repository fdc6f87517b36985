#include "heximage/fatal.h"

#include <array>

namespace pictoswap {
namespace {

struct FatalKindText {
  FatalKind kind;
  const char* name;     // named in the report's first line
  const char* message;  // each %s takes the next argument, in order
};

constexpr std::array<FatalKindText, 5> kFatalTexts{{
    {FatalKind::Conversion, "conversion error", "'%s' is not a valid integer value"},
    {FatalKind::CaptionScan, "caption scan error",
     "the caption count of %s was not found: the backward scan reached the start of its root "
     "stream"},
    {FatalKind::DamagedMbm, "damaged output refused",
     "the bitmaps of %s do not end where its captions begin, so %s was not written"},
    {FatalKind::DamagedAif, "damaged output refused",
     "the captions, extra items or root stream of %s cannot be carried over intact, so %s was "
     "not written"},
    {FatalKind::Io, "I/O error", "I/O error %s: %s (%s)"},
}};

const FatalKindText& TextOf(FatalKind kind) {
  for (const auto& entry : kFatalTexts) {
    if (entry.kind == kind) return entry;
  }
  return kFatalTexts.front();
}

// Fills the %s places in order; arguments are inserted literally, never interpreted.
std::string Fill(const char* pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  auto next = args.begin();
  for (const char* p = pattern; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] == 's' && next != args.end()) {
      out.append(*next++);
      ++p;
    } else {
      out.push_back(*p);
    }
  }
  return out;
}

FatalError Make(FatalKind kind, std::initializer_list<std::string_view> args) {
  return FatalError{kind, Fill(TextOf(kind).message, args), {}};
}

}  // namespace

FatalError ConversionError(std::string_view convertedText) {
  return Make(FatalKind::Conversion, {convertedText});
}

FatalError CaptionScanError(std::string_view aifFile) {
  return Make(FatalKind::CaptionScan, {aifFile});
}

FatalError DamagedMbmError(std::string_view aifFile, std::string_view mbmFile) {
  return Make(FatalKind::DamagedMbm, {aifFile, mbmFile});
}

FatalError DamagedAifError(std::string_view aifFile, std::string_view newAifFile) {
  return Make(FatalKind::DamagedAif, {aifFile, newAifFile});
}

FatalError IoError(int code, std::string_view detail, std::string_view file) {
  return Make(FatalKind::Io, {std::to_string(code), detail, file});
}

std::string FormatFatalReport(const FatalError& error, std::string_view lineEnd) {
  std::string report = "Pictoswap stopped: ";
  report += TextOf(error.kind).name;
  if (!error.place.empty()) {
    report += " while ";
    report += error.place;
  }
  report += lineEnd;
  report += error.message;
  if (error.message.empty() || error.message.back() != '.') report += '.';
  report += lineEnd;
  report += lineEnd;
  return report;
}

}  // namespace pictoswap
