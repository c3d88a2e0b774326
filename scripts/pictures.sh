#!/bin/sh
# Renders the README's and the guide's pictures into docs/ (or the folder
# given) from a Debug build with tests: ./scripts/pictures.sh [DIR]
set -e
cd "$(dirname "$0")/.."
build=${ZMP_BUILD_DIR:-build/dev}
cmake --build "$build" -j2 --target zmp_pictures zmp318t-sim zmp_help
ASAN_OPTIONS=detect_leaks=0 "$build/bin/zmp_pictures" "${1:-docs}"
