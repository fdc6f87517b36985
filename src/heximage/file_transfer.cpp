#include "heximage/file_transfer.h"

namespace pictoswap {

bool LoadHexImage(HexImage& image, const std::string& path) {
  SetImageLine(image, {});
  auto bytes = ReadWholeFile(path);
  if (!bytes) return false;
  image = ImageFromBytes(*bytes);
  return true;
}

Status SaveHexImage(const HexImage& image, const std::string& path) {
  PS_ASSIGN_OR_RETURN(const auto bytes, BytesOfImage(image));
  return WriteFileAtomically(path, bytes);
}

}  // namespace pictoswap
