#!/usr/bin/env bash
# Names the ANSI code page cannot spell, and typed characters beyond it, under
# code pages 950, 1252 and 936. Each file is opened from a UTF-16 command line
# (wide_launch); its favorite must reach another running copy's menu and the
# INI file whole; text typed into it must come back under its name after a
# kill and save to the exact bytes; "们😀" typed as keys into a UTF-8 and a
# UTF-16 file must save exactly. Every check runs and reports; any failure
# fails the script.
. "$(dirname "$0")/e2e_common.sh"

LAUNCH_EXE="$(dirname "$PROBE_EXE")/wide_launch.exe"
WIN_DIR="$(winepath -w "$E2E_DIR" 2>/dev/null)"
RECOVERY_DIR="$E2E_DIR/scrivlet-recovery"
FAILED=0
problem() { echo "FAIL: $*" >&2; FAILED=$((FAILED + 1)); }
check() { if [ "$2" = "$3" ]; then echo "ok: $1"; else problem "$1: expected [$2], got [$3]"; fi; }
hex() { od -An -tx1 | tr -s ' \n' ' '; }
one_line() { tr -s '\n' '|'; }
u16() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE; }

all_windows() { probe list | cut -d' ' -f1; }
end_all_copies() {
  local windows
  windows="$(all_windows)"
  [ -z "$windows" ] || probe kill $windows >/dev/null || true
}
trap 'end_all_copies; cleanup' EXIT

