// Whole files in and out of images. The core works on memory; this is the thin layer of I/O.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "heximage/fatal.h"
#include "heximage/hex_image.h"

namespace pictoswap {

// Reads a whole existing file, opened read-only, into `bytes`, whose capacity is made room for
// the file's image text (two digits per byte and the line end) so that the bytes can be turned
// into it in place. False when the file cannot be opened or read (missing, a directory, no
// permission, a name the system refuses).
bool ReadWholeFile(const std::string& path, std::string& bytes);

// A file being written: a temporary file beside its target, which CommitPendingFile renames over
// the target once every byte is written. Dropped without a commit, the temporary file is removed
// and the target is as it was.
struct PendingFile {
  PendingFile() = default;
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile();

  std::string target;
  std::string temp;
  std::intptr_t handle = -1;  // the open temporary file, -1 when none
};

Status CreatePendingFile(PendingFile& file, const std::string& target);
Status WritePendingFile(PendingFile& file, const std::uint8_t* data, std::size_t size);
Status CommitPendingFile(PendingFile& file);

// Clears the image, then fills it with the file's digits. False when the file cannot be opened.
bool LoadHexImage(HexImage& image, const std::string& path);

// Writes the bytes of the image's digits atomically. A text that does not convert fails with
// the conversion error and leaves no file: the bytes go to a temporary file as the pairs are
// converted, and that file is removed on any failure.
Status SaveHexImage(const HexImage& image, const std::string& path);

// The same for a line given as pieces, saved as the image holding them joined would be, so
// that a line made of pieces need not be joined first. A pair may span two pieces.
Status SaveHexPieces(std::span<const std::string_view> pieces, const std::string& path);

}  // namespace pictoswap
