#!/usr/bin/env bash
# Builds scrivlet.exe (and the tests) for one architecture.
# Usage: scripts/build.sh [x86_64|i686]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
arch="${1:-x86_64}"
build="${BUILD_DIR:-$root/build/$arch}"
tests=ON
# Wine here runs only 64-bit programs, so the 32-bit build is the program alone.
[ "$arch" = "i686" ] && tests=OFF
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DSCRIVLET_TESTS=$tests >/dev/null
cmake --build "$build" -j"$(nproc)"
echo "built: $build/scrivlet.exe"
