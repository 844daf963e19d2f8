#!/usr/bin/env bash
# Ctrl+S on a new document opens the real Save As dialog; a full path typed
# into its file-name box and Enter write the typed text to that file. Then
# Save As again with the encoding box switched to UTF-16 LE.
. "$(dirname "$0")/e2e_common.sh"

# Waits for a top-level X window with this exact name; prints its id.
wait_for_window() {
  local name="$1" id=""
  for _ in $(seq 1 100); do
    id="$(xdotool search --onlyvisible --limit 1 --name "^${name}\$" 2>/dev/null || true)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

wait_for_file() {
  for _ in $(seq 1 50); do
    [ -s "$1" ] && return 0
    sleep 0.2
  done
  return 1
}

# Alt+N ("File name:") puts the caret in the file-name box, as a keyboard
# user would; End and Shift+Home select what the dialog put there.
focus_file_name_box() {
  xdotool windowfocus --sync "$1"
  sleep 0.5
  xdotool key alt+n
  sleep 0.3
  xdotool key End shift+Home
}

hex() { od -An -tx1 -v "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

# The editor sees the folder through Wine's Z: drive.
windows_path() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

start_editor
focus_editor >/dev/null
xdotool type --delay 40 "ab"
xdotool key Return
xdotool type --delay 40 "cd"
sleep 0.5
expect_equal "title before saving" "[Untitled]* - scrivlet" "$(probe title)"

xdotool key ctrl+s
dialog="$(wait_for_window "Save As")" || fail "no Save As dialog after Ctrl+S"
focus_file_name_box "$dialog"
out="$E2E_DIR/out.txt"
xdotool type --delay 30 "$(windows_path "$out")"
xdotool key Return
wait_for_file "$out" || fail "nothing written to $out"
sleep 0.5
expect_equal "bytes of out.txt" "61 62 0d 0a 63 64" "$(hex "$out")"
expect_equal "title after saving" "out.txt - scrivlet" "$(probe title)"

# Save As (Ctrl+Shift+S) with the encoding box (Alt+E) set to UTF-16 LE, the
# tenth of its entries (those of the encoding menus).
focus_editor >/dev/null
xdotool key ctrl+shift+s
dialog="$(wait_for_window "Save As")" || fail "no Save As dialog after Ctrl+Shift+S"
focus_file_name_box "$dialog"
wide="$E2E_DIR/wide.txt"
xdotool type --delay 30 "$(windows_path "$wide")"
xdotool key alt+e
sleep 0.3
xdotool key Down Down Down Down Down Down Down Down Down
sleep 0.3
xdotool key Return
wait_for_file "$wide" || fail "nothing written to $wide"
sleep 0.5
expect_equal "bytes of wide.txt" "ff fe 61 00 62 00 0d 00 0a 00 63 00 64 00" "$(hex "$wide")"
expect_equal "title after Save As" "wide.txt - scrivlet" "$(probe title)"
expect_equal "out.txt untouched" "61 62 0d 0a 63 64" "$(hex "$out")"
echo "PASS"