# Wine reads Unix names as UTF-8 only under a locale that exists: private
# copies serve when the system lacks one.
LOCALES=(zh_TW 950 en_US 1252 zh_CN 936)
for ((i = 0; i < ${#LOCALES[@]}; i += 2)); do
  LC_ALL=${LOCALES[i]}.UTF-8 locale charmap 2>/dev/null | grep -q UTF-8 && continue
  export LOCPATH="$E2E_DIR/locale"
  for ((j = 0; j < ${#LOCALES[@]}; j += 2)); do
    mkdir -p "$LOCPATH"
    localedef -i "${LOCALES[j]}" -f UTF-8 "$LOCPATH/${LOCALES[j]}.UTF-8" >/dev/null 2>&1 || true
  done
  break
done

# The names, each a file of its own words; the last a path of 300 characters
# in three folders of about 90.
NAMES=(報告.txt 会议记录.txt かな.txt note😀.txt)
RELATIVE=("${NAMES[@]}")
room=$((300 - ${#WIN_DIR} - 1 - 8))
folder=$((room / 3 - 1))
deep="$(printf 'a%.0s' $(seq $((folder + room - 3 * (folder + 1)))))/$(printf 'b%.0s' $(seq $folder))/$(printf 'c%.0s' $(seq $folder))"
mkdir -p "$E2E_DIR/$deep"
NAMES+=(long.txt)
RELATIVE+=("$deep/long.txt")
windows_path() { printf '%s\\%s' "$WIN_DIR" "${1//\//\\}"; }
words_of() { printf 'text of file %s\r\n' "$1"; }
[ "$(windows_path "${RELATIVE[4]}" | wc -m)" = 300 ] || fail "the long path is not 300 characters"

# Starts a copy under locale $1 with the files $2... (Windows paths) on a
# UTF-16 command line; NEW_WINDOW is its window.
appeared() { NEW_WINDOW="$(all_windows | grep -vxF "$1" | head -1)"; [ -n "$NEW_WINDOW" ]; }
start_copy() {
  local locale="$1" line="\"$WIN_DIR\\scrivlet.exe\"" before code_page
  shift
  for file in "$@"; do line+=" \"$file\""; done
  printf '%s\n%s\n' "$line" "$WIN_DIR" > "$E2E_DIR/launch.txt"
  before="$(all_windows)"
  (cd "$E2E_DIR" && LC_ALL="$locale" exec wine "$LAUNCH_EXE" launch.txt >"$E2E_DIR/launched.txt" 2>&1 </dev/null) ||
    fail "wide_launch: $(cat "$E2E_DIR/launched.txt")"
  code_page="$(cut -d' ' -f2 "$E2E_DIR/launched.txt" | tr -d '\r')"
  [ "$code_page" = "$CODE_PAGE" ] || fail "$locale gave code page [$code_page], not $CODE_PAGE"
  wait_until 30 appeared "$before" || fail "no window for: $line"
}

title_of() { probe list | sed -n "s/^$1 //p"; }
titled() { probe list | awk -v t="$1" '{ h = $1; sub(/^[0-9]+ /, ""); if ($0 == t) { print h; exit } }'; }
title_is() { [ "$(title_of "$1")" = "$2" ]; }
modified_count_is() { [ "$(probe list | grep -c '\* - scrivlet$')" = "$1" ]; }
copies_are() { [ "$(probe count)" = "$1" ]; }
copies_on_disk() { [ "$(ls "$RECOVERY_DIR"/*.rec 2>/dev/null | wc -l)" = "$1" ]; }
type_into() {
  activate_window "$(probe xwindow "$1")"
  xdotool key ctrl+Home
  LC_ALL="$LOCALE" xdotool type --delay 100 "$2"
}
# Each line of $1 that ends in \$2.
lists() { local line; while IFS= read -r -d '|' line; do [[ "$line" == *"\\$2" ]] && return 0; done <<< "$1"; return 1; }
# The favorites the INI file holds, as UTF-8: UTF-16 LE after its mark, else the code page.
ini_favorites() {
  local ini="$E2E_DIR/scrivlet.ini"
  if [ "$(head -c 2 "$ini" | hex)" = " ff fe " ]; then
    tail -c +3 "$ini" | iconv -c -f UTF-16LE -t UTF-8
  else
    iconv -c -f "CP$CODE_PAGE" -t UTF-8 < "$ini"
  fi | tr -d '\r' | sed -n '/^\[Favorites\]/,/^\[/s/^FILE[0-9]*=//p'
}

for ((l = 0; l < ${#LOCALES[@]}; l += 2)); do
  LOCALE=${LOCALES[l]}.UTF-8 CODE_PAGE=${LOCALES[l + 1]}
  : > "$E2E_DIR/scrivlet.ini"
  rm -rf "$RECOVERY_DIR"
  # The typed files, whose copies also watch the favorites.
  printf '\xef\xbb\xbfline\r\n' > "$E2E_DIR/typed8.txt"
  { printf '\xff\xfe'; u16 $'line\r\n'; } > "$E2E_DIR/typed16.txt"
  start_copy "$LOCALE" "$WIN_DIR\\typed8.txt"
  TYPED8=$NEW_WINDOW
  start_copy "$LOCALE" "$WIN_DIR\\typed16.txt"
  TYPED16=$NEW_WINDOW
  OPENED=()
  for i in "${!NAMES[@]}"; do
    name=${NAMES[i]} at="$CODE_PAGE ${NAMES[i]}"
    words_of "$i" > "$E2E_DIR/${RELATIVE[i]}"
    start_copy "$LOCALE" "$(windows_path "${RELATIVE[i]}")"
    OPENED[i]=$NEW_WINDOW
    # A message would hold the window's keys: told, then answered.
    if said="$(probe popup "$NEW_WINDOW")"; then
      problem "$at: command line: the program said [$said: $(probe answer 1 1 "$NEW_WINDOW" | one_line)]"
    fi
    check "$at: command line: title" "$name - scrivlet" "$(title_of "$NEW_WINDOW")"
    check "$at: command line: text" "$(words_of "$i" | tr -d '\r\n')" "$(probe text "$NEW_WINDOW")"
    # Answered after the posted command: the add, and its message to the
    # other copies, are done.
    probe command "$NEW_WINDOW" 800 >/dev/null
    probe favorites "$NEW_WINDOW" >/dev/null
  done

  menu="$(probe favorites "$TYPED8" | one_line)" ini="$(ini_favorites | one_line)"
  for i in "${!NAMES[@]}"; do
    at="$CODE_PAGE ${NAMES[i]}"
    lists "$menu" "${NAMES[i]}" && echo "ok: $at: favorites: the other copy's menu" ||
      problem "$at: favorites: the other copy's menu lacks it: [$menu]"
    grep -qF -- "|$(windows_path "${RELATIVE[i]}")|" <<< "|$ini" && echo "ok: $at: favorites: INI" ||
      problem "$at: favorites: the INI file lacks it: [$ini]"
  done

  # Typed into, killed, started again and answered Yes: each comes back in a
  # window of its own under its name, and saves to the typed bytes.
  for window in "${OPENED[@]}"; do type_into "$window" "typed "; done
  wait_until 15 copies_on_disk ${#NAMES[@]} || problem "$CODE_PAGE: recovery copies: $(ls "$RECOVERY_DIR")"
  probe kill "${OPENED[@]}" || fail "cannot end the copies"
  wait_until 30 copies_are 2 || fail "killed copies still run: $(probe list)"
  start_copy "$LOCALE"
  question="$(probe answer 15 6 "$NEW_WINDOW" | one_line)" || problem "$CODE_PAGE: recovery: no question"
  wait_until 30 modified_count_is ${#NAMES[@]} || problem "$CODE_PAGE: recovery: windows: $(probe list)"
  for i in "${!NAMES[@]}"; do
    name=${NAMES[i]} at="$CODE_PAGE ${NAMES[i]}"
    grep -qF -- "$name" <<< "$question" && echo "ok: $at: recovery: asked" ||
      problem "$at: recovery: the question does not name it: [$question]"
    window="$(titled "$name* - scrivlet")"
    if [ -z "$window" ]; then
      problem "$at: recovery: no window titled [$name* - scrivlet]: $(probe list | cut -d' ' -f2- | one_line)"
      continue
    fi
    probe command "$window" 503 >/dev/null
    wait_until 20 title_is "$window" "$name - scrivlet" || problem "$at: recovery: not saved"
    check "$at: recovery: bytes" "$({ printf 'typed '; words_of "$i"; } | hex)" "$(hex < "$E2E_DIR/${RELATIVE[i]}")"
  done

  # Typed as keys and saved with Ctrl+S.
  for typed in "$TYPED8 typed8.txt" "$TYPED16 typed16.txt"; do
    read -r window name <<< "$typed"
    type_into "$window" "们😀"
    wait_until 20 title_is "$window" "$name* - scrivlet" || problem "$CODE_PAGE $name: typing: no change"
    xdotool key ctrl+s
    wait_until 20 title_is "$window" "$name - scrivlet" || problem "$CODE_PAGE $name: typing: not saved"
  done
  check "$CODE_PAGE typed8.txt: typing: bytes" "$(printf '\xef\xbb\xbf们😀line\r\n' | hex)" "$(hex < "$E2E_DIR/typed8.txt")"
  check "$CODE_PAGE typed16.txt: typing: bytes" "$({ printf '\xff\xfe'; u16 $'们😀line\r\n'; } | hex)" \
    "$(hex < "$E2E_DIR/typed16.txt")"

  end_all_copies
  wait_until 30 copies_are 0 || fail "copies left running: $(probe list)"
done
[ "$FAILED" = 0 ] || fail "$FAILED checks failed"
echo "PASS"
