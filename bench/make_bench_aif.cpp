// Writes a benchmark AIF of a given size: make_bench_aif BYTES OUTPUT.aif
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "bench_inputs.h"
#include "support/temp_dir.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_bench_aif BYTES OUTPUT.aif\n";
    return 2;
  }
  try {
    const std::size_t bytes = std::stoul(argv[1]);
    const pictoswap::testing::Bytes aif =
        pictoswap::testing::BuildAif(pictoswap::bench::BenchAifSpec(bytes));
    pictoswap::testing::WriteFile(argv[2], aif);
  } catch (const std::exception& error) {
    std::cerr << "make_bench_aif: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
