// The text operations, the field codec and the conversions of loading and saving against plain
// character-by-character versions of their rules, over arbitrary texts, positions, counts and
// fields.
#include <fuzzer/FuzzedDataProvider.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "heximage/fatal.h"
#include "heximage/field_codec.h"
#include "heximage/file_transfer.h"
#include "heximage/hex_image.h"
#include "scratch_dir.h"

namespace pictoswap::fuzz {
namespace {

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "differs from the reference: %s\n", what);
  std::abort();
}

void Require(bool holds, const char* what) {
  if (!holds) Fail(what);
}

// --- The reference: one character at a time, exactly as the rules read. ---

std::string RefSubstring(std::string_view t, Pos i, Pos n) {
  const Pos length = static_cast<Pos>(t.size());
  if (i < 1) i = 1;
  std::string out;
  if (t.empty() || n <= 0 || i > length) return out;
  for (Pos p = i; p <= length && static_cast<Pos>(out.size()) < n; ++p) {
    out.push_back(t[static_cast<std::size_t>(p - 1)]);
  }
  return out;
}

Pos RefFind(std::string_view s, std::string_view t) {
  if (s.empty() || t.empty() || s.size() > t.size()) return 0;
  for (std::size_t p = 0; p + s.size() <= t.size(); ++p) {
    bool same = true;
    for (std::size_t k = 0; k < s.size() && same; ++k) same = t[p + k] == s[k];
    if (same) return static_cast<Pos>(p) + 1;
  }
  return 0;
}

std::string RefDelete(std::string_view t, Pos i, Pos n) {
  const Pos length = static_cast<Pos>(t.size());
  if (i < 1 || i > length || n <= 0) return std::string(t);
  std::string out;
  for (Pos p = 1; p <= length; ++p) {
    const bool removed = p >= i && p - i < n;
    if (!removed) out.push_back(t[static_cast<std::size_t>(p - 1)]);
  }
  return out;
}

int RefDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "$" and the digits: a number, or the text a failed conversion names. Longer texts than 15
// digits are refused, as no field is that long.
std::optional<std::int64_t> RefHex(std::string_view digits) {
  if (digits.empty() || digits.size() > 15) return std::nullopt;
  std::int64_t value = 0;
  for (char c : digits) {
    if (RefDigit(c) < 0) return std::nullopt;
    value = value * 16 + RefDigit(c);
  }
  return value;
}

std::string NotAnInteger(std::string_view dollarText) {
  return "'" + std::string(dollarText) + "' is not a valid integer value";
}

// The characters 5, 6, 3, 4, 1, 2 of the field, as far as it has them.
std::string RefField24Text(std::string_view field) {
  std::string ordered = "$";
  for (std::size_t i : {4u, 5u, 2u, 3u, 0u, 1u}) {
    if (i < field.size()) ordered.push_back(field[i]);
  }
  return ordered;
}

std::string RefFormatLe32(Pos value) {
  char plain[9];
  std::snprintf(
      plain, sizeof plain, "%08X",
      static_cast<unsigned>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value))));
  const std::string p(plain);
  return p.substr(6, 2) + p.substr(4, 2) + p.substr(2, 2) + p.substr(0, 2);
}

Pos RefHalf(Pos n) {
  const Pos down = n >> 1;  // floor(n / 2)
  if ((n & 1) == 0) return down;
  return (down & 1) == 0 ? down : down + 1;  // halfway: to the even neighbour
}

// --- Checks ---

template <typename T>
void RequireFails(const Expected<T>& got, const std::string& message, const char* what) {
  Require(!got.ok(), what);
  Require(got.error().kind == FatalKind::Conversion, what);
  Require(got.error().message == message, what);
}

void CheckTextOps(FuzzedDataProvider& in) {
  const std::string text = in.ConsumeRandomLengthString(64);
  const std::string needle = in.ConsumeRandomLengthString(10);
  const auto length = static_cast<Pos>(text.size());
  // Indexes and counts around the text's edges, and now and then anywhere.
  const auto pick = [&]() -> Pos {
    if (in.ConsumeBool()) return in.ConsumeIntegral<Pos>();
    return in.ConsumeIntegralInRange<Pos>(-3, length + 3);
  };
  const Pos index = pick();
  const Pos count = pick();

  Require(Substring(text, index, count) == RefSubstring(text, index, count), "Substring");
  Require(Find(needle, text) == RefFind(needle, text), "Find");
  // A needle cut from the text itself must be found at or before the place it was cut from.
  const std::string_view piece = Substring(text, index, count);
  if (!piece.empty()) {
    Require(Find(piece, text) == RefFind(piece, text), "Find of a piece of the text");
    Require(Find(piece, text) <= std::max<Pos>(index, 1), "Find after its own place");
  }
  std::string deleted = text;
  Delete(deleted, index, count);
  Require(deleted == RefDelete(text, index, count), "Delete");
}

