#!/bin/sh
# Builds the tool and the benchmarks in Release (build-bench/) and runs the whole-process
# comparison; with --hot-paths, also the Google Benchmark program for the hot paths.
# Needs cmake, g++, libgtest-dev, libbenchmark-dev, python3, xxd and /usr/bin/time (package time).
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPICTOSWAP_BENCH=ON >/dev/null
cmake --build build-bench -j2 --target pictoswap make_bench_aif pictoswap_bench >/dev/null
if [ "${1:-}" = "--hot-paths" ]; then
  shift
  build-bench/bench/pictoswap_bench
fi
python3 bench/whole_process.py --build-dir build-bench "$@"
