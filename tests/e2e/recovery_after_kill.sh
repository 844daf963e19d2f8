#!/usr/bin/env bash
# Text typed and never saved survives a kill: copies typed into (an untitled
# document and files in ANSI, UTF-16 and UTF-8, then Big5 under code page
# 950) are killed with the whole Wine session 12 s later; the next start
# offers them all in one question, brings each back in its own window, and
# a save writes the file's exact bytes. Saves and normal exits leave no
# recovery copy behind.
. "$(dirname "$0")/e2e_common.sh"

RECOVERY_DIR="$E2E_DIR/scrivlet-recovery"

# A failure leaves restored copies running, and they would fail the tests
# after this one (an installer refuses to run beside them): end them all.
end_copies() {
  local status=$?
  if [ "$status" != 0 ]; then
    wineserver -k || true
    wineserver -p >/dev/null 2>&1 </dev/null
  fi
  cleanup
}
trap end_copies EXIT
ROUND_LOCALE=C.UTF-8

# Under code page 950 Wine must also read the Unix name as UTF-8: a private
# copy of the locale serves when the system has not generated it.
if ! LC_ALL=zh_TW.UTF-8 locale charmap 2>/dev/null | grep -q UTF-8; then
  mkdir -p "$E2E_DIR/locale"
  localedef -i zh_TW -f UTF-8 "$E2E_DIR/locale/zh_TW.UTF-8" >/dev/null 2>&1 || true
  export LOCPATH="$E2E_DIR/locale"
fi

start_copy() {
  (cd "$E2E_DIR" && LC_ALL="$ROUND_LOCALE" exec wine ./scrivlet.exe "$@" >/dev/null 2>&1 </dev/null) &
}

type_into() {
  local title="$1" text="$2" win
  win="$(window_titled "$title")" || fail "no window titled $title"
  activate_window "$win"
  xdotool key ctrl+Home
  xdotool type --delay 30 "$text"
}

# The handle of the running copy whose title is $1.
copy_titled() {
  probe list | sed -n "s/^\([0-9]*\) $(printf '%s' "$1" | sed 's/[][\\.*^$]/\\&/g')\$/\1/p" | head -1
}

copies_running() { [ "$(probe count)" = "$1" ]; }
saved() { [ -n "$(copy_titled "$1 - scrivlet")" ]; }

recovery_files() { ls "$RECOVERY_DIR" 2>/dev/null | grep -E '\.(rec|tmp|lock)$' || true; }
no_recovery_files() { [ -z "$(recovery_files)" ]; }

u16() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE; }

# $1: the locale; then the names of files in E2E_DIR, each with its bytes
# after a save in expected/. Each file gets "typed " at its start, the
# untitled document "untitled words".
run_round() {
  ROUND_LOCALE="$1"
  shift
  local names=("$@")
  local total=$((${#names[@]} + 1))
  # One after another: many Wine starts at once may outlast any wait.
  start_copy
  wait_until 60 copies_running 1 || fail "the untitled copy did not start"
  local running=1
  for name in "${names[@]}"; do
    start_copy "$name"
    running=$((running + 1))
    wait_until 60 copies_running "$running" || fail "the copy for $name did not start: $(probe list)"
  done
  type_into "[Untitled] - scrivlet" "untitled words"
  for name in "${names[@]}"; do type_into "$name - scrivlet" "typed "; done
  sleep 12
  [ "$(ls "$RECOVERY_DIR"/*.rec 2>/dev/null | wc -l)" = "$total" ] || fail "copies on disk: $(recovery_files)"
  wineserver -k || true
  sleep 1
  wineserver -p >/dev/null 2>&1 </dev/null

  start_copy
  probe wait 60 >/dev/null || fail "no window after the kill"
  local question
  question="$(probe answer 60 6)" || fail "no recovery question"
  echo "asked: $(printf '%s' "$question" | tr '\n' ' ')"
  grep -q "(未命名)" <<< "$question" || fail "the untitled document is not listed"
  for name in "${names[@]}"; do
    grep -qF "$name" <<< "$question" || fail "$name is not listed"
  done
  wait_until 60 copies_running "$total" || fail "windows after Yes: $(probe count) of $total"
  sleep 2

  local untitled
  untitled="$(copy_titled "[Untitled]* - scrivlet")"
  [ -n "$untitled" ] || fail "no restored untitled window: $(probe list)"
  expect_equal "restored untitled text" "untitled words" "$(probe text "$untitled")"
  for name in "${names[@]}"; do
    local window
    window="$(copy_titled "$name* - scrivlet")"
    [ -n "$window" ] || fail "no restored window for $name: $(probe list)"
    # The text as the window shows it, where the code page decides it.
    if [ -f "$E2E_DIR/expected/$name.shown" ]; then
      expect_equal "text of $name" "$(cat "$E2E_DIR/expected/$name.shown")" "$(probe text "$window")"
    fi
    probe command "$window" 503 >/dev/null
    wait_until 20 saved "$name" || fail "$name was not saved"
    expect_equal "bytes of $name after the save" "$(od -An -tx1 < "$E2E_DIR/expected/$name")" \
      "$(od -An -tx1 < "$E2E_DIR/$name")"
  done
  # The untitled one is given up at its question; every copy exits normally.
  probe command "$untitled" 522 >/dev/null
  probe answer 20 7 "$untitled" >/dev/null || fail "no save question for the untitled document"
  probe closeall >/dev/null
  wait_until 60 copies_running 0 || fail "copies left running: $(probe list)"
  # A copy whose window is gone may still be ending and removing its lock.
  wait_until 20 no_recovery_files || true
  expect_equal "recovery files after saves and exits" "" "$(recovery_files)"
}

mkdir -p "$E2E_DIR/expected"
printf 'caf\xe9\r\nline two\r\n' > "$E2E_DIR/ansi.txt"
printf 'typed caf\xe9\r\nline two\r\n' > "$E2E_DIR/expected/ansi.txt"
{ printf '\xff\xfe'; u16 $'café 中\r\nline two\r\n'; } > "$E2E_DIR/utf16.txt"
{ printf '\xff\xfe'; u16 $'typed café 中\r\nline two\r\n'; } > "$E2E_DIR/expected/utf16.txt"
printf 'caf\xc3\xa9 \xe4\xb8\xad\nline two\n' > "$E2E_DIR/utf8.txt"
printf 'typed caf\xc3\xa9 \xe4\xb8\xad\nline two\n' > "$E2E_DIR/expected/utf8.txt"
run_round C.UTF-8 ansi.txt utf16.txt utf8.txt

printf '\xa4\xa4\xa4\xe5 \xb4\xfa\xb8\xd5\r\n' > "$E2E_DIR/big5.txt"
printf 'typed \xa4\xa4\xa4\xe5 \xb4\xfa\xb8\xd5\r\n' > "$E2E_DIR/expected/big5.txt"
printf 'typed 中文 測試\n' > "$E2E_DIR/expected/big5.txt.shown"
run_round zh_TW.UTF-8 big5.txt
echo "PASS"
