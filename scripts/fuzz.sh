#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang and runs them.
#   scripts/fuzz.sh                  every target for a fixed number of inputs,
#                                    starting from its seed corpus (./test.sh runs this)
#   scripts/fuzz.sh NAME [SECONDS]   one target (data_file, tuning_file, wire,
#                                    language_file, frequency, import, set) for SECONDS (default:
#                                    until stopped), keeping the inputs it finds in
#                                    build/fuzz/corpus/NAME and a failing input in
#                                    build/fuzz/crash-*
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
if ! command -v clang++ >/dev/null; then
  echo "clang++ is not installed: the fuzz targets are not built."
  exit 0
fi
CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZMP_BUILD_GUI=OFF \
  -DZMP_BUILD_FUZZ=ON >/dev/null
targets=(data_file tuning_file wire language_file frequency import set)
cmake --build build/fuzz -j"$(zmp_jobs)" --target "${targets[@]/#/fuzz_}" >/dev/null
export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1
# One input that takes longer than this (seconds) is a fault too.
timeout=20

if [ $# -gt 0 ]; then
  name="$1"
  mkdir -p "build/fuzz/corpus/$name"
  limit=()
  [ $# -gt 1 ] && limit=(-max_total_time="$2")
  exec "build/fuzz/bin/fuzz_$name" "${limit[@]}" -timeout="$timeout" -artifact_prefix=build/fuzz/ \
    "build/fuzz/corpus/$name" "tests/fuzz/corpus/$name"
fi

# Inputs per target: about a minute for all of them on a slow machine.
declare -A runs=([data_file]=1500 [tuning_file]=500 [wire]=15000 [language_file]=300 [frequency]=100000
                [import]=300 [set]=2000)
for name in "${targets[@]}"; do
  found="$(mktemp -d)"
  start=$SECONDS
  if ! "build/fuzz/bin/fuzz_$name" -runs="${runs[$name]}" -seed=1 -timeout="$timeout" -artifact_prefix=build/fuzz/ \
      "$found" "tests/fuzz/corpus/$name" >"build/fuzz/$name.log" 2>&1; then
    tail -n 30 "build/fuzz/$name.log"
    echo "fuzz_$name FAILED (input kept in build/fuzz/)"
    rm -rf "$found"
    exit 1
  fi
  rm -rf "$found"
  echo "fuzz_$name: ${runs[$name]} inputs passed ($((SECONDS - start)) s)"
done
