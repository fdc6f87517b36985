// The hot paths of a run, timed on AIFs of 1 KiB, 1 MiB and 15 MiB from the test-file builder.
// Throughput is counted in bytes of the AIF.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>

#include "aif_build/assemble_aif.h"
#include "aif_build/replacement.h"
#include "aif_read/extract_mbm.h"
#include "aif_read/layout.h"
#include "aif_read/root_stream.h"
#include "bench_inputs.h"
#include "heximage/file_transfer.h"
#include "support/temp_dir.h"

namespace pictoswap::bench {
namespace {

template <typename T>
const T& Checked(const Expected<T>& result) {
  if (!result.ok()) throw std::runtime_error(result.error().message);
  return result.value();
}

// One AIF of a given size, its image, every stage's result, and the file it was written to.
struct Input {
  explicit Input(std::size_t bytes)
      : aif(testing::BuildAif(BenchAifSpec(bytes))),
        image(ImageFromBytes(aif)),
        extraction(Checked(ExtractMbm(image.text))),
        reading(Checked(ReadRootStream(image.text, extraction, "bench.aif"))),
        replacement(Checked(ReadReplacement(extraction.mbm.ImageText()))) {
    testing::WriteFile(dir / "bench.aif", aif);
  }
  testing::TempDir dir;
  testing::Bytes aif;
  HexImage image;
  Extraction extraction;
  SourceReading reading;
  ReplacementReading replacement;
};

const Input& InputOf(std::int64_t bytes) {
  static std::map<std::int64_t, std::unique_ptr<Input>> inputs;
  auto& input = inputs[bytes];
  if (!input) input = std::make_unique<Input>(static_cast<std::size_t>(bytes));
  return *input;
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(1 << 10)->Arg(1 << 20)->Arg(15 << 20)->Unit(benchmark::kMicrosecond);
}

void Count(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_Load(benchmark::State& state) {
  const Input& in = InputOf(state.range(0));
  const std::string path = (in.dir / "bench.aif").string();
  for (auto _ : state) {
    HexImage image;
    if (!LoadHexImage(image, path)) state.SkipWithError("cannot load");
    benchmark::DoNotOptimize(image.text.data());
  }
  Count(state);
}
BENCHMARK(BM_Load)->Apply(Sizes);

void BM_Save(benchmark::State& state) {
  const Input& in = InputOf(state.range(0));
  const std::string path = (in.dir / "saved.aif").string();
  for (auto _ : state) {
    if (!SaveHexImage(in.image, path).ok()) state.SkipWithError("cannot save");
  }
  Count(state);
}
BENCHMARK(BM_Save)->Apply(Sizes);

// The icon marker in the root window, where the run looks for it.
void BM_FindMarker(benchmark::State& state) {
  const Input& in = InputOf(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(Find(layout::kIconMarker, in.extraction.window.text));
  }
  Count(state);
}
BENCHMARK(BM_FindMarker)->Apply(Sizes);

// An 8-digit offset text that occurs nowhere: the whole image is searched.
void BM_Find8Absent(benchmark::State& state) {
  const Input& in = InputOf(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(Find("FEDCBA98", in.image.text));
  Count(state);
}
BENCHMARK(BM_Find8Absent)->Apply(Sizes);

// 28 digits that occur only at the very end of the image.
void BM_Find28AtEnd(benchmark::State& state) {
  const Input& in = InputOf(state.range(0));
  const std::string needle = in.image.text.substr(in.image.text.size() - 30, 28);
  for (auto _ : state) benchmark::DoNotOptimize(Find(needle, in.image.text));
  Count(state);
}
BENCHMARK(BM_Find28AtEnd)->Apply(Sizes);

void BM_ExtractMbm(benchmark::State& state) {
  const Input& in = InputOf(state.range(0));
  for (auto _ : state) {
    auto extraction = ExtractMbm(in.image.text);
    benchmark::DoNotOptimize(extraction);
  }
  Count(state);
}
BENCHMARK(BM_ExtractMbm)->Apply(Sizes);

void BM_ReadRootStream(benchmark::State& state) {
  const Input& in = InputOf(state.range(0));
  for (auto _ : state) {
    auto reading = ReadRootStream(in.image.text, in.extraction, "bench.aif");
    benchmark::DoNotOptimize(reading);
  }
  Count(state);
}
BENCHMARK(BM_ReadRootStream)->Apply(Sizes);

void BM_AssembleAif(benchmark::State& state) {
  const Input& in = InputOf(state.range(0));
  for (auto _ : state) {
    auto aif = AssembleAif(in.reading, in.replacement);
    benchmark::DoNotOptimize(aif);
  }
  Count(state);
}
BENCHMARK(BM_AssembleAif)->Apply(Sizes);

// The check before a new AIF is saved: the source rebuilt from its own bitmaps must give back
// the source.
void BM_SelfCheck(benchmark::State& state) {
  const Input& in = InputOf(state.range(0));
  const std::string_view digits = ImageLine(in.image);
  for (auto _ : state) {
    const ReplacementReading own = Checked(ReadReplacement(in.extraction.mbm.ImageText()));
    const AssembledAif rebuilt = Checked(AssembleAif(in.reading, own));
    if (!AssembledEquals(rebuilt, digits)) state.SkipWithError("the source does not rebuild");
  }
  Count(state);
}
BENCHMARK(BM_SelfCheck)->Apply(Sizes);

}  // namespace
}  // namespace pictoswap::bench

BENCHMARK_MAIN();
