#!/usr/bin/env bash
# Installs what building and starting the program needs, builds scrivlet.exe
# alone (no test program) and starts it under Wine, optionally with a file name.
# With a display, the editor runs until you close it. Without one, a virtual
# display is started, the editor is kept up a few seconds, and a screenshot
# of it is saved as a PNG whose path is printed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_DIR="${BUILD_DIR:-$root/build/x86_64}"

if [ "${1:-}" != "--inside-display" ]; then
  bash "$root/scripts/setup.sh" --program
  bash "$root/scripts/build.sh" x86_64 --program
  if [ -n "${DISPLAY:-}" ]; then
    . "$root/scripts/wine_env.sh"
    prepare_wine_prefix
    exec wine "$BUILD_DIR/scrivlet.exe" "$@"
  fi
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside-display "$@"
fi
shift

. "$root/scripts/wine_env.sh"
prepare_wine_prefix
shot="${SCREENSHOT:-$BUILD_DIR/scrivlet-screenshot.png}"
# A Wine desktop window gives the editor a frame, a title bar and a taskbar.
wine explorer /desktop=scrivlet,1024x768 "$BUILD_DIR/scrivlet.exe" "$@" >/dev/null 2>&1 </dev/null &
sleep "${SCRIVLET_SHOW_SECONDS:-8}"
import -window root "$shot"
wineserver -k || true
echo "screenshot: $shot"
