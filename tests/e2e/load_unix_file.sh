#!/usr/bin/env bash
# A UNIX-format file named on the command line opens with its name in the
# title, "UNIX" in the status bar and one line per LF.
. "$(dirname "$0")/e2e_common.sh"

printf 'first line\nsecond line\nthird line\n' > "$E2E_DIR/notes.txt"
start_editor notes.txt
expect_equal "title" "notes.txt - scrivlet" "$(probe title)"
expect_equal "status part 1" "UNIX" "$(probe status 1)"
expect_equal "edit control text" "$(printf 'first line\nsecond line\nthird line')" "$(probe text)"
probe close >/dev/null
echo "PASS"
