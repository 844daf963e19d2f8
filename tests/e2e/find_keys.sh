#!/usr/bin/env bash
# The Find and Replace dialogs used with real keys through the program's own
# message loop: Enter searches, Escape closes, F3 repeats with a wrap, and
# Replace All replaces through the Replace dialog.
. "$(dirname "$0")/e2e_common.sh"

printf 'alpha beta gamma beta\r\n' > "$E2E_DIR/words.txt"
start_editor words.txt
focus_editor >/dev/null
xdotool key ctrl+f
sleep 1
xdotool type --delay 40 "beta"
xdotool key Return Return Escape
sleep 1
xdotool type "X"
sleep 0.5
expect_equal "second match replaced by typing" "alpha beta gamma X" "$(probe text)"
xdotool key F3
sleep 0.5
expect_equal "status after the wrap" "Search wrapped..." "$(probe status 0)"
xdotool type "Y"
sleep 0.5
expect_equal "first match found after the wrap" "alpha Y gamma X" "$(probe text)"

xdotool key ctrl+h
sleep 1
xdotool key ctrl+a
xdotool type --delay 40 "a"
xdotool key Tab
xdotool type --delay 40 "o"
xdotool key alt+a
sleep 1
xdotool key Escape
sleep 0.5
expect_equal "text after Replace All" "olpho Y gommo X" "$(probe text)"
expect_equal "status after Replace All" "Items replaced: 4" "$(probe status 0)"
probe close >/dev/null
echo "PASS"
