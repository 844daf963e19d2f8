#!/usr/bin/env bash
# The tray icon on a Wine desktop that has a taskbar: Ctrl+M hides the
# window to the tray, a click on the icon brings it back; a press without
# release does not; a restarted shell ("TaskbarCreated") gets the icon
# again while the window is in the tray, and none while it is shown.
. "$(dirname "$0")/e2e_common.sh"

DESKTOP="scrivlet-tray-$$"
dprobe() { probe --desktop "$DESKTOP" "$@"; }

(cd "$E2E_DIR" && exec wine explorer "/desktop=$DESKTOP,800x600" ./scrivlet.exe >/dev/null 2>&1 </dev/null) &
EDITOR_PID=$!
for _ in $(seq 1 100); do dprobe title >/dev/null 2>&1 && break; sleep 0.2; done
dprobe title >/dev/null || fail "no editor on the desktop $DESKTOP"
editor_window="$(xdotool search --sync --limit 1 --name ' - scrivlet$')"
trap 'dprobe close >/dev/null 2>&1 || true; sleep 1; cleanup' EXIT

press_ctrl_m() {
  xdotool windowfocus --sync "$editor_window"
  sleep 0.3
  xdotool key ctrl+m
  sleep 1
}

# The icon sits at the right end of the taskbar.
icon_point() {
  local left top right bottom
  read -r left top right bottom < <(dprobe tray-rect) || fail "no taskbar on the desktop"
  echo "$((right - 12)) $(((top + bottom) / 2))"
}

press_ctrl_m
expect_equal "window shown after Ctrl+M" "0" "$(dprobe visible)"
dprobe tray exists || fail "no tray icon after Ctrl+M"

read -r x y < <(icon_point)
xdotool mousemove "$x" "$y"
sleep 0.3
xdotool mousedown 1
sleep 0.5
expect_equal "window shown while the button is held" "0" "$(dprobe visible)"
xdotool mouseup 1
sleep 1
expect_equal "window shown after a click on the icon" "1" "$(dprobe visible)"
dprobe tray exists && fail "the icon stayed after restoring"

# A shell restart while shown adds no icon.
dprobe taskbar-created
sleep 1
dprobe tray exists && fail "an icon appeared for a shown window"

# In the tray, a restarted shell has lost the icon: it is added again.
press_ctrl_m
dprobe tray remove || fail "could not take the icon away"
dprobe tray exists && fail "the icon is still there"
dprobe taskbar-created
sleep 1
dprobe tray exists || fail "no icon after TaskbarCreated"
expect_equal "window shown after TaskbarCreated" "0" "$(dprobe visible)"

# A right click restores as well.
read -r x y < <(icon_point)
xdotool mousemove "$x" "$y" click 3
sleep 1
expect_equal "window shown after a right click" "1" "$(dprobe visible)"
echo "PASS"
