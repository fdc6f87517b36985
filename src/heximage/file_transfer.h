// Whole files in and out of images. The core works on memory; this is the thin layer of I/O.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "heximage/fatal.h"
#include "heximage/hex_image.h"

namespace pictoswap {

// Reads a whole existing file, opened read-only. Nothing when it cannot be opened or read
// (missing, a directory, no permission, a name the system refuses).
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// Writes the bytes to a temporary file beside `path` and renames it over `path` only when every
// byte was written; on failure the target is as it was and no temporary file is left.
Status WriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Clears the image, then fills it with the file's digits. False when the file cannot be opened.
bool LoadHexImage(HexImage& image, const std::string& path);

// Converts every digit pair of the image first, then writes the bytes atomically: a text that
// does not convert fails with the conversion error and leaves no file.
Status SaveHexImage(const HexImage& image, const std::string& path);

}  // namespace pictoswap
