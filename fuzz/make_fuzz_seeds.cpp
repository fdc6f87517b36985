// Writes the seed corpora of the fuzz targets, every file made by the test-file builder:
//   make_fuzz_seeds DIR
// gives DIR/pipeline (runs: options, AIF and MBM), DIR/text_ops and DIR/large (runs on AIFs of a
// few hundred KiB, for timing rather than fuzzing).
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "run_input.h"
#include "support/file_builder.h"

namespace {

using namespace pictoswap::testing;
using pictoswap::fuzz::JoinRunInput;
using pictoswap::fuzz::kOptionL;
using pictoswap::fuzz::kOptionO;
using pictoswap::fuzz::kOptionS;
namespace fs = std::filesystem;

std::string Text(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// A literal with the zero bytes it holds.
template <std::size_t N>
std::string Literal(const char (&text)[N]) {
  return std::string(text, N - 1);
}

void WriteSeed(const fs::path& dir, const std::string& name, const std::string& data) {
  std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  if (!out) throw std::runtime_error("cannot write " + (dir / name).string());
}

struct Shape {
  std::string name;
  AifSpec parts;
};

std::vector<Shape> Shapes() {
  std::vector<Shape> shapes;
  shapes.push_back({"example", ExampleAifSpec()});

  AifSpec bare;  // no bitmaps, no captions
  shapes.push_back({"bare", bare});

  AifSpec one;
  one.bitmaps = IconBitmaps(2);
  one.captions = {{"Clock", 1}};
  shapes.push_back({"one_caption", one});

  AifSpec several;
  several.bitmaps = IconBitmaps(4, 64);
  several.captions = {{"Uhr", 1}, {"Horloge", 2}, {"Reloj de mesa", 3, true}};
  several.remainder = {0x01, 0x02, 0x03};
  shapes.push_back({"three_captions", several});

  AifSpec extras = ExampleAifSpec();
  extras.extras.push_back({{0xDE, 0xAD, 0xBE, 0xEF}, 0x0002});
  extras.remainder = {0x00, 0x14, 0x00, 0x00, 0x00};
  shapes.push_back({"two_extras", extras});

  AifSpec numbers;
  numbers.bitmaps = IconBitmaps(6, 24);
  numbers.captions = {{"A", 0x0A}, {"", 0x0100}, {std::string(63, 'x'), 3}};
  shapes.push_back({"odd_numbers", numbers});

  AifSpec many;
  many.bitmaps = IconBitmaps(20, 20);
  for (int k = 1; k <= 21; ++k) many.captions.push_back({"c" + std::to_string(k), 1});
  for (int k = 0; k < 19; ++k) many.extras.push_back({{static_cast<std::uint8_t>(k)}, 1});
  shapes.push_back({"many", many});
  return shapes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_fuzz_seeds DIR\n";
    return 2;
  }
  const fs::path root = argv[1];
  const fs::path pipeline = root / "pipeline";
  const fs::path textOps = root / "text_ops";
  const fs::path large = root / "large";
  for (const fs::path& dir : {pipeline, textOps, large}) fs::create_directories(dir);

  const Bytes threeIcons = BuildMbm(IconBitmaps(6, 48));
  for (const Shape& shape : Shapes()) {
    const std::string aif = Text(BuildAif(shape.parts));
    const std::string own = Text(BuildMbm(shape.parts.bitmaps));
    WriteSeed(pipeline, shape.name + "_s", JoinRunInput(kOptionS, aif, std::nullopt));
    WriteSeed(pipeline, shape.name + "_slo_own",
              JoinRunInput(kOptionS | kOptionL | kOptionO, aif, own));
    WriteSeed(pipeline, shape.name + "_lo_new",
              JoinRunInput(kOptionL | kOptionO, aif, Text(threeIcons)));
  }
  WriteSeed(pipeline, "mbm_as_aif",
            JoinRunInput(kOptionS | kOptionL | kOptionO, Text(threeIcons), Text(threeIcons)));
  WriteSeed(pipeline, "no_replacement",
            JoinRunInput(kOptionL | kOptionO, Text(BuildAif(ExampleAifSpec())), std::nullopt));

  WriteSeed(textOps, "marker_on_second_digit",
            Literal("\x00"
                    "0140000000"
                    "14000000"
                    "\x05\x02"));
  WriteSeed(textOps, "field",
            Literal("\x01"
                    "FFFFFF7F"
                    "\x08"));
  WriteSeed(textOps, "image",
            Literal("\x02"
                    "37000010420000100000000039643947"
                    "7"));

  // Large files: 255 bitmaps of 1200 bytes (about 300 KiB), with captions and extras.
  AifSpec big = ExampleAifSpec();
  big.bitmaps = IconBitmaps(255, 1200);
  for (int k = 1; k <= 20; ++k) big.captions.push_back({"Caption " + std::to_string(k), 1});
  const std::string bigAif = Text(BuildAif(big));
  WriteSeed(large, "large_slo_own",
            JoinRunInput(kOptionS | kOptionL | kOptionO, bigAif, Text(BuildMbm(big.bitmaps))));
  std::string flipped = bigAif;
  flipped[20] = '\x01';  // the first bitmap's size: the chain now runs through pixel data
  WriteSeed(large, "large_broken_chain",
            JoinRunInput(kOptionS | kOptionL | kOptionO, flipped, Text(BuildMbm(big.bitmaps))));
  // A source of zero bytes where the scans could run longest.
  const std::string zeros(300 * 1024, '\0');
  WriteSeed(large, "large_zeros", JoinRunInput(kOptionS | kOptionL | kOptionO, zeros, zeros));
  std::string markers;
  while (markers.size() < 300 * 1024) markers += Literal("\x14\x00\x00\x00\x02\x00");
  WriteSeed(large, "large_markers", JoinRunInput(kOptionS | kOptionL | kOptionO, markers, markers));
  return 0;
}
