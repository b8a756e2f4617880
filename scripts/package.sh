#!/usr/bin/env bash
# Builds the viewer in release mode and makes its Debian package with CPack:
# build/package/ledgerly_<version>_<arch>.deb (installs under /usr; see cmake/Install.cmake).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEDGERLY_TESTS=OFF -DLEDGERLY_BENCH=OFF >/dev/null
cmake --build build/release
(cd build/release && cpack -G DEB)
ls -1 build/release/package/*.deb
