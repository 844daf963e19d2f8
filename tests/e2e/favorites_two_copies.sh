#!/usr/bin/env bash
# Two running copies share their favorites: a favorite added in one shows in
# the other's Favorites menu and in the INI file, and removing it in one
# removes it in the other too.
. "$(dirname "$0")/e2e_common.sh"

printf 'alpha\r\n' > "$E2E_DIR/a.txt"
printf 'beta\r\n' > "$E2E_DIR/b.txt"
start_editor a.txt
(cd "$E2E_DIR" && exec wine ./scrivlet.exe b.txt >/dev/null 2>&1 </dev/null) &
SECOND_PID=$!
trap 'kill "$SECOND_PID" 2>/dev/null || true; cleanup' EXIT
FIRST_WIN="$(window_titled "a.txt - scrivlet")"
SECOND_WIN="$(window_titled "b.txt - scrivlet")"
[ -n "$FIRST_WIN" ] && [ -n "$SECOND_WIN" ] || fail "both copies must show their windows"
A_PATH="$(winepath -w "$E2E_DIR/a.txt" 2>/dev/null)"

favorite_is() { [ "$(ini_value Favorites FILE1)" = "$1" ]; }
second_title_is() { [ "$(xdotool getwindowname "$SECOND_WIN")" = "$1" ]; }

# The first copy adds its file.
favorites_key "$FIRST_WIN" a
wait_until 15 favorite_is "$A_PATH" || fail "the INI file should hold [$A_PATH], has [$(ini_value Favorites FILE1)]"
echo "ok: added in the first copy, INI FILE1 = [$A_PATH]"

# The second copy's menu has it as entry 1: choosing it opens the file there.
favorites_key "$SECOND_WIN" 1
wait_until 15 second_title_is "a.txt - scrivlet" || fail "the second copy did not open the favorite"
echo "ok: the second copy opened the favorite from its menu"

# Removed in the first copy: gone from the INI file ...
favorites_key "$FIRST_WIN" r
wait_until 15 favorite_is "" || fail "the INI file still holds the favorite"
echo "ok: removed in the first copy, INI FILE1 blank"

# ... and from the second copy's list: its Add item works again only then.
favorites_key "$SECOND_WIN" a
wait_until 15 favorite_is "$A_PATH" || fail "the second copy still listed the removed favorite"
expect_equal "INI FILE2" "" "$(ini_value Favorites FILE2)"
echo "PASS"
