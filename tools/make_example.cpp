// Writes the example AIF shipped in examples/: two icons, the caption "Clock", one extra item.
#include <iostream>

#include "support/file_builder.h"
#include "support/temp_dir.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_example OUTPUT.aif\n";
    return 2;
  }
  using namespace pictoswap::testing;
  WriteFile(argv[1], BuildAif(ExampleAifSpec()));
  return 0;
}
