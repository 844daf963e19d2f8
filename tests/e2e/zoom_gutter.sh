#!/usr/bin/env bash
# Zoom in the real program, by keys and by Ctrl+wheel, with line numbers on
# (every zoom key is pressed in the in-process tests; here the screen):
# the status bar shows the figure, and on screenshots the gutter's number of
# the first line stands on the text's baseline and is as high as its
# capitals, at every zoom. The screenshots are kept beside the program
# (zoom-100.png ...) for looking at.
. "$(dirname "$0")/e2e_common.sh"

OUT_DIR="$(dirname "$SCRIVLET_EXE")"
for i in $(seq 1 12); do printf 'HEXAGON LINE\r\n'; done > "$E2E_DIR/lines.txt"
# A pale yellow text background, so the strip's system colour stands apart.
printf '[View]\r\nLineNumbers=1\r\nSavePosition=1\r\nleft=0\r\ntop=0\r\nright=700\r\nbottom=560\r\n[Config]\r\nBackColor=13434879\r\n' \
  > "$E2E_DIR/scrivlet.ini"
start_editor lines.txt
win="$(focus_editor)"
# The caret's number is drawn in blue; the first line's must be black.
xdotool key ctrl+End

zoom_shown() { [ "$(probe status 5)" = "$1" ]; }

# Screenshots until the first line's number stands as the text does (the
# gutter is repainted after the text, through a posted request).
SHOT_FIGURES=""
measure() {
  local name="$1" expected="${2:-}"
  read -r left top right bottom < <(probe editrect)
  import -window root "$E2E_DIR/$name.png"
  cp "$E2E_DIR/$name.png" "$OUT_DIR/$name.png"
  convert "$E2E_DIR/$name.png" "$E2E_DIR/$name.ppm"
  SHOT_FIGURES="$(python3 "$(dirname "$0")/zoom_pixels.py" "$E2E_DIR/$name.ppm" \
    "$left" "$top" "$right" "$bottom" $expected 2>&1)"
}
check_shot() {
  local name="$1" expected="${2:-}"
  wait_until 10 measure "$name" "$expected" || fail "$name: $SHOT_FIGURES (edit area $(probe editrect))"
  echo "ok: $name: $SHOT_FIGURES"
}
text_height() { echo "$SHOT_FIGURES" | sed -n 's/.*text rows [0-9]*\.\.[0-9]* (\([0-9]*\) high).*/\1/p'; }
strip_width() { echo "$SHOT_FIGURES" | sed -n 's/^strip \([0-9]*\),.*/\1/p'; }

wait_until 10 zoom_shown 100% || fail "status shows [$(probe status 5)], not 100%"
check_shot zoom-100
base_height="$(text_height)"
base_strip="$(strip_width)"

for step in 110 120 130 140 150; do
  xdotool key ctrl+equal
  wait_until 10 zoom_shown "$step%" || fail "Ctrl+= did not reach $step% [$(probe status 5)]"
done
check_shot zoom-150 "$(python3 -c "print($base_height * 1.5)")"
[ "$(strip_width)" -gt "$base_strip" ] || fail "the strip did not widen at 150%"

# Two notches of the wheel with Ctrl held, over the text.
read -r left top right bottom < <(probe editrect)
xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2))
xdotool keydown ctrl click 4 click 4 keyup ctrl
wait_until 10 zoom_shown 170% || fail "Ctrl+wheel did not reach 170% [$(probe status 5)]"
check_shot zoom-170 "$(python3 -c "print($base_height * 1.7)")"

xdotool keydown ctrl click 5 keyup ctrl
wait_until 10 zoom_shown 160% || fail "Ctrl+wheel down [$(probe status 5)]"
xdotool key ctrl+0
wait_until 10 zoom_shown 100% || fail "Ctrl+0 [$(probe status 5)]"
check_shot zoom-back "$base_height"
expect_equal "strip width back at 100%" "$base_strip" "$(strip_width)"
# The keys typed nothing into the text.
expect_equal "text" "$(printf 'HEXAGON LINE%.0s' $(seq 1 12))" "$(probe text | tr -d '\n')"
probe close >/dev/null
echo "PASS"
