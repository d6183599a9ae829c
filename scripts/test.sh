#!/usr/bin/env bash
# Builds everything and runs the whole test suite. The program, the batch tool,
# the tests and the examples are built once, with ASan and UBSan, and every test
# runs under them, the widget tests drawing offscreen; then each fuzz target runs
# for a bounded time (scripts/fuzz.sh). The benchmarks are built by the normal
# build (bench/README.md).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)

# Line tables are all the sanitizers' reports need, at a fraction of the build
# time; a unity build parses the Qt headers once per batch of sources.
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
  -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=16 -DQUELMORA_SANITIZE=ON -DQUELMORA_GUI=ON -DQUELMORA_BENCH=OFF
cmake --build build-sanitize -j"$jobs"
# The fuzz targets build while the widget tests wait on their event loops.
FUZZ_OPT=-O0 scripts/fuzz.sh --build-only >build-sanitize/fuzz-build.log 2>&1 &
fuzzBuild=$!
trap 'kill $fuzzBuild 2>/dev/null || true' EXIT
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS="suppressions=$PWD/../tests/lsan.supp" \
  ctest --output-on-failure -j"$jobs")

if ! wait $fuzzBuild; then
  cat build-sanitize/fuzz-build.log
  exit 1
fi
FUZZ_OPT=-O0 scripts/fuzz.sh 10
