#!/usr/bin/env bash
# Installs what is missing, builds the program and the tests in Debug with the
# sanitizers and in Release (as ./run.sh builds the program), runs the tests of
# both, then builds the fuzz targets with clang and runs each for a fixed number
# of inputs (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
zmp_install_missing
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DZMP_BUILD_TESTS=ON -DZMP_BUILD_BENCH=ON \
  -DZMP_SANITIZE=ON >/dev/null
cmake --build build/test -j"$(zmp_jobs)"
# The optimised build that ./run.sh starts, with its tests: some warnings only show at -O2.
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DZMP_BUILD_TESTS=ON >/dev/null
cmake --build build/release -j"$(zmp_jobs)" >/dev/null
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1
(cd build/test && ctest --output-on-failure -j"$(zmp_jobs)" --timeout 300)
(cd build/release && ctest --output-on-failure -j"$(zmp_jobs)" --timeout 300)
scripts/fuzz.sh
