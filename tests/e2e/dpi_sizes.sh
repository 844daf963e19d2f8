#!/usr/bin/env bash
# The real program at 96, 144 and 192 DPI, each in a Wine prefix of its own
# (kept in the build folder after the first run): the first window size
# grows with the DPI, every status part is wider than its text in the status
# font, the toolbar's buttons fit the images drawn for the DPI, and the
# gutter is as wide as its digits. A screenshot per DPI is kept beside the
# program (dpi-96.png ...) for looking at.
. "$(dirname "$0")/e2e_common.sh"

OUT_DIR="$(dirname "$SCRIVLET_EXE")"
BASE_PREFIX="$WINEPREFIX"
for i in $(seq 1 300); do printf 'Line %d of a text at this DPI\r\n' "$i"; done > "$E2E_DIR/lines.txt"

dpi_prefix() {
  local dpi="$1" prefix="$OUT_DIR/wineprefix-dpi$1"
  # The test prefix itself is at 96 DPI.
  if [ "$dpi" = 96 ]; then echo "$BASE_PREFIX"; return; fi
  if [ ! -f "$prefix/.scrivlet-dpi-ready" ]; then
    rm -rf "$prefix"
    cp -a "$BASE_PREFIX" "$prefix"
    rm -f "$prefix"/.scrivlet-dpi-ready
    WINEPREFIX="$prefix" wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
      /d "$dpi" /f >/dev/null 2>&1
    WINEPREFIX="$prefix" wineserver -w
    touch "$prefix/.scrivlet-dpi-ready"
  fi
  echo "$prefix"
}

# As the program scales: rounded to the nearest pixel.
scaled() { echo $((($1 * $2 + 48) / 96)); }

check_parts() {
  local part w textw text
  while read -r part w textw text; do
    echo "status part $part: width $w, text width $textw [$text]"
    [ "$part" = 0 ] && continue
    [ -n "$text" ] || fail "status part $part is empty"
    [ "$w" -gt "$textw" ] || fail "status part $part ($w) narrower than its text ($textw) at $1 DPI"
  done < <(probe parts)
}

check_dpi() {
  local dpi="$1"
  export WINEPREFIX
  WINEPREFIX="$(dpi_prefix "$dpi")"
  printf '[View]\r\nSavePosition=1\r\nleft=0\r\ntop=0\r\nLineNumbers=1\r\n' > "$E2E_DIR/scrivlet.ini"
  start_editor lines.txt
  echo "== $dpi DPI"
  # No size in the INI: the first placement, 300 by 300 at 96 DPI.
  expect_equal "first window size" "$(scaled 300 "$dpi") $(scaled 300 "$dpi")" "$(probe windowsize)"

  local width height
  width="$(scaled 760 "$dpi")"; [ "$width" -gt 1270 ] && width=1270
  height="$(scaled 420 "$dpi")"
  probe resize "$width" "$height" || fail "resize"
  focus_editor >/dev/null
  echo "window: $(probe windowsize)"
  # The caret's position, then a selection's figures, the longer text.
  xdotool key ctrl+End
  sleep 1
  check_parts "$dpi"
  xdotool key shift+Up
  sleep 1
  check_parts "$dpi"

  local image=16
  [ "$dpi" -ge 120 ] && image=20
  [ "$dpi" -ge 144 ] && image=24
  [ "$dpi" -ge 192 ] && image=32
  local toolbar
  toolbar="$(probe toolbar)"
  echo "toolbar button and height: $toolbar"
  expect_equal "toolbar button" "$((image + $(scaled 7 "$dpi"))) $((image + $(scaled 6 "$dpi")))" \
    "$(echo "$toolbar" | cut -d' ' -f1-2)"

  # The gutter holds three digits of the status font's size or more.
  local left
  left="$(probe textleft)"
  echo "text starts at: $left"
  [ "$left" -ge "$(scaled 30 "$dpi")" ] || fail "gutter of $left pixels at $dpi DPI"

  import -window root "$OUT_DIR/dpi-$dpi.png"
  echo "screenshot: $OUT_DIR/dpi-$dpi.png"
  probe close >/dev/null
  wait_until 20 bash -c "! kill -0 $EDITOR_PID 2>/dev/null" || fail "the editor did not close"
  EDITOR_PID=""
  # The test run's own server stays for the other tests.
  [ "$WINEPREFIX" = "$BASE_PREFIX" ] || wineserver -k || true
}

for dpi in 96 144 192; do
  check_dpi "$dpi"
done
export WINEPREFIX="$BASE_PREFIX"
echo "PASS"
