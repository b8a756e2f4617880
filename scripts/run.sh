#!/usr/bin/env bash
# Builds the viewer, makes the demo database beside it and opens it.
# Usage: scripts/run.sh [voucher-number [date]]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEDGERLY_TESTS=OFF >/dev/null
cmake --build build/release
BIN=build/release/bin
if [ -x "$BIN/mkdemodb" ] && [ ! -f "$BIN/demo.fdb" ]; then "$BIN/mkdemodb" "$BIN/demo.fdb"; fi
if [ -x "$BIN/ledgerly" ]; then
  exec "$BIN/ledgerly" "$@"
else
  exec "$BIN/mkdemodb" --counts "$BIN/demo.fdb"
fi
