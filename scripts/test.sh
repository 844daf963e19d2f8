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
start_wine_session
set +e
ctest --test-dir "$BUILD_DIR" --output-on-failure "$@"
status=$?
set -e
wineserver -k || true
exit $status
