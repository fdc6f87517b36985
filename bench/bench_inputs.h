// The AIFs the benchmarks run on, made by the test-file builder: a given size, held mostly in
// large bitmaps, with captions, extra items and a root remainder so that every stage has work.
#pragma once

#include <cstddef>

#include "support/file_builder.h"

namespace pictoswap::bench {

// A well-formed AIF of exactly `bytes` bytes (at least 1 KiB): icon pairs of a colour bitmap
// and a mask half its size, the pairs growing in size, so that the largest bitmap of a 15 MiB
// file is 5 MiB. Rebuilt with its own bitmaps it gives itself back.
testing::AifSpec BenchAifSpec(std::size_t bytes);

}  // namespace pictoswap::bench
