#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit program and its tests, and runs
# every test under Wine inside a virtual X display. Exits non-zero on any failure.
# Extra arguments go to ctest (for example -R editor_tests).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_DIR="${BUILD_DIR:-$root/build/x86_64}"

. "$root/scripts/wine_env.sh"
[ "${1:-}" = "--inside-display" ] || rerun_in_virtual_display 1280x1024x24 "$0" "$@"
shift
run_in_wine_session ctest --test-dir "$BUILD_DIR" --output-on-failure "$@"
