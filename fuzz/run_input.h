// One fuzz input as one run of the tool: the first byte says which options are given, the rest
// is the source AIF and, after a separator, the replacement MBM. The regression replay of the
// end-to-end tests splits the inputs the same way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pictoswap::fuzz {

// Between the AIF and the MBM; also in the dictionary, so that mutations can add or move it.
inline constexpr std::string_view kMbmSeparator = "#MBM#MBM";

inline constexpr std::uint8_t kOptionS = 1;  // save the extracted MBM
inline constexpr std::uint8_t kOptionL = 2;  // load the replacement MBM
inline constexpr std::uint8_t kOptionO = 4;  // save the new AIF

struct RunInput {
  std::uint8_t options = 0;
  std::string_view aif;
  std::optional<std::string_view> mbm;  // none: the replacement file does not exist
};

inline RunInput SplitRunInput(std::string_view data) {
  RunInput input;
  if (data.empty()) return input;
  input.options = static_cast<std::uint8_t>(data.front());
  data.remove_prefix(1);
  const std::size_t separator = data.find(kMbmSeparator);
  if (separator == std::string_view::npos) {
    input.aif = data;
  } else {
    input.aif = data.substr(0, separator);
    input.mbm = data.substr(separator + kMbmSeparator.size());
  }
  return input;
}

// The inverse, for the seed writer.
inline std::string JoinRunInput(std::uint8_t options, std::string_view aif,
                                std::optional<std::string_view> mbm) {
  std::string data(1, static_cast<char>(options));
  data += aif;
  if (mbm) {
    data += kMbmSeparator;
    data += *mbm;
  }
  return data;
}

}  // namespace pictoswap::fuzz
