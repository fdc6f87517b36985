#include "heximage/file_transfer.h"

#include <algorithm>
#include <array>
#include <optional>

namespace pictoswap {
namespace {

FatalError NotAnInteger(char high, char low) {
  return ConversionError(std::string{'$', high, low});
}

// Converts digit pairs into bytes a chunk at a time and hands each chunk to the file. Without a
// file, or once the file has failed, the digits are still checked: a conversion error is the
// one reported, as it would have been had every pair been converted before any file was made.
class PairWriter {
 public:
  explicit PairWriter(PendingFile* file) : file_(file) {}

  Status Write(std::string_view digits) {
    if (digits.empty()) return Ok{};
    if (pendingHigh_) {
      const std::array<char, 2> pair{*pendingHigh_, digits.front()};
      pendingHigh_.reset();
      PS_RETURN_IF_ERROR(WriteWholePairs(std::string_view(pair.data(), pair.size())));
      digits.remove_prefix(1);
    }
    if (digits.size() % 2 != 0) {
      pendingHigh_ = digits.back();
      digits.remove_suffix(1);
    }
    return WriteWholePairs(digits);
  }

  // The last digit of an odd count pairs with the carriage return of the image text. Returns
  // a conversion error, else the file's first error.
  Status Finish() {
    if (pendingHigh_) return NotAnInteger(*pendingHigh_, kImageLineEnd.front());
    Flush();
    if (fileError_) return std::move(*fileError_);
    return Ok{};
  }

 private:
  Status WriteWholePairs(std::string_view digits) {
    while (!digits.empty()) {
      const std::size_t pairs = std::min(digits.size() / 2, chunk_.size() - used_);
      const std::string_view part = digits.substr(0, 2 * pairs);
      const std::size_t converted = DecodeHexPairs(part, chunk_.data() + used_);
      if (converted < pairs) return NotAnInteger(part[2 * converted], part[2 * converted + 1]);
      used_ += pairs;
      digits.remove_prefix(2 * pairs);
      if (used_ == chunk_.size()) Flush();
    }
    return Ok{};
  }

  void Flush() {
    if (file_ != nullptr && !fileError_ && used_ > 0) {
      Status written = WritePendingFile(*file_, chunk_.data(), used_);
      if (!written.ok()) fileError_ = std::move(written).error();
    }
    used_ = 0;
  }

  PendingFile* file_;
  std::array<std::uint8_t, 1 << 16> chunk_;
  std::size_t used_ = 0;
  std::optional<char> pendingHigh_;
  std::optional<FatalError> fileError_;
};

}  // namespace

bool LoadHexImage(HexImage& image, const std::string& path) {
  // The file is read into the image's own buffer, so an image loaded anew reuses its room.
  if (!ReadWholeFile(path, image.text)) {
    SetImageLine(image, {});
    return false;
  }
  ExpandBytesToImageText(image.text, image.text.size());
  return true;
}

Status SaveHexImage(const HexImage& image, const std::string& path) {
  const std::string_view line = ImageLine(image);
  return SaveHexPieces(std::span(&line, 1), path);
}

Status SaveHexPieces(std::span<const std::string_view> pieces, const std::string& path) {
  PendingFile file;
  Status created = CreatePendingFile(file, path);
  PairWriter writer(created.ok() ? &file : nullptr);
  for (std::string_view piece : pieces) PS_RETURN_IF_ERROR(writer.Write(piece));
  PS_RETURN_IF_ERROR(writer.Finish());
  if (!created.ok()) return created;
  return CommitPendingFile(file);
}

}  // namespace pictoswap
