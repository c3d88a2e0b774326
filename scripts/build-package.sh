#!/usr/bin/env bash
# Builds the Debian package from the Release build and prints its path.
#   scripts/build-package.sh [BUILD_DIR]      (default: build/release)
# Install it with: sudo apt install ./build/release/package/zmp318t_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" >/dev/null
rm -f "$build"/package/zmp318t_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/package/zmp318t_*.deb
