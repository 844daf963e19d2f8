#!/usr/bin/env bash
# Several real copies closing at the same moment, as at log-off, each
# rewriting keys: the shared settings file stays whole, with every key and
# section no copy wrote, and the keys they wrote hold their values.
. "$(dirname "$0")/e2e_common.sh"

copies=5
kept_section() {
  printf '[Keep]\r\n'
  for i in $(seq 1 30); do printf 'Kept%d=value %d\r\n' "$i" "$i"; done
}
for round in 1 2 3; do
  # TabSize 1 is read as 8, so every copy writes TabSize=8 when it closes.
  { printf '[Config]\r\nTabSize=1\r\nSearch=find me\r\n'; kept_section; printf '[View]\r\nToolbar=1\r\n'; } \
    > "$E2E_DIR/scrivlet.ini"
  for _ in $(seq $copies); do
    (cd "$E2E_DIR" && exec wine ./scrivlet.exe >/dev/null 2>&1 </dev/null) &
  done
  for _ in $(seq 150); do [ "$(probe count)" = "$copies" ] && break; sleep 0.2; done
  expect_equal "copies running (round $round)" "$copies" "$(probe count)"
  # Every copy turns off the toolbar, status bar and wrapping and turns on
  # line numbers and the margin: five more keys each writes when closing.
  probe commandall 700 701 703 704 705 >/dev/null
  probe closeall >/dev/null
  for _ in $(seq 150); do [ "$(probe count)" = "0" ] && break; sleep 0.2; done
  expect_equal "copies left (round $round)" "0" "$(probe count)"
  wait

  ini="$(ini_text "$E2E_DIR/scrivlet.ini")"
  bad="$(printf '%s\n' "$ini" | grep -Ev '^(\[(Config|Keep|View)\]|TabSize=8|Search=find me|Toolbar=0|Statusbar=0|WordWrap=0|LineNumbers=1|SelectionBar=1|Kept[0-9]+=value [0-9]+|)$' || true)"
  expect_equal "broken or foreign lines (round $round)" "" "$bad"
  expect_equal "kept keys (round $round)" "30" "$(printf '%s\n' "$ini" | grep -c '^Kept')"
  for line in '[Config]' '[Keep]' '[View]' 'TabSize=8' 'Search=find me' 'Toolbar=0' 'Statusbar=0' 'WordWrap=0' \
      'LineNumbers=1' 'SelectionBar=1' 'Kept1=value 1' 'Kept30=value 30'; do
    grep -qxF "$line" <<< "$ini" || fail "missing line $line (round $round)"
  done
done
echo "PASS"
