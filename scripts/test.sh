#!/usr/bin/env bash
# Builds everything and runs the whole test suite: the program, the batch tool,
# the benchmarks and the examples in the normal build; every test under ASan and
# UBSan (the widget tests draw offscreen); then each fuzz target for a bounded
# time (scripts/fuzz.sh). The tests are built once, in the sanitizer tree.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs" --target quelmora_programs

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DQUELMORA_SANITIZE=ON -DQUELMORA_GUI=ON -DQUELMORA_BENCH=OFF
cmake --build build-sanitize -j"$jobs" --target quelmora_sanitized_tests quelmora-ft
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS="suppressions=$PWD/../tests/lsan.supp" \
  ctest --output-on-failure -j"$jobs")

scripts/fuzz.sh 30
