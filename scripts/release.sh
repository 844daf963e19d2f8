#!/usr/bin/env bash
# Builds the release packages from a clean tree: for 64-bit (x86_64) and
# 32-bit (i686) Windows, an optimized and stripped scrivlet.exe packed as a
# portable zip and as an installer, in dist/ (or $DIST_DIR).
# Usage: scripts/release.sh [x86_64|i686 ...]   (both when none is named)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${DIST_DIR:-$root/dist}"
archs=("$@")
[ "${#archs[@]}" -gt 0 ] || archs=(x86_64 i686)

bash "$root/scripts/setup.sh"
for arch in "${archs[@]}"; do
  build="$root/build/release-$arch"
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DSCRIVLET_TESTS=OFF >/dev/null
  cmake --build "$build" -j"$(nproc)"
  bash "$root/scripts/package.sh" "$arch" "$build" "$out"
done