void CheckFieldCodec(FuzzedDataProvider& in) {
  // A field text: mostly digits, sometimes anything, of any short length.
  std::string field;
  const auto length = in.ConsumeIntegralInRange<std::size_t>(0, 10);
  static constexpr char kDigits[] = "0123456789ABCDEFabcdef";
  for (std::size_t k = 0; k < length; ++k) {
    field.push_back(in.ConsumeBool() ? kDigits[in.ConsumeIntegralInRange<int>(0, 21)]
                                     : in.ConsumeIntegral<char>());
  }
  const std::string ordered = RefField24Text(field);
  const std::optional<std::int64_t> expected =
      field.size() < 6 ? std::nullopt : RefHex(std::string_view(ordered).substr(1));
  const Expected<Pos> got = ReadField24(field);
  if (expected) {
    Require(got.ok() && got.value() == *expected, "ReadField24 value");
    Require(*expected < (Pos{1} << 24), "ReadField24 beyond three bytes");
  } else {
    RequireFails(got, NotAnInteger(ordered), "ReadField24 refusal");
  }

  const std::string two = field.substr(0, std::min<std::size_t>(2, field.size()));
  const Expected<Pos> count = ReadCount(two);
  // A count is its digits padded to a field, whatever their number.
  const std::string padded = two + "000000";
  const std::optional<std::int64_t> countExpected =
      RefHex(std::string_view(RefField24Text(padded)).substr(1));
  if (countExpected) {
    Require(count.ok() && count.value() == *countExpected, "ReadCount value");
  } else {
    Require(!count.ok() && count.error().kind == FatalKind::Conversion, "ReadCount refusal");
  }

  const std::string hexText = field.substr(0, std::min<std::size_t>(field.size(), 8));
  const Expected<std::int64_t> hex = HexToInt(hexText);
  if (const auto ref = RefHex(hexText)) {
    Require(hex.ok() && hex.value() == *ref, "HexToInt value");
  } else {
    RequireFails(hex, NotAnInteger("$" + hexText), "HexToInt refusal");
  }

  const Pos value = in.ConsumeBool() ? in.ConsumeIntegral<Pos>()
                                     : in.ConsumeIntegralInRange<Pos>(-70000, 1 << 25);
  const std::string formatted = FormatLe32(value);
  Require(formatted == RefFormatLe32(value), "FormatLe32");
  if (value >= 0) {
    Require(ReadField24(formatted).value() == value % (Pos{1} << 24), "FormatLe32 read back");
  }
  Require(Half(value) == RefHalf(value), "Half");
  if (value > -(Pos{1} << 52) && value < (Pos{1} << 52)) {
    std::fesetround(FE_TONEAREST);
    Require(Half(value) == static_cast<Pos>(std::nearbyint(static_cast<double>(value) / 2)),
            "Half against rounding to even");
  }
}

void CheckImageBytes(FuzzedDataProvider& in) {
  HexImage image;
  SetImageLine(image, in.ConsumeRandomLengthString(40));
  const Expected<std::vector<std::uint8_t>> got = BytesOfImage(image);
  // Pairs from the first character while a pair starts before the closing CR LF.
  const std::string_view text = image.text;
  std::vector<std::uint8_t> expected;
  for (std::size_t p = 0; p + 2 < text.size(); p += 2) {
    const int high = RefDigit(text[p]);
    const int low = RefDigit(text[p + 1]);
    if (high < 0 || low < 0) {
      RequireFails(got, NotAnInteger("$" + std::string(text.substr(p, 2))), "BytesOfImage refusal");
      return;
    }
    expected.push_back(static_cast<std::uint8_t>(16 * high + low));
  }
  Require(got.ok() && got.value() == expected, "BytesOfImage");
  Require(ImageFromBytes(expected).text.size() == 2 * expected.size() + 2, "image text length");
}

