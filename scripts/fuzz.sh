#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang, ASan and UBSan in
# build-fuzz and runs each for a bounded time, two at a time, starting from the
# seeds in tests/fuzz/corpus/TARGET. Inputs that find new paths collect in
# build-fuzz/corpus/TARGET. A crash, a leak or undefined behaviour fails the
# run; the input that caused it stays in build-fuzz/crashes/TARGET/.
# Usage: scripts/fuzz.sh [SECONDS [TARGET...]]   (default: 30 s, every target)
#        scripts/fuzz.sh --build-only               (builds them, runs nothing)
# FUZZ_OPT=-O0 builds faster and runs slower (the test command's short run).
set -euo pipefail
cd "$(dirname "$0")/.."
buildOnly=0
if [ "${1:-}" = --build-only ]; then
  buildOnly=1
  shift
fi
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_numberreader fuzz_session fuzz_formula fuzz_options)

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="${FUZZ_OPT:--O1} -g1" \
  -DQUELMORA_FUZZ=ON -DQUELMORA_GUI=OFF -DQUELMORA_BENCH=OFF -DQUELMORA_PYTHON=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"
[ $buildOnly = 0 ] || exit 0

root=$PWD
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp

run() {
  local name=$1
  local corpus=$root/build-fuzz/corpus/$name crashes=$root/build-fuzz/crashes/$name
  local log=$root/build-fuzz/$name.log dict=()
  mkdir -p "$corpus" "$crashes"
  [ -f "tests/fuzz/$name.dict" ] && dict=(-dict="$root/tests/fuzz/$name.dict")
  if "$root/build-fuzz/tests/fuzz/$name" -max_total_time="$seconds" -timeout=10 \
      -artifact_prefix="$crashes/" "${dict[@]}" "$corpus" "$root/tests/fuzz/corpus/$name" \
      >"$log" 2>&1; then
    echo "$name: $(grep -Eo 'Done [0-9]+ runs.*' "$log" | tail -1)"
    return 0
  fi
  tail -n 40 "$log"
  echo "$name FAILED; the input that caused it is kept in $crashes/:"
  ls "$crashes"
  return 1
}

failed=0
running=0
for t in "${targets[@]}"; do
  if [ $running -ge 2 ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  run "$t" &
  running=$((running + 1))
done
while [ $running -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done
exit $failed
