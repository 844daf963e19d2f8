# Shared steps of the end-to-end scripts: the real scrivlet.exe under Wine,
# driven with real key presses (xdotool) and looked into with window_probe.
# Sourced with: $1 = scrivlet.exe, $2 = window_probe.exe.
set -euo pipefail

SCRIVLET_EXE="$1"
PROBE_EXE="$2"
E2E_DIR="$(mktemp -d /tmp/scrivlet-e2e.XXXXXX)"
# A private copy with an empty INI beside it, so the run neither reads nor
# writes the user's settings and starts from the defaults.
cp "$SCRIVLET_EXE" "$E2E_DIR/scrivlet.exe"
: > "$E2E_DIR/scrivlet.ini"
EDITOR_PID=""

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

probe() {
  wine "$PROBE_EXE" "$@" 2>/dev/null | tr -d '\r'
}

cleanup() {
  if [ -n "$EDITOR_PID" ] && kill -0 "$EDITOR_PID" 2>/dev/null; then
    probe close >/dev/null || true
    sleep 1
    kill "$EDITOR_PID" 2>/dev/null || true
  fi
  rm -rf "$E2E_DIR"
}
trap cleanup EXIT

# Starts the editor with optional arguments; output detached so no daemon
# holds the test runner's pipe.
start_editor() {
  (cd "$E2E_DIR" && exec wine ./scrivlet.exe "$@" >/dev/null 2>&1 </dev/null) &
  EDITOR_PID=$!
  probe wait 60 >/dev/null || fail "no window of class scrivletClass appeared"
}

# X window of the editor's main window (Wine gives it the window title).
editor_x_window() {
  local title
  title="$(probe title)"
  xdotool search --sync --limit 1 --name "^$(printf '%s' "$title" | sed 's/[][\\.*^$]/\\&/g')\$"
}

focus_editor() {
  local win
  win="$(editor_x_window)"
  [ -n "$win" ] || fail "no X window for the editor"
  # With no window manager the focus must be set explicitly.
  xdotool windowfocus --sync "$win"
  sleep 0.5
  echo "$win"
}

expect_equal() {
  local what="$1" expected="$2" actual="$3"
  if [ "$expected" != "$actual" ]; then
    fail "$what: expected [$expected], got [$actual]"
  fi
  echo "ok: $what = [$actual]"
}

# Retries a command every 0.1 s for up to $1 seconds; fails when it never succeeds.
wait_until() {
  local limit="$1"
  shift
  local tries=$((limit * 10))
  while [ "$tries" -gt 0 ]; do
    "$@" && return 0
    sleep 0.1
    tries=$((tries - 1))
  done
  return 1
}

# An INI file's lines in UTF-8 without CRs: the program writes it in UTF-16
# (mark FF FE); one it has not written yet is read as it is.
ini_text() {
  if [ "$(head -c 2 "$1" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = "fffe" ]; then
    iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r'
  else
    tr -d '\r' < "$1" 2>/dev/null
  fi
}

# The value of one key of the private INI file ("" when absent).
ini_value() {
  local section="$1" key="$2"
  ini_text "$E2E_DIR/scrivlet.ini" | sed -n "/^\[$section\]/,/^\[/p" | sed -n "s/^$key=//p" | head -1
}

# X window of an editor by its exact title.
window_titled() {
  timeout 60 xdotool search --sync --limit 1 --name "^$(printf '%s' "$1" | sed 's/[][\\.*^$]/\\&/g')\$"
}

# Brings one of several editor windows to the front and gives it the keys:
# with no window manager, a click is what makes Wine activate it.
activate_window() {
  xdotool windowraise "$1"
  xdotool mousemove --window "$1" 300 300 click 1
  xdotool windowfocus --sync "$1"
  sleep 0.5
}

# Opens the Favorites menu of a window with Alt+A and presses one key in it.
favorites_key() {
  local win="$1" key="$2"
  activate_window "$win"
  xdotool key alt+a
  sleep 0.5
  xdotool key "$key"
}
