#!/usr/bin/env bash
# Saving a file reached through a symbolic link writes the real file and
# keeps the link; a file with a second hard link keeps both names.
. "$(dirname "$0")/e2e_common.sh"

mkdir -p "$E2E_DIR/real"
printf 'linked text\n' > "$E2E_DIR/real/target.txt"
ln -s real/target.txt "$E2E_DIR/link.txt"
printf 'two names\n' > "$E2E_DIR/first.txt"
ln "$E2E_DIR/first.txt" "$E2E_DIR/second.txt"

save_with_prefix() {
  start_editor "$1"
  focus_editor >/dev/null
  xdotool key ctrl+Home
  xdotool type --delay 40 "X"
  xdotool key ctrl+s
  for _ in $(seq 50); do
    case "$(probe title)" in *'*'*) sleep 0.2 ;; *) break ;; esac
  done
  probe close >/dev/null
  for _ in $(seq 50); do probe title >/dev/null || break; sleep 0.2; done
}

save_with_prefix link.txt
[ -L "$E2E_DIR/link.txt" ] || fail "the symbolic link was replaced by a file"
expect_equal "real file through the link" "Xlinked text" "$(cat "$E2E_DIR/real/target.txt")"

inode="$(stat -c %i "$E2E_DIR/first.txt")"
save_with_prefix first.txt
expect_equal "first name" "Xtwo names" "$(cat "$E2E_DIR/first.txt")"
expect_equal "second name" "Xtwo names" "$(cat "$E2E_DIR/second.txt")"
expect_equal "same file" "$inode" "$(stat -c %i "$E2E_DIR/first.txt")"
expect_equal "files beside" "first.txt link.txt real scrivlet.exe scrivlet.ini second.txt" \
  "$(ls "$E2E_DIR" | tr '\n' ' ' | sed 's/ $//')"
echo "PASS"
