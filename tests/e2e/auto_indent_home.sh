#!/usr/bin/env bash
# In the real program: Enter keeps the indent of the line, and Home goes to
# the first word, then to the line start, then back to the word.
. "$(dirname "$0")/e2e_common.sh"

start_editor
win="$(focus_editor)"
xdotool type --delay 40 "  abc"
xdotool key --delay 60 Return
xdotool type --delay 40 "def"
sleep 1
expect_equal "indented second line" "$(printf '  abc\n  def')" "$(probe text)"
expect_equal "caret after typing" "列 : 6 行: 2" "$(probe status 4)"

xdotool key --delay 60 Home
sleep 0.5
expect_equal "first Home: first word" "列 : 3 行: 2" "$(probe status 4)"
xdotool key --delay 60 Home
sleep 0.5
expect_equal "second Home: line start" "列 : 1 行: 2" "$(probe status 4)"
xdotool key --delay 60 Home
sleep 0.5
expect_equal "third Home: first word again" "列 : 3 行: 2" "$(probe status 4)"

# Typing at the first word proves where the caret really is.
xdotool type --delay 40 "x"
sleep 1
expect_equal "text after typing at the first word" "$(printf '  abc\n  xdef')" "$(probe text)"
echo "PASS"
