#!/usr/bin/env bash
# Builds scrivlet.exe (and the tests) for one architecture.
# Usage: scripts/build.sh [x86_64|i686] [--program]
#   --program  builds scrivlet.exe alone. A build folder made by it has the
#              tests off (their configure needs GoogleTest); one already
#              configured keeps its setting, so scripts/run.sh and
#              scripts/test.sh share a folder without reconfiguring it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
arch="${1:-x86_64}"
build="${BUILD_DIR:-$root/build/$arch}"
tests=(-DSCRIVLET_TESTS=ON)
target=()
# Wine here runs only 64-bit programs, so the 32-bit build is the program alone.
[ "$arch" = "i686" ] && tests=(-DSCRIVLET_TESTS=OFF)
if [ "${2:-}" = "--program" ]; then
  target=(--target scrivlet)
  tests=()
  [ -f "$build/CMakeCache.txt" ] || tests=(-DSCRIVLET_TESTS=OFF)
fi
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=Release "${tests[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" "${target[@]}"
echo "built: $build/scrivlet.exe"
