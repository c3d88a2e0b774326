#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
#   ./run.sh [ARGS]                ARGS go to the program (for example: ./run.sh demo)
#   ./run.sh --simulator [ARGS]    also starts the repeater simulator (a demonstration
#                                  repeater) and points COM1 at it for this run only
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
zmp_install_missing
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DZMP_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j"$(zmp_jobs)"

if [ "${1:-}" != "--simulator" ]; then
  exec build/release/bin/zmp318t "$@"
fi
shift
sim_out="$(mktemp)"
build/release/bin/zmp318t-sim >"$sim_out" &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; rm -f "$sim_out"' EXIT
device=""
for _ in $(seq 100); do
  device="$(head -n 1 "$sim_out" 2>/dev/null || true)"
  [ -n "$device" ] && break
  sleep 0.05
done
if [ -z "$device" ]; then
  echo "The repeater simulator did not start." >&2
  exit 1
fi
echo "Repeater simulator on $device, mapped to COM1 for this run."
ZMP_PORT_MAP="1=$device" build/release/bin/zmp318t "$@"
