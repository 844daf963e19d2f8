#!/usr/bin/env bash
# Benchmark of scrivlet against Wine's notepad and a bare RichEdit control:
# start-up, open, first screen, save, Find Next, Replace All and peak memory,
# medians of several runs in one Wine session and display, with ratios.
#   bash scripts/bench.sh [--runs N] [--growth] [--profile MB] [--replace] [--print] [--smoke]
# --growth gives instead load time against size (1 to 8 MB, word wrap on and off);
# --profile MB shows instead where the load of such a file spends its time;
# --replace and --print give only the rows of Replace All and Undo, or of printing.
# Takes many minutes at full size; not part of scripts/test.sh (which runs --smoke).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_DIR="${BUILD_DIR:-$root/build/x86_64}"

. "$root/scripts/wine_env.sh"
[ "${1:-}" = "--inside-display" ] || rerun_in_virtual_display 1280x1024x24 "$0" "$@"
shift
run_in_wine_session bash "$root/tests/bench/run_bench.sh" "$@" "$BUILD_DIR/scrivlet.exe" \
  "$BUILD_DIR/tests/bench_driver.exe" "$BUILD_DIR/tests/bare_richedit.exe"
