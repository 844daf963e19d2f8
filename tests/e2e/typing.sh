#!/usr/bin/env bash
# Real key presses typed into the running editor reach its edit control.
. "$(dirname "$0")/e2e_common.sh"

start_editor
expect_equal "class lookup title" "[Untitled] - scrivlet" "$(probe title)"
win="$(focus_editor)"
xdotool type --delay 40 "Hello, scrivlet 42"
sleep 1
expect_equal "edit control text" "Hello, scrivlet 42" "$(probe text)"
echo "PASS"
