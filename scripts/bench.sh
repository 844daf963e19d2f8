#!/usr/bin/env bash
# Benchmark of scrivlet against Wine's notepad and a bare RichEdit control:
# start-up, open, first screen, save, Find Next, Replace All, a keystroke and
# peak memory, medians of several runs in one Wine session and display, with ratios.
#   bash scripts/bench.sh [--runs N] [--growth] [--profile MB] [--replace] [--print] [--keys]
#                         [--baseline REV] [--smoke]
# --growth gives instead load time against size (1 to 8 MB, word wrap on and off);
# --profile MB shows instead where the load of such a file spends its time;
# --replace, --print and --keys give only the rows of Replace All and Undo,
# of printing, or of a keystroke; --baseline REV adds scrivlet as built at git
# revision REV to every row of scrivlet's, its runs taken in turn with this one's.
# Takes many minutes at full size; not part of scripts/test.sh (which runs --smoke).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_DIR="${BUILD_DIR:-$root/build/x86_64}"

# The program alone at a revision, built once per commit under the build dir
# from that revision's own files (same compilers, Release); prints the
# path of its scrivlet.exe. The driver and the bare control stay this tree's.
build_baseline() { # revision
  local hash dir toolchain
  hash="$(git -C "$root" rev-parse --verify --quiet "$1^{commit}")" || { echo "no such revision: $1" >&2; return 1; }
  dir="$BUILD_DIR/baseline/$hash"
  if [ ! -f "$dir/build/scrivlet.exe" ]; then
    echo "Building scrivlet at $1 ($hash) in $dir" >&2
    rm -rf "$dir"
    mkdir -p "$dir/source"
    git -C "$root" archive "$hash" | tar -x -C "$dir/source" || return 1
    # Fetched dependencies are not in git: that revision reads this tree's.
    if [ -d "$root/build/deps" ]; then
      mkdir -p "$dir/source/build"
      ln -s "$root/build/deps" "$dir/source/build/deps"
    fi
    toolchain="$dir/source/cmake/mingw-x86_64.cmake"
    [ -f "$toolchain" ] || toolchain="$root/cmake/mingw-x86_64.cmake"
    cmake -S "$dir/source" -B "$dir/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
      -DSCRIVLET_TESTS=OFF --no-warn-unused-cli >&2 || return 1
    cmake --build "$dir/build" --target scrivlet -j"$(nproc)" >&2 || return 1
  fi
  echo "$dir/build/scrivlet.exe"
}

. "$root/scripts/wine_env.sh"
[ "${1:-}" = "--inside-display" ] || rerun_in_virtual_display 1280x1024x24 "$0" "$@"
shift
options=()
while [ $# -gt 0 ]; do
  if [ "$1" = --baseline ]; then
    [ $# -ge 2 ] || { echo "--baseline needs a git revision" >&2; exit 2; }
    exe="$(build_baseline "$2")" || { echo "could not build scrivlet at $2" >&2; exit 1; }
    options+=(--baseline-exe "$exe" --baseline-name "at $2 ($(git -C "$root" rev-parse --short "$2^{commit}"))")
    shift
  else
    options+=("$1")
  fi
  shift
done
run_in_wine_session bash "$root/tests/bench/run_bench.sh" "${options[@]}" "$BUILD_DIR/scrivlet.exe" \
  "$BUILD_DIR/tests/bench_driver.exe" "$BUILD_DIR/tests/bare_richedit.exe"
