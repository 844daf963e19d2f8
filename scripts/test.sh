#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit program and its tests, and runs
# every test under Wine inside a virtual X display. Exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
export BUILD_DIR="${BUILD_DIR:-$root/build/x86_64}"
bash "$root/scripts/build.sh" x86_64
. "$root/scripts/wine_env.sh"

run_tests() {
  prepare_wine_prefix
  # One persistent server for the whole run: each Wine start is then cheaper.
  wineserver -p
  set +e
  ctest --test-dir "$BUILD_DIR" --output-on-failure "$@"
  local status=$?
  set -e
  wineserver -k || true
  return $status
}

if [ -n "${DISPLAY:-}" ] && [ "${SCRIVLET_IN_XVFB:-}" = 1 ]; then
  run_tests "$@"
else
  export SCRIVLET_IN_XVFB=1
  export -f run_tests prepare_wine_prefix
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c 'run_tests "$@"' run_tests "$@"
fi
