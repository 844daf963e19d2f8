#!/usr/bin/env bash
# A UNIX-format file named on the command line opens with its name in the
# title, "UNIX" and the system code page's name in the status bar (the file is
# ASCII) and one line per LF.
. "$(dirname "$0")/e2e_common.sh"

printf 'first line\nsecond line\nthird line\n' > "$E2E_DIR/notes.txt"
start_editor notes.txt
expect_equal "title" "notes.txt - scrivlet" "$(probe title)"
status="$(probe status 1)"
case "$status" in
  "UNIX Western (1252)" | "UNIX Big5" | "UNIX GBK") echo "ok: status part 1 [$status]" ;;
  *) fail "status part 1: [$status]" ;;
esac
expect_equal "edit control text" "$(printf 'first line\nsecond line\nthird line')" "$(probe text)"
probe close >/dev/null
echo "PASS"
