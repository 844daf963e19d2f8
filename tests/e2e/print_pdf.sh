#!/usr/bin/env bash
# Printing for real: Ctrl+P and the system's print dialog send a generated
# three-page document to a CUPS "PDF" queue; the PDF is checked page by page
# (whole text, a page range, a selection). Then print to file, and Chinese
# under code pages 1252 and 950. Last, with no print system reachable,
# Ctrl+P gives the system's clear message and nothing hangs.
. "$(dirname "$0")/e2e_common.sh"
. "$(dirname "$0")/../print/pdf_printer.sh"

trap 'stop_pdf_printer; cleanup' EXIT
start_pdf_printer || fail "no print system"
PDF_DIR="$(pdf_output_folder)"

# The job name is the document's path, so this token finds our PDFs even
# when other jobs share the queue.
token="printjob_$$_$RANDOM"
doc="$E2E_DIR/$token.txt"
for i in $(seq 1 120); do printf 'Line %03d of the printing test\r\n' "$i"; done > "$doc"

wait_for_window() {
  local name="$1" id=""
  for _ in $(seq 1 100); do
    id="$(xdotool search --onlyvisible --limit 1 --name "^${name}\$" 2>/dev/null || true)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

# The X window of the dialog or box the editor has open: a shown window of
# the program other than the main one (its title depends on the language of
# the system's dialogs, and xdotool cannot match Chinese titles).
wait_for_popup() {
  local main id
  for _ in $(seq 1 "${1:-100}"); do
    if probe popup >/dev/null 2>&1; then
      main="$(probe title)"
      for id in $(xdotool search --onlyvisible --classname 'scrivlet.exe' 2>/dev/null); do
        [ "$(xdotool getwindowname "$id")" != "$main" ] && { echo "$id"; return 0; }
      done
    fi
    sleep 0.2
  done
  return 1
}

# Opens the print dialog, types the keys given until it shows the expected
# range choice (keys can be lost while the dialog settles), then Enter.
print_with_keys() {
  local expected="$1" dialog
  shift
  focus_editor >/dev/null
  xdotool key ctrl+p
  # Without a window manager a key sent while the last printout's window
  # goes can be lost: press it once more before giving up.
  dialog="$(wait_for_popup 25)" || { focus_editor >/dev/null; xdotool key ctrl+p; dialog="$(wait_for_popup)"; } \
    || fail "no Print dialog after Ctrl+P"
  for _ in 1 2 3; do
    xdotool windowfocus --sync "$dialog"
    sleep 0.5
    for key in "$@"; do
      xdotool key "$key"
      sleep 0.2
    done
    [ "$(probe print-range)" = "$expected" ] && break
  done
  expect_equal "print dialog choice" "$expected" "$(probe print-range)"
  xdotool key Return
}

# Waits for the next PDF of our document and prints its path.
wait_for_pdf() {
  local count="$1"
  for _ in $(seq 1 150); do
    if [ "$(ls "$PDF_DIR"/*"$token"* 2>/dev/null | wc -l)" -ge "$count" ]; then
      wait_for_queue_empty || fail "print queue did not empty"
      ls -t "$PDF_DIR"/*"$token"* | head -1
      return 0
    fi
    sleep 0.2
  done
  return 1
}

page_count() { pdfinfo "$1" | sed -n 's/^Pages:[[:space:]]*//p'; }
# The text lines of one page, blank lines and form feeds left out.
page_lines() { pdftotext -f "$2" -l "$2" "$1" - | tr -d '\f' | grep -v '^[[:space:]]*$'; }

start_editor "$(printf 'Z:%s' "$(printf '%s' "$doc" | tr '/' '\\')")"
# Zoomed to 200% on the screen: the pages are laid out at the font's own size.
focus_editor >/dev/null
for _ in $(seq 1 10); do xdotool key ctrl+equal; done
zoomed() { [ "$(probe status 5)" = "200%" ]; }
wait_until 10 zoomed || fail "the zoom did not reach 200% [$(probe status 5)]"

# The whole document: three pages that together hold every line once, in order.
print_with_keys "all 1 1"
whole="$(wait_for_pdf 1)" || fail "no PDF for the whole document"
expect_equal "pages of the whole document" "3" "$(page_count "$whole")"
all=""
for p in 1 2 3; do
  lines="$(page_lines "$whole" $p)"
  [ -n "$lines" ] || fail "page $p is empty"
  # No pipe into head: bash's printf writes line by line, and a reader that
  # stops early fails the pipeline with SIGPIPE.
  printf -v "first$p" '%s' "${lines%%$'\n'*}"
  printf -v "last$p" '%s' "${lines##*$'\n'}"
  all="$all$lines"$'\n'
done
expect_equal "first line of page 1" "Line 001 of the printing test" "$first1"
expect_equal "last line of page 3" "Line 120 of the printing test" "$last3"
[ "$(printf '%s' "$all")" = "$(seq -f 'Line %03g of the printing test' 1 120)" ] \
  || fail "the three pages do not hold every line once, in order"
echo "ok: pages end with [$last1] and [$last2]"
[ "$first2" != "$first1" ] && [ "$first3" != "$first2" ] || fail "pages do not advance"

# Pages 2 to 3 only: the same two pages as in the whole printout.
print_with_keys "pages 2 3" alt+g Tab ctrl+a 2 Tab ctrl+a 3
range="$(wait_for_pdf 2)" || fail "no PDF for the page range"
expect_equal "pages of the range 2-3" "2" "$(page_count "$range")"
expect_equal "range: first line of its page 1" "$first2" "$(page_lines "$range" 1 | head -1)"
expect_equal "range: last line of its page 1" "$last2" "$(page_lines "$range" 1 | tail -1)"
expect_equal "range: first line of its page 2" "$first3" "$(page_lines "$range" 2 | head -1)"
expect_equal "range: last line of its page 2" "$last3" "$(page_lines "$range" 2 | tail -1)"

# A selection of lines 10 to 14 prints alone, from the top of page 1.
focus_editor >/dev/null
xdotool key ctrl+Home
for _ in $(seq 1 9); do xdotool key Down; done
for _ in $(seq 1 5); do xdotool key shift+Down; done
sleep 0.3
print_with_keys "selection 1 1" alt+s
selection="$(wait_for_pdf 3)" || fail "no PDF for the selection"
expect_equal "pages of the selection" "1" "$(page_count "$selection")"
expect_equal "selection printed" "$(seq -f 'Line %03g of the printing test' 10 14)" "$(page_lines "$selection" 1)"
expect_equal "status text after printing" "" "$(probe status 0)"

# Print to file: PostScript of the three pages goes to the port "FILE:",
# which Wine writes as a file of that name in the working folder.
print_with_keys "all 1 1 file" alt+l
for _ in $(seq 1 50); do [ -s "$E2E_DIR/FILE:" ] && break; sleep 0.2; done
sleep 1
expect_equal "print to file starts as PostScript" "%!PS" "$(head -c 4 "$E2E_DIR/FILE:" 2>/dev/null)"
expect_equal "pages printed to the file" "3" "$(grep -c 'showpage' "$E2E_DIR/FILE:")"
rm -f "$E2E_DIR/FILE:"

# A page range wholly past the end starts no job and says so.
print_with_keys "pages 10 12" alt+g Tab ctrl+a 1 0 Tab ctrl+a 1 2
expect_equal "range past the end" "The document has only 3 pages: there is nothing to print from page 10." \
  "$(probe answer 10)"
sleep 3
expect_equal "PDFs after the range past the end" "3" "$(ls "$PDF_DIR"/*"$token"* | wc -l)"

# A long printout shows the page it is at in a window of its own, the main
# window still answers, and Escape stops the job: no PDF comes of it.
probe close >/dev/null || true
for _ in $(seq 1 50); do probe title >/dev/null 2>&1 || break; sleep 0.2; done
for i in $(seq 1 30000); do printf 'Line %05d of a long printout\r\n' "$i"; done > "$E2E_DIR/${token}_long.txt"
start_editor "$(printf 'Z:%s' "$(printf '%s' "$E2E_DIR/${token}_long.txt" | tr '/' '\\')")"
print_with_keys "all 1 1"
progress="$(wait_for_popup)" || fail "no printing window"
for _ in $(seq 1 50); do
  case "$(probe status 0)" in "Printing Page "[2-9]*) break ;; esac
  sleep 0.2
done
case "$(probe status 0)" in "Printing Page "*) echo "ok: the main window answers while printing" ;;
  *) fail "no page status while printing: [$(probe status 0)]" ;; esac
