#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit program and its tests, and runs
# every test under Wine inside a virtual X display. Exits non-zero on any failure.
# Extra arguments go to ctest (for example -R editor_tests).
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
# One persistent server for the whole run: each Wine start is then cheaper.
# Start it, and Wine's background services, with their output detached:
# a daemon holding ctest's output pipe would make ctest wait until its timeout.
wineserver -p >/dev/null 2>&1 </dev/null
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
set +e
ctest --test-dir "$BUILD_DIR" --output-on-failure "$@"
status=$?
set -e
wineserver -k || true
exit $status
