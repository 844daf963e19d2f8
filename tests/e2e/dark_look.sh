#!/usr/bin/env bash
# The dark look in a Wine prefix of its own (AppsUseLightTheme 0, kept in
# the build folder after the first run): editor, gutter and status bar are
# painted dark on the screen, a live switch of the setting (the registry
# value and WM_SETTINGCHANGE "ImmersiveColorSet") turns them light and back,
# and the INI written by the Options sheet holds the light defaults, never the
# painted colours (the user's own colours are the in-process tests'). Wine draws
# the title bar itself and takes no dark title bar: its colour is printed.
# Screenshots are kept beside the program (dark-*.png). High contrast cannot
# be switched in this Wine (SPI_SETHIGHCONTRAST fails, SPI_GETHIGHCONTRAST
# stays off); the in-process tests drive it through the program's seam.
. "$(dirname "$0")/e2e_common.sh"

OUT_DIR="$(dirname "$SCRIVLET_EXE")"
PERSONALIZE='HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'
DARK_PREFIX="$OUT_DIR/wineprefix-dark"
if [ ! -f "$DARK_PREFIX/.scrivlet-dark-ready" ]; then
  rm -rf "$DARK_PREFIX"
  cp -a "$WINEPREFIX" "$DARK_PREFIX"
  rm -f "$DARK_PREFIX"/.scrivlet-dpi-ready
  touch "$DARK_PREFIX/.scrivlet-dark-ready"
fi
export WINEPREFIX="$DARK_PREFIX"
wineserver -p >/dev/null 2>&1 </dev/null
trap 'cleanup; wineserver -k 2>/dev/null || true' EXIT

apps_light() {
  wine reg add "$PERSONALIZE" /v AppsUseLightTheme /t REG_DWORD /d "$1" /f >/dev/null 2>&1
}

for i in $(seq 1 5); do printf 'Dark line %d\r\n' "$i"; done > "$E2E_DIR/lines.txt"
LAYOUT='[View]\r\nLineNumbers=1\r\nSavePosition=1\r\nleft=0\r\ntop=0\r\nright=600\r\nbottom=400\r\n'

# "r g b" of one screen pixel.
pixel() {
  import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | tail -1 |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}
DARK_BACK="30 30 30"
DARK_GUTTER="45 45 45"
DARK_STATUS="45 45 45"
SHOT=""
# The editor's text area, gutter strip and status bar are these colours.
painted() {
  local editor="$1" gutter="$2" status="$3" left top right bottom
  read -r left top right bottom < <(probe editrect)
  SHOT="editor [$(pixel $((right - 10)) $((bottom - 10)))] gutter [$(pixel $((left + 1)) $((bottom - 3)))]"
  SHOT="$SHOT status [$(pixel $((left + 60)) $((bottom + 8)))]"
  [ "$SHOT" = "editor [$editor] gutter [$gutter] status [$status]" ]
}
expect_painted() {
  local what="$1"
  shift
  wait_until 10 painted "$@" || fail "$what: $SHOT, expected editor [$1] gutter [$2] status [$3]"
  echo "ok: $what: $SHOT"
  import -window root -crop 620x430+0+0 "$OUT_DIR/dark-$what.png"
}
not_dark() { ! painted "$DARK_BACK" "$DARK_GUTTER" "$DARK_STATUS"; }
has_popup() { probe popup >/dev/null; }
no_popup() { ! probe popup >/dev/null; }
editor_closed() { ! kill -0 "$EDITOR_PID" 2>/dev/null; }
# Opens the Options sheet with F10 and confirms it with Enter.
options_ok() {
  xdotool key F10
  wait_until 10 has_popup || fail "no Options sheet"
  xdotool key Return
  wait_until 10 no_popup || fail "the Options sheet stayed open"
}

# Default colours: dark where Windows says apps are dark.
apps_light 0
printf "$LAYOUT" > "$E2E_DIR/scrivlet.ini"
start_editor lines.txt
focus_editor >/dev/null
expect_painted defaults "$DARK_BACK" "$DARK_GUTTER" "$DARK_STATUS"
echo "title bar as Wine draws it: [$(pixel 200 5)]"

apps_light 1
probe look-change
wait_until 10 not_dark || fail "still dark after the live switch to light: $SHOT"
read -r left top right bottom < <(probe editrect)
expect_equal "editor after switching to light" "255 255 255" "$(pixel $((right - 10)) $((bottom - 10)))"
import -window root -crop 620x430+0+0 "$OUT_DIR/dark-switched-light.png"
apps_light 0
probe look-change
expect_painted switched-back "$DARK_BACK" "$DARK_GUTTER" "$DARK_STATUS"
options_ok
expect_equal "BackColor written under the dark look" "16777215" "$(ini_value Config BackColor)"
expect_equal "FontColor written under the dark look" "0" "$(ini_value Config FontColor)"
probe close >/dev/null
wait_until 20 editor_closed || fail "the editor did not close"
EDITOR_PID=""

echo "PASS"
