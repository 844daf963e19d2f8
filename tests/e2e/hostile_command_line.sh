#!/usr/bin/env bash
# Names on the command line that are no file: each start shows a message, the
# window stays usable and empty, and closing it ends the process at once.
# Odd files load.
. "$(dirname "$0")/e2e_common.sh"

# Starts with name, expects a message box containing fragment, then an
# untitled editor that closes promptly.
expect_refused_start() {
  local name="$1" fragment="$2" message
  start_editor "$name"
  message="$(probe answer 20)" || fail "no message for [$name]"
  case "$message" in
    *"$fragment"*) echo "ok: [$name] refused: $message" ;;
    *) fail "[$name]: unexpected message [$message]" ;;
  esac
  # A loaded machine may take a moment to bring the window back after the box.
  local title=""
  for _ in $(seq 1 20); do
    title="$(probe title)" || title=""
    [ "$title" = "[Untitled] - scrivlet" ] && break
    sleep 0.5
  done
  expect_equal "title after [$name]" "[Untitled] - scrivlet" "$title"
  expect_closes
}

expect_closes() {
  probe close >/dev/null
  for _ in $(seq 1 50); do
    kill -0 "$EDITOR_PID" 2>/dev/null || { EDITOR_PID=""; return 0; }
    sleep 0.2
  done
  fail "the editor did not end after close"
}

device="is the name of a device, not of a file."
expect_refused_start COM1 "\"COM1\" $device"
expect_refused_start aux.txt "\"aux.txt\" $device"
expect_refused_start 'sub\lpt1.log' "\"sub\\lpt1.log\" $device"
expect_refused_start '\\.\pipe\scrivlet' "$device"
mkdir "$E2E_DIR/a folder"
expect_refused_start "a folder" "Access denied"
# Wine maps only C: and Z: here.
expect_refused_start 'Q:\missing\file.txt' "not found"

head -c 65536 /dev/urandom > "$E2E_DIR/binary.bin"
printf '\xff\xfe' > "$E2E_DIR/mark only.txt"
for name in binary.bin "mark only.txt"; do
  start_editor "$name"
  expect_equal "title" "$name - scrivlet" "$(probe title)"
  expect_closes
done
echo "PASS"