xdotool windowfocus --sync "$progress"
xdotool key Escape
for _ in $(seq 1 50); do probe popup >/dev/null || break; sleep 0.2; done
probe popup >/dev/null && fail "the printing window stayed after Escape"
expect_equal "status after stopping the printout" "" "$(probe status 0)"
sleep 5
expect_equal "PDFs after stopping the printout" "0" "$(ls "$PDF_DIR"/*"${token}_long"* 2>/dev/null | wc -l)"

# Chinese prints as Chinese with a CJK editor font: a UTF-16 file under code
# page 1252 and a Big5 file under code page 950.
line1=$'\xe4\xb8\xad\xe6\x96\x87\xe5\x88\x97\xe5\x8d\xb0 \xe7\xac\xac\xe4\xb8\x80\xe8\xa1\x8c'
line2=$'Last \xe9\xbe\x8d\xe9\xb3\xb3'
print_chinese() {
  local file="$1" count="$2" locale="$3" pdf
  probe close >/dev/null || true
  sleep 1
  printf '[Config]\r\nFont=WenQuanYi Micro Hei\r\nCharSet=136\r\n' > "$E2E_DIR/scrivlet.ini"
  local name
  name="$(printf 'Z:%s' "$(printf '%s' "$file" | tr '/' '\\')")"
  if [ -n "$locale" ]; then LC_ALL="$locale" start_editor "$name"; else start_editor "$name"; fi
  print_with_keys "all 1 1"
  pdf="$(wait_for_pdf "$count")" || fail "no PDF for $(basename "$file")"
  expect_equal "Chinese printed from $(basename "$file")" "$(printf '%s\n%s' "$line1" "$line2")" \
    "$(page_lines "$pdf" 1)"
}
{ printf '\xff\xfe'; printf '%s\r\n%s\r\n' "$line1" "$line2" | iconv -f UTF-8 -t UTF-16LE; } \
  > "$E2E_DIR/${token}_wide.txt"
