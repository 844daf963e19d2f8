#!/usr/bin/env bash
# File names with letters beyond ASCII reach the program whole from the
# command line: a Western one under code page 1252, a Chinese one under 950.
. "$(dirname "$0")/e2e_common.sh"

printf 'western\n' > "$E2E_DIR/été.txt"
start_editor été.txt
expect_equal "title under 1252" "été.txt - scrivlet" "$(probe title)"
expect_equal "text under 1252" "western" "$(probe text)"
probe close >/dev/null
for _ in $(seq 50); do probe title >/dev/null || break; sleep 0.2; done

# Under code page 950 Wine must also read the Unix name as UTF-8: a private
# copy of the locale serves when the system has not generated it.
if ! LC_ALL=zh_TW.UTF-8 locale charmap 2>/dev/null | grep -q UTF-8; then
  mkdir -p "$E2E_DIR/locale"
  localedef -i zh_TW -f UTF-8 "$E2E_DIR/locale/zh_TW.UTF-8" >/dev/null 2>&1 || true
  export LOCPATH="$E2E_DIR/locale"
  LC_ALL=zh_TW.UTF-8 locale charmap 2>/dev/null | grep -q UTF-8 || fail "cannot make the zh_TW.UTF-8 locale"
fi
printf 'chinese\n' > "$E2E_DIR/中文筆記.txt"
(cd "$E2E_DIR" && LC_ALL=zh_TW.UTF-8 exec wine ./scrivlet.exe 中文筆記.txt >/dev/null 2>&1 </dev/null) &
EDITOR_PID=$!
probe wait 60 >/dev/null || fail "no window under code page 950"
expect_equal "title under 950" "中文筆記.txt - scrivlet" "$(probe title)"
expect_equal "text under 950" "chinese" "$(probe text)"
probe close >/dev/null
echo "PASS"
