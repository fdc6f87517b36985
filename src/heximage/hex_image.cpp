#include "heximage/hex_image.h"

#include <algorithm>
#include <array>
#include <functional>

namespace pictoswap {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

// -1 for a character that is not a hexadecimal digit.
constexpr std::array<std::int8_t, 256> MakeDigitValues() {
  std::array<std::int8_t, 256> values{};
  for (auto& v : values) v = -1;
  for (int i = 0; i < 10; ++i) values['0' + i] = static_cast<std::int8_t>(i);
  for (int i = 0; i < 6; ++i) {
    values['A' + i] = static_cast<std::int8_t>(10 + i);
    values['a' + i] = static_cast<std::int8_t>(10 + i);
  }
  return values;
}
constexpr std::array<std::int8_t, 256> kDigitValues = MakeDigitValues();

// The two digits of every byte value.
constexpr std::array<std::array<char, 2>, 256> MakeDigitPairs() {
  std::array<std::array<char, 2>, 256> pairs{};
  for (int b = 0; b < 256; ++b) pairs[b] = {kDigits[b >> 4], kDigits[b & 0x0F]};
  return pairs;
}
constexpr std::array<std::array<char, 2>, 256> kDigitPairs = MakeDigitPairs();

int DigitValue(char c) {
  return kDigitValues[static_cast<unsigned char>(c)];
}

// The text a failed conversion names: "$" and the digits as read.
FatalError NotAnInteger(std::string_view digits) {
  std::string text;
  text.reserve(digits.size() + 1);
  text.push_back('$');
  text.append(digits);
  return ConversionError(text);
}

}  // namespace

void SetImageLine(HexImage& image, std::string_view line) {
  image.text.clear();
  image.text.reserve(line.size() + kImageLineEnd.size());
  image.text.append(line);
  image.text.append(kImageLineEnd);
}

std::string_view ImageLine(const HexImage& image) {
  std::string_view text = image.text;
  return text.substr(0, text.size() - std::min(text.size(), kImageLineEnd.size()));
}

std::string HexDigitsOf(const std::uint8_t* bytes, std::size_t count) {
  std::string digits(count * 2, '0');
  for (std::size_t i = 0; i < count; ++i) {
    digits[2 * i] = kDigitPairs[bytes[i]][0];
    digits[2 * i + 1] = kDigitPairs[bytes[i]][1];
  }
  return digits;
}

HexImage ImageFromBytes(const std::vector<std::uint8_t>& bytes) {
  HexImage image;
  image.text.assign(bytes.begin(), bytes.end());
  ExpandBytesToImageText(image.text, bytes.size());
  return image;
}

std::string_view Substring(std::string_view text, Pos index, Pos count) {
  const Pos length = static_cast<Pos>(text.size());
  if (index < 1) index = 1;
  if (text.empty() || count <= 0 || index > length) return {};
  const Pos available = length - index + 1;
  return text.substr(static_cast<std::size_t>(index - 1),
                     static_cast<std::size_t>(std::min(count, available)));
}

Pos Find(std::string_view needle, std::string_view text) {
  if (needle.empty() || text.empty() || needle.size() > text.size()) return 0;
  const auto hit = std::search(text.begin(), text.end(),
                               std::boyer_moore_horspool_searcher(needle.begin(), needle.end()));
  return hit == text.end() ? 0 : static_cast<Pos>(hit - text.begin()) + 1;
}

void Delete(std::string& text, Pos index, Pos count) {
  const Pos length = static_cast<Pos>(text.size());
  if (index < 1 || index > length || count <= 0) return;
  text.erase(static_cast<std::size_t>(index - 1),
             static_cast<std::size_t>(std::min(count, length - index + 1)));
}

Expected<std::int64_t> HexToInt(std::string_view digits) {
  // Fields are at most eight digits; a longer text could not be a number the tool reads.
  if (digits.empty() || digits.size() > 15) return NotAnInteger(digits);
  std::int64_t value = 0;
  for (char c : digits) {
    const int d = DigitValue(c);
    if (d < 0) return NotAnInteger(digits);
    value = value * 16 + d;
  }
  return value;
}

void ExpandBytesToImageText(std::string& text, std::size_t count) {
  text.resize(2 * count + kImageLineEnd.size());
  std::copy(kImageLineEnd.begin(), kImageLineEnd.end(), text.end() - kImageLineEnd.size());
  // From the last byte back: byte i moves to 2i and 2i + 1, never over a byte not yet read.
  char* digits = text.data();
  for (std::size_t i = count; i-- > 0;) {
    const auto& pair = kDigitPairs[static_cast<unsigned char>(digits[i])];
    digits[2 * i] = pair[0];
    digits[2 * i + 1] = pair[1];
  }
}

std::size_t DecodeHexPairs(std::string_view digits, std::uint8_t* out) {
  const std::size_t pairs = digits.size() / 2;
  for (std::size_t k = 0; k < pairs; ++k) {
    const int high = DigitValue(digits[2 * k]);
    const int low = DigitValue(digits[2 * k + 1]);
    if ((high | low) < 0) return k;
    out[k] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return pairs;
}

Expected<std::vector<std::uint8_t>> BytesOfImage(const HexImage& image) {
  // Pairs are taken while a pair starts before the image's own carriage return and line feed,
  // so an odd digit count ends with a pair of the last digit and the carriage return.
  const std::string_view text = image.text;
  const std::size_t limit = text.size() >= 2 ? text.size() - 2 : 0;
  std::vector<std::uint8_t> bytes(limit / 2 + limit % 2);
  const std::size_t converted = DecodeHexPairs(text.substr(0, limit), bytes.data());
  if (converted < bytes.size()) return NotAnInteger(text.substr(2 * converted, 2));
  return bytes;
}

}  // namespace pictoswap