printf '%s\r\n%s\r\n' "$line1" "$line2" | iconv -f UTF-8 -t BIG5 > "$E2E_DIR/${token}_big5.txt"
print_chinese "$E2E_DIR/${token}_wide.txt" 4 ""
print_chinese "$E2E_DIR/${token}_big5.txt" 5 zh_TW.UTF-8
: > "$E2E_DIR/scrivlet.ini"

# No print system reachable: the system says so, and the editor goes on.
probe close >/dev/null || true
sleep 1
export CUPS_SERVER="$E2E_DIR/no-such-scheduler.sock"
start_editor "$(printf 'Z:%s' "$(printf '%s' "$doc" | tr '/' '\\')")"
focus_editor >/dev/null
started=$(date +%s)
xdotool key ctrl+p
warning="$(wait_for_popup)" || fail "no message when no printer is installed"
xdotool windowfocus --sync "$warning"
xdotool key Return
sleep 1
probe popup >/dev/null && fail "a second box or the dialog is still open"
expect_equal "editor answers after the failed print" "$token.txt - scrivlet" "$(probe title)"
[ $(( $(date +%s) - started )) -lt 30 ] || fail "the failed print took too long"
expect_equal "PDFs of this run" "5" "$(ls "$PDF_DIR"/*"$token"* | wc -l)"
rm -f "$PDF_DIR"/*"$token"*
echo "PASS"