std::string RefImageText(std::string_view bytes) {
  static constexpr char kUpper[] = "0123456789ABCDEF";
  std::string text;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    text.push_back(kUpper[b >> 4]);
    text.push_back(kUpper[b & 0x0F]);
  }
  return text + "\r\n";
}

// The in-place expansion of loaded bytes and the pair decoder, against the plain versions.
void CheckExpandAndDecode(FuzzedDataProvider& in) {
  const std::string bytes = in.ConsumeRandomLengthString(64);
  std::string text = bytes;
  ExpandBytesToImageText(text, bytes.size());
  Require(text == RefImageText(bytes), "ExpandBytesToImageText");

  const std::string digits = in.ConsumeRandomLengthString(40);
  std::vector<std::uint8_t> out(digits.size() / 2 + 1, 0xEE);
  const std::size_t converted = DecodeHexPairs(digits, out.data());
  std::size_t expected = 0;
  while (expected < digits.size() / 2 && RefDigit(digits[2 * expected]) >= 0 &&
         RefDigit(digits[2 * expected + 1]) >= 0) {
    Require(
        out[expected] == 16 * RefDigit(digits[2 * expected]) + RefDigit(digits[2 * expected + 1]),
        "DecodeHexPairs byte");
    ++expected;
  }
  Require(converted == expected, "DecodeHexPairs count");
}

std::optional<std::string> ReadBack(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A line given in pieces is saved as the joined line would be: its bytes, or the conversion
// error of its first bad pair with the target as it was and no temporary file left; and what is
// saved loads back as the image of those bytes.
void CheckSaveAndLoad(FuzzedDataProvider& in) {
  const ScratchUse scratch;
  const std::filesystem::path& dir = scratch.path();
  const std::filesystem::path target = dir / "target";
  const bool existed = in.ConsumeBool();
  if (existed) std::ofstream(target, std::ios::binary) << "old bytes";

  std::vector<std::string> pieces(in.ConsumeIntegralInRange<std::size_t>(0, 4));
  std::string joined;
  for (std::string& piece : pieces) {
    piece = in.ConsumeBool() ? in.ConsumeRandomLengthString(12)
                             : RefImageText(in.ConsumeRandomLengthString(6))
                                   .substr(0, in.ConsumeIntegralInRange<std::size_t>(0, 12));
    joined += piece;
  }
  std::vector<std::string_view> views(pieces.begin(), pieces.end());
  const Status saved = SaveHexPieces(views, target.string());

  HexImage image;
  SetImageLine(image, joined);
  const Expected<std::vector<std::uint8_t>> expected = BytesOfImage(image);
  Require(std::distance(std::filesystem::directory_iterator(dir),
                        std::filesystem::directory_iterator()) == (existed || saved.ok() ? 1 : 0),
          "a save left a temporary file");
  if (!expected.ok()) {
    Require(!saved.ok() && saved.error().message == expected.error().message,
            "SaveHexPieces conversion error");
    const std::optional<std::string> kept = ReadBack(target);
    Require(existed ? kept == "old bytes" : !kept, "a failed save changed the target");
    return;
  }
  Require(saved.ok(), "SaveHexPieces failed on convertible digits");
  const std::optional<std::string> written = ReadBack(target);
  Require(written &&
              std::equal(written->begin(), written->end(), expected.value().begin(),
                         expected.value().end(),
                         [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }),
          "SaveHexPieces bytes");
  HexImage loaded;
  Require(LoadHexImage(loaded, target.string()), "LoadHexImage of a saved file");
  Require(loaded.text == RefImageText(*written), "LoadHexImage text");
}

}  // namespace
}  // namespace pictoswap::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    FuzzedDataProvider in(data, size);
    switch (in.ConsumeIntegralInRange<int>(0, 4)) {
      case 0:
        pictoswap::fuzz::CheckTextOps(in);
        break;
      case 1:
        pictoswap::fuzz::CheckFieldCodec(in);
        break;
      case 2:
        pictoswap::fuzz::CheckImageBytes(in);
        break;
      case 3:
        pictoswap::fuzz::CheckExpandAndDecode(in);
        break;
      default:
        pictoswap::fuzz::CheckSaveAndLoad(in);
        break;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "exception escaped: %s\n", e.what());
    std::abort();
  }
  return 0;
}
