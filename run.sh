#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
#   ./run.sh [ARGS]          ARGS go to the program (for example: ./run.sh demo)
#   ./run.sh --simulator     starts the repeater simulator and points COM1 at it
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
zmp_install_missing
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j"$(zmp_jobs)"
exec build/release/bin/zmp318t "$@"
