#!/usr/bin/env bash
# Benchmark of scrivlet against Wine's notepad and a bare RichEdit control:
# start-up, open, first screen, save, Find Next, Replace All and peak memory,
# medians of several runs in one Wine session and display, with ratios.
#   bash scripts/bench.sh [--runs N] [--growth] [--profile MB] [--smoke]
# --growth gives instead load time against size (1 to 8 MB, word wrap on and off);
# --profile MB shows instead where the load of such a file spends its time.
# Takes many minutes at full size; not part of scripts/test.sh (which runs --smoke).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_DIR="${BUILD_DIR:-$root/build/x86_64}"

if [ "${1:-}" != "--inside-display" ]; then
  bash "$root/scripts/setup.sh"
  bash "$root/scripts/build.sh" x86_64
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --inside-display "$@"
fi
shift

. "$root/scripts/wine_env.sh"
prepare_wine_prefix
start_wine_session
set +e
bash "$root/tests/bench/run_bench.sh" "$@" "$BUILD_DIR/scrivlet.exe" \
  "$BUILD_DIR/tests/bench_driver.exe" "$BUILD_DIR/tests/bare_richedit.exe"
status=$?
set -e
wineserver -k || true
exit $status
