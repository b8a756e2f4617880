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
# The demo data keeps voucher dates as YYYY/MM/DD text, the way a Taiwanese office writes them.
# Without any regional setting (C/POSIX) the date page would send dates without separators and
# find nothing, so the demo then reads and writes dates the zh_TW way.
case "${LC_ALL:-${LC_TIME:-${LANG:-C}}}" in
  C|C.*|POSIX) unset LC_ALL; export LC_TIME=zh_TW.UTF-8 ;;
esac
if [ -x "$BIN/ledgerly" ]; then
  exec "$BIN/ledgerly" "$@"
else
  exec "$BIN/mkdemodb" --counts "$BIN/demo.fdb"
fi
