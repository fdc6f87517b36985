#!/usr/bin/env bash
# Fuzzing stage: build the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, replay the regression corpus, fuzz each target for a bounded time
# and time the run on large files. Any finding fails the stage; its input is copied into
# tests/corpus/regressions/, where the end-to-end tests replay it through the real binary once
# it is committed.
#
# PICTOSWAP_FUZZ_SECONDS sets the total fuzzing time (default 120, shared by the targets).
set -euo pipefail
cd "$(dirname "$0")/.."

export DEBIAN_FRONTEND=noninteractive
need=()
for pkg in clang libclang-rt-14-dev cmake; do
  dpkg -s "$pkg" >/dev/null 2>&1 || need+=("$pkg")
done
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq
  apt-get install -y -qq "${need[@]}"
fi

build=build-fuzz
total=${PICTOSWAP_FUZZ_SECONDS:-120}
regressions=tests/corpus/regressions
started=$(date +%s)

echo "== build the fuzz targets (clang, ASan, UBSan)"
cmake -S . -B "$build" -DPICTOSWAP_FUZZ=ON -DPICTOSWAP_TESTS=OFF \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target pipeline_fuzzer text_ops_fuzzer make_fuzz_seeds

seeds="$build/fuzz-seeds"
rm -rf "$seeds" "$build/findings" "$build/logs"
mkdir -p "$build/findings" "$build/logs"
"$build/fuzz/make_fuzz_seeds" "$seeds"

failed=0
# Copies what a target left behind into the regression corpus and marks the stage failed.
collect_findings() {
  local target=$1
  local found=0
  for artifact in "$build/findings/$target"-*; do
    [ -e "$artifact" ] || continue
    local name
    name="$target-$(basename "$artifact" | sed "s/^$target-//")"
    cp "$artifact" "$regressions/$name"
    echo "FINDING of $target: $regressions/$name (commit it with the fix)"
    found=1
  done
  [ "$found" -eq 0 ] || failed=1
}

echo "== replay the regression corpus"
mapfile -t saved < <(find "$regressions" -type f ! -name '.*' | sort)
if [ ${#saved[@]} -gt 0 ]; then
  for target in pipeline_fuzzer text_ops_fuzzer; do
    "$build/fuzz/$target" -timeout=2 "${saved[@]}" >"$build/logs/$target-replay.log" 2>&1 || {
      tail -40 "$build/logs/$target-replay.log"
      echo "FAILED: $target on the regression corpus"
      failed=1
    }
  done
fi

# Pipeline runs are larger and slower, so they get two thirds of the time.
pipeline_seconds=$((total * 2 / 3))
text_seconds=$((total - pipeline_seconds))
run_target() {
  local target=$1 seconds=$2 seed_dir=$3 max_len=$4
  local corpus="$build/fuzz-corpus/$target"
  mkdir -p "$corpus"
  echo "== fuzz $target for ${seconds}s"
  if ! "$build/fuzz/$target" "$corpus" "$seed_dir" -dict=fuzz/pictoswap.dict \
    -max_total_time="$seconds" -timeout=2 -rss_limit_mb=2048 -max_len="$max_len" \
    -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
    >"$build/logs/$target.log" 2>&1; then
    tail -60 "$build/logs/$target.log"
  fi
  grep -E 'cov: [0-9]+ ft: [0-9]+' "$build/logs/$target.log" | tail -1 || true
  grep -E '^(stat::number_of_executed_units|Done )' "$build/logs/$target.log" || true
  collect_findings "$target"
}
run_target pipeline_fuzzer "$pipeline_seconds" "$seeds/pipeline" 8192
run_target text_ops_fuzzer "$text_seconds" "$seeds/text_ops" 256

echo "== time of a run on large files (a few hundred KiB) and on the corpus"
mapfile -t timed < <(find "$seeds/large" "$build/fuzz-corpus/pipeline_fuzzer" -type f | sort)
if ! "$build/fuzz/pipeline_fuzzer" -timeout=2 "${timed[@]}" >"$build/logs/timing.log" 2>&1; then
  tail -40 "$build/logs/timing.log"
  failed=1
fi
slowest=$(grep -E '^Executed .* in [0-9]+ ms' "$build/logs/timing.log" | sort -k4 -n | tail -1)
echo "slowest input: ${slowest#Executed }"
# Under the sanitizers a run is several times slower than the tool itself, whose one-second
# limit the end-to-end tests check; here -timeout=2 fails any run that takes 2 s or more.

echo "== fuzz stage took $(($(date +%s) - started))s"
if [ "$failed" -ne 0 ]; then
  echo "FAILED: fuzzing found problems (see above)"
  exit 1
fi
