#!/usr/bin/env bash
# A file name with letters beyond ASCII reaches the program whole from the
# command line.
. "$(dirname "$0")/e2e_common.sh"

printf 'western\n' > "$E2E_DIR/été.txt"
start_editor été.txt
expect_equal "title under 1252" "été.txt - scrivlet" "$(probe title)"
expect_equal "text under 1252" "western" "$(probe text)"
probe close >/dev/null

echo "PASS"
