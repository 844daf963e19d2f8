#!/usr/bin/env bash
# A running copy that has stopped answering costs a favorites change about a
# second at most: the editor that sends it goes on working.
. "$(dirname "$0")/e2e_common.sh"

printf 'alpha\r\n' > "$E2E_DIR/a.txt"
start_editor a.txt
WIN="$(window_titled "a.txt - scrivlet")"
[ -n "$WIN" ] || fail "no editor window"
(exec wine "$PROBE_EXE" hang 120 >"$E2E_DIR/hung.out" 2>/dev/null </dev/null) &
HUNG_PID=$!
trap 'kill "$HUNG_PID" 2>/dev/null || true; cleanup' EXIT
hung_ready() { grep -q ready "$E2E_DIR/hung.out" 2>/dev/null; }
wait_until 30 hung_ready || fail "the hung window did not appear"

A_PATH="$(winepath -w "$E2E_DIR/a.txt" 2>/dev/null)"
favorite_is() { [ "$(ini_value Favorites FILE1)" = "$1" ]; }
title_is() { [ "$(xdotool getwindowname "$WIN")" = "$1" ]; }

favorites_key "$WIN" a
start=$(date +%s%N)
wait_until 30 favorite_is "$A_PATH" || fail "the favorite never reached the INI file"
# The editor answers keys again: typing marks the title.
xdotool type --delay 0 x
wait_until 30 title_is "a.txt* - scrivlet" || fail "the editor stopped answering"
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
echo "favorite written and editor answering after ${elapsed_ms} ms"
[ "$elapsed_ms" -lt 3000 ] || fail "the hung copy held the editor for ${elapsed_ms} ms"
echo "PASS"
