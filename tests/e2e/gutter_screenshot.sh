#!/usr/bin/env bash
# Line numbers in the real program, checked on screenshots: the strip holds
# dark digits and the text starts right of it (Ctrl+L turns them off for the
# comparison). The screenshot with numbers is kept beside the program.
. "$(dirname "$0")/e2e_common.sh"

for i in $(seq 1 12); do printf 'Wide text on line %d\r\n' "$i"; done > "$E2E_DIR/lines.txt"
# A pale yellow text background, so the strip's system colour stands apart.
printf '[View]\r\nLineNumbers=1\r\n[Config]\r\nBackColor=13434879\r\n' > "$E2E_DIR/scrivlet.ini"
start_editor lines.txt
focus_editor >/dev/null
xdotool key ctrl+End
sleep 1
read -r left top right bottom < <(probe editrect)
import -window root "$E2E_DIR/on.png"
xdotool key ctrl+l
sleep 1
import -window root "$E2E_DIR/off.png"
cp "$E2E_DIR/on.png" "$(dirname "$SCRIVLET_EXE")/gutter-screenshot.png"
convert "$E2E_DIR/on.png" "$E2E_DIR/on.ppm"
convert "$E2E_DIR/off.png" "$E2E_DIR/off.ppm"
python3 "$(dirname "$0")/gutter_pixels.py" "$E2E_DIR/on.ppm" "$E2E_DIR/off.ppm" \
  "$left" "$top" "$right" "$bottom" || fail "gutter pixels"
probe close >/dev/null
echo "PASS"
