#!/usr/bin/env bash
# The benchmark proper; scripts/bench.sh prepares the display and Wine and
# calls it, and the test run calls it with --smoke (tiny inputs, one run,
# checks that every measurement came out).
#   run_bench.sh [--smoke] [--runs N] [--growth] [--profile MB] [--replace] [--print] [--keys]
#                [--baseline-exe old.exe [--baseline-name TEXT]] scrivlet.exe bench_driver.exe bare_richedit.exe
# --baseline-exe adds an earlier scrivlet.exe ("old") to every row of
# scrivlet's in the main table, --replace and --keys, its runs taken in turn
# with this one's.
# --growth runs only the load time against size; --profile only
# tests/bench/load_profile.cpp on a file of MB megabytes; --replace only the
# open of the 10 MB file beside Replace All and its Undo; --print only the
# printing of 200 KB, 1 MB and 2 MB (to a file, through a CUPS "PDF" queue);
# --keys only the keystroke rows.
# Expects a display, WINEPREFIX and a running wineserver.
set -euo pipefail

smoke=0
runs=3
growth=0
profile=0
only=""
baseline_exe=""
baseline_name=""
while [ $# -gt 0 ]; do
  case "$1" in
    --smoke) smoke=1; runs=1 ;;
    --runs) runs="$2"; shift ;;
    --growth) growth=1 ;;
    --profile) profile="$2"; shift ;;
    --replace) only=replace ;;
    --print) only=print ;;
    --keys) only=keys ;;
    --baseline-exe) baseline_exe="$2"; shift ;;
    --baseline-name) baseline_name="$2"; shift ;;
    *) break ;;
  esac
  shift
done
[ $# -eq 3 ] || { echo "usage: run_bench.sh [--smoke] [--runs N] [--growth] [--profile MB] [--replace] [--print] [--keys] [--baseline-exe old.exe [--baseline-name TEXT]] scrivlet.exe bench_driver.exe bare_richedit.exe" >&2; exit 2; }
scrivlet_exe="$1"
driver_exe="$2"
bare_exe="$3"

work="$(mktemp -d /tmp/scrivlet-bench.XXXXXX)"
trap 'rm -rf "$work"' EXIT
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Private copies with their own INI: one with the default word wrap, one without.
private_copies() { # exe folder
  mkdir -p "$2/wrap" "$2/nowrap"
  cp "$1" "$2/wrap/scrivlet.exe"
  cp "$1" "$2/nowrap/scrivlet.exe"
  : > "$2/wrap/scrivlet.ini"
  printf '[Config]\r\nWordWrap=0\r\n' > "$2/nowrap/scrivlet.ini"
}
private_copies "$scrivlet_exe" "$work"
# The scrivlets measured: this one, and the earlier one beside it, whose run
# comes first in each round.
scrivlets=(scrivlet)
if [ -n "$baseline_exe" ]; then
  private_copies "$baseline_exe" "$work/old"
  scrivlets=(old scrivlet)
fi
cp "$bare_exe" "$work/bare_richedit.exe"
driver() { wine "$driver_exe" "$@" 2>>"$work/driver.err" </dev/null; }

# Longest wait for one start of a program.
export BENCH_TIMEOUT_S="${BENCH_TIMEOUT_S:-120}"
if [ $smoke -eq 1 ]; then
  mb=16384; matches=500; keystrokes=3
  sizes_ansi10=65536; size_utf16=32768; short_lines=2000; long_bytes=16384
else
  mb=1048576; matches=100000; keystrokes=20
  sizes_ansi10=$((10 * mb)); size_utf16=$((10 * mb)); short_lines=1000000; long_bytes=$((5 * mb))
fi

declare -A length label
if [ "$profile" != 0 ]; then
  # Copied beside its own empty INI, so the editor it builds starts from the defaults.
  cp "$(dirname "$driver_exe")/load_profile.exe" "$work/wrap/"
  driver generate "$(winpath "$work/profile.txt")" ansi $((profile * 1048576)) 0 > /dev/null
  echo "load profile, $profile MB of 80-character CR LF lines, $runs run(s) each, a fresh process per run"
  echo "load before: $(uptime)"
  profiler="$work/wrap/load_profile.exe"
  wine "$profiler" list > "$work/profile.out" 2>>"$work/driver.err" </dev/null
  experiments="$(tr -d '\r' < "$work/profile.out")"
  # PROFILE_ONLY="0 8" runs just those experiments.
  for ((e = 0; e < experiments; e++)); do
    [ -z "${PROFILE_ONLY:-}" ] || [[ " $PROFILE_ONLY " == *" $e "* ]] || continue
    for ((i = 0; i < runs; i++)); do
      status=0
      timeout 300 wine "$profiler" "$(winpath "$work/profile.txt")" "$e" > "$work/profile.out" 2>>"$work/driver.err" </dev/null || status=$?
      [ $status -eq 0 ] || echo "experiment $e: ended with status $status (124: stopped after 300 s)" >> "$work/profile.out"
      tr -d '\r' < "$work/profile.out"
    done
  done
  echo "load after: $(uptime)"
  exit 0
fi
gen() { # name kind amount [tokens]
  local name="$1"; shift
  driver generate "$(winpath "$work/$name.txt")" "$@" > "$work/gen.out"
  length[$name]="$(sed -n 's/^length=\([0-9]*\).*/\1/p' "$work/gen.out")"
  [ -n "${length[$name]}" ] || { echo "could not generate $name" >&2; exit 1; }
}
gen ansi10 ansi "$sizes_ansi10" "$matches";   label[ansi10]="10 MB ANSI CR LF"
if [ -z "$only" ]; then
  gen ansi1 ansi "$mb" 0;                     label[ansi1]="1 MB ANSI CR LF"
  gen utf16 utf16 "$size_utf16";              label[utf16]="10 MB UTF-16 with mark"
  gen short short "$short_lines";             label[short]="1,000,000 short lines"
  gen long long "$long_bytes";                label[long]="one 5 MB line, no word wrap"
fi
files=(ansi1 ansi10 utf16 short long)

median() {
  printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {if (NR == 0) print "na"; else if (NR % 2) print a[(NR+1)/2]; else printf "%.1f\n", (a[NR/2]+a[NR/2+1])/2}'
}
# Wine's C runtime ends lines with CR LF.
field() { tr -d '\r' < "$2" | sed -n "s/.*$1=\([^ ]*\).*/\1/p"; }

# Command line of a program opening a file (or nothing).
command_for() { # program file-or-empty [nowrap]
  local file="" mode="${3:-wrap}"
  [ -n "$2" ] && file="$(winpath "$work/$2.txt")"
  case "$1" in
    scrivlet) echo "$(winpath "$work/$mode/scrivlet.exe") $file" ;;
    old) echo "$(winpath "$work/old/$mode/scrivlet.exe") $file" ;;
    notepad) echo "notepad.exe $file" ;;
    bare)
      local extra=""
      [ "$mode" = nowrap ] && extra="--nowrap"
      [ -n "$2" ] && extra="$extra --report $(winpath "$work/report.txt")"
      echo "$(winpath "$work/bare_richedit.exe") $extra $file" ;;
  esac
}

# Median times of launches of each program, run $runs times in turn (one of
# each, then the next round), so a drift of the machine hits them alike:
# sets R_READY[p] R_FIRST[p] R_MEM[p] R_STREAM[p], each ">120s", ">4GB" or
# "fail" when the program did not get ready (fatal in the smoke run).
declare -A R_READY R_FIRST R_MEM R_STREAM
measure() { # file-or-empty length wrap|nowrap program...
  local file="$1" len="$2" mode="$3" i p outcome
  shift 3
  local -A ready=() first=() mem=() stream=() failed=()
  for ((i = 0; i < runs; i++)); do
    for p in "$@"; do
      [ -z "${failed[$p]:-}" ] || continue
      rm -f "$work/report.txt"
      outcome=0
      # shellcheck disable=SC2046
      driver launch "$len" $(command_for "$p" "$file" "$mode") > "$work/launch.out" || outcome=$?
      if [ $outcome -ne 0 ]; then
        echo "$p did not load ${file:-its empty window}: $(tail -n 1 "$work/driver.err")" >&2
        [ $smoke -eq 1 ] && { echo "FAIL" >&2; exit 1; }
        case $outcome in
          3) failed[$p]=">${BENCH_TIMEOUT_S}s" ;;
          4) failed[$p]=">4GB" ;;
          *) failed[$p]=fail ;;
        esac
        continue
      fi
      ready[$p]+=" $(field ready_ms "$work/launch.out")"
      first[$p]+=" $(field first_ms "$work/launch.out")"
      mem[$p]+=" $(field peak_private_kb "$work/launch.out")"
      [ -f "$work/report.txt" ] && stream[$p]+=" $(field stream_ms "$work/report.txt")"
    done
  done
  for p in "$@"; do
    if [ -n "${failed[$p]:-}" ]; then
      R_READY[$p]="${failed[$p]}"; R_FIRST[$p]="${failed[$p]}"; R_MEM[$p]="${failed[$p]}"; R_STREAM[$p]="${failed[$p]}"
      continue
    fi
    # shellcheck disable=SC2086
    R_READY[$p]="$(median ${ready[$p]})"; R_FIRST[$p]="$(median ${first[$p]})"
    # shellcheck disable=SC2086
    R_MEM[$p]="$(median ${mem[$p]})"; R_STREAM[$p]="$(median ${stream[$p]:-})"
    echo "  $p ${file:-(empty)} $mode: ready ${R_READY[$p]} first ${R_FIRST[$p]} peak ${R_MEM[$p]} KB stream ${R_STREAM[$p]}" >&2
  done
}

# The first start of a program pays for loading its libraries from disk.
warm_up() { driver launch 0 $(command_for "$1" "" "${2:-wrap}") > /dev/null || true; }

minus() { awk -v a="$1" -v b="$2" 'BEGIN {if (a !~ /^[0-9.]+$/) print a; else if (b !~ /^[0-9.]+$/) print b; else printf "%.0f", a - b}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (a !~ /^[0-9.]+$/ || b !~ /^[0-9.]+$/ || b <= 0) print "-"; else printf "%.2f", a / b}'; }

growth_table() {
  echo
  echo "Load time against size, 80-character lines (open, ms; bare stream-in in brackets)"
  echo "load before: $(uptime)"
  printf '| %-8s | %12s | %18s | %8s | %12s | %18s | %8s |\n' "size" "scrivlet wrap" "bare wrap" "ratio" "scrivlet nowrap" "bare nowrap" "ratio"
  printf '|%s|%s|%s|%s|%s|%s|%s|\n' "----------" "--------------" "--------------------" "----------" "--------------" "--------------------" "----------"
  local n mode s b
  declare -A startup_mode
  for mode in wrap nowrap; do
    warm_up scrivlet "$mode"; warm_up bare "$mode"
    measure "" 0 "$mode" scrivlet bare
    startup_mode[scrivlet,$mode]="${R_READY[scrivlet]}"; startup_mode[bare,$mode]="${R_READY[bare]}"
  done
  for n in 1 2 4 8; do
    gen "grow$n" ansi $((n * mb)) 0
    local cells=()
    for mode in wrap nowrap; do
      measure "grow$n" "${length[grow$n]}" "$mode" scrivlet bare
      s="$(minus "${R_READY[scrivlet]}" "${startup_mode[scrivlet,$mode]}")"
      b="$(minus "${R_READY[bare]}" "${startup_mode[bare,$mode]}")"
      cells+=("$s" "$b (${R_STREAM[bare]})" "$(ratio "$s" "$b")")
    done
    printf '| %-8s | %12s | %18s | %8s | %12s | %18s | %8s |\n' "$n MB" "${cells[@]}"
    rm -f "$work/grow$n.txt"
  done
  echo "load after: $(uptime)"
}
if [ $growth -eq 1 ]; then
  growth_table
  exit 0
fi

# Save, Find Next, Replace All and its Undo, one round of each in a session
# of each scrivlet on a copy, the scrivlets in turn, $runs rounds; the copy
# saved after the Undo must be the file byte for byte. Sets save_ms[p]
# find_ms[p] replace_ms[p] undo_ms[p] (medians, "na" when not done),
# session_peak[p] (median of the sessions' peaks), undo_exact[p].
declare -A save_ms find_ms replace_ms undo_ms session_peak undo_exact
session_rows() {
  local i p name
  local -A values=()
  for p in "${scrivlets[@]}"; do undo_exact[$p]=yes; done
  for ((i = 0; i < runs; i++)); do
    for p in "${scrivlets[@]}"; do
      cp "$work/ansi10.txt" "$work/session.txt"
      # shellcheck disable=SC2046
      driver session "${length[ansi10]}" 1 "$matches" $(command_for "$p" session) > "$work/session.out" ||
        { echo "FAIL: $p session" >&2; exit 1; }
      for name in save_ms find_ms replace_ms undo_ms peak_private_kb; do
        values[$p,$name]+=" $(field "$name" "$work/session.out")"
      done
      cmp -s "$work/ansi10.txt" "$work/session.txt" || undo_exact[$p]=no
    done
  done
  for p in "${scrivlets[@]}"; do
    save_ms[$p]="$(session_median "${values[$p,save_ms]}")"
    find_ms[$p]="$(session_median "${values[$p,find_ms]}")"
    replace_ms[$p]="$(session_median "${values[$p,replace_ms]}")"
    undo_ms[$p]="$(session_median "${values[$p,undo_ms]}")"
    session_peak[$p]="$(session_median "${values[$p,peak_private_kb]}")"
  done
}
# "na" when any round did not do the work.
session_median() { # space-separated values
  # shellcheck disable=SC2086
  if printf '%s\n' $1 | grep -qx na; then echo na; else median $1; fi
}

# One keystroke, caret at the start and at the end of the 10 MB file, in
# each scrivlet and the bare control in turn, $runs rounds of $keystrokes
# keys each; the typing is taken back and the file never saved. Sets
# key_start[p] key_end[p] (medians over every key), key_untouched[p].
declare -A key_start key_end key_untouched
keystroke_rows() {
  local i p
  local -A starts=() ends=()
  for p in "${scrivlets[@]}" bare; do key_untouched[$p]=yes; done
  for ((i = 0; i < runs; i++)); do
    for p in "${scrivlets[@]}" bare; do
      cp "$work/ansi10.txt" "$work/keys.txt"
      # shellcheck disable=SC2046
      driver keys "${length[ansi10]}" "$keystrokes" $(command_for "$p" keys) > "$work/keys.out" ||
        { echo "FAIL: keystrokes in $p: $(tail -n 1 "$work/driver.err")" >&2; exit 1; }
      starts[$p]+=" $(field start_ms "$work/keys.out" | tr , ' ')"
      ends[$p]+=" $(field end_ms "$work/keys.out" | tr , ' ')"
      cmp -s "$work/ansi10.txt" "$work/keys.txt" || key_untouched[$p]=no
    done
  done
  for p in "${scrivlets[@]}" bare; do
    key_start[$p]="$(session_median "${starts[$p]}")"
    key_end[$p]="$(session_median "${ends[$p]}")"
    echo "  $p keystroke: start ${key_start[$p]} end ${key_end[$p]}" >&2
  done
}

# Printing to a file through the program's own page layout (where the
# control lays out no pages), the editor in-process: sets print_ms[size].
declare -A print_ms print_cpu print_pages
print_sizes=(200 1024 2048)
print_rows() {
  local printer_helper size times cpu i
  printer_helper="$(dirname "$0")/../print/pdf_printer.sh"
  . "$printer_helper"
  # The smoke run leaves the print system alone.
  if [ $smoke -eq 1 ] || ! start_pdf_printer >/dev/null 2>&1; then
    for size in "${print_sizes[@]}"; do print_ms[$size]=na; print_cpu[$size]=na; print_pages[$size]=na; done
    return 0
  fi
  cp "$(dirname "$driver_exe")/print_bench.exe" "$work/wrap/"
  for size in "${print_sizes[@]}"; do
    driver generate "$(winpath "$work/print$size.txt")" ansi $((size * 1024)) 0 > /dev/null
    times=(); cpu=()
    for ((i = 0; i < runs; i++)); do
      rm -f "$work/FILE:"
      (cd "$work" && timeout 600 wine "$work/wrap/print_bench.exe" "$(winpath "$work/print$size.txt")" PDF \
        > "$work/print.out" 2>>"$work/driver.err" </dev/null) || true
      times+=("$(field print_ms "$work/print.out")")
      cpu+=("$(field cpu_ms "$work/print.out")")
    done
    print_ms[$size]="$(median "${times[@]}")"
    print_cpu[$size]="$(median "${cpu[@]}")"
    print_pages[$size]="$(grep -c showpage "$work/FILE:" 2>/dev/null || echo na)"
    echo "  print $size KB: ${print_ms[$size]} ms, ${print_pages[$size]} pages, $(tr -d '\r' < "$work/print.out")" >&2
    rm -f "$work/FILE:" "$work/print$size.txt"
  done
  stop_pdf_printer
}
print_table() {
  local size
  for size in "${print_sizes[@]}"; do
    row "print $size KB ANSI (${print_pages[$size]} pages)" "${print_ms[$size]}" "-" "-" "-"
    row "  processor time of that print" "${print_cpu[$size]}" "-" "-" "-"
  done
  echo "print 2 MB / print 200 KB: $(ratio "${print_ms[${print_sizes[2]}]}" "${print_ms[${print_sizes[0]}]}") (at most 12);" \
    "processor time: $(ratio "${print_cpu[${print_sizes[2]}]}" "${print_cpu[${print_sizes[0]}]}")"
}
# The old column and its ratio only beside an earlier scrivlet.
row() { # label scrivlet old notepad bare
  if [ -n "$baseline_exe" ]; then
    printf '| %-40s | %10s | %10s | %10s | %10s | %8s | %8s | %8s |\n' "$1" "$2" "$3" "$4" "$5" \
      "$(ratio "$2" "$3")" "$(ratio "$2" "$4")" "$(ratio "$2" "$5")"
  else
    printf '| %-40s | %10s | %10s | %10s | %8s | %8s |\n' "$1" "$2" "$4" "$5" "$(ratio "$2" "$4")" "$(ratio "$2" "$5")"
  fi
}
table_head() {
  if [ -n "$baseline_exe" ]; then
    echo "old: scrivlet ${baseline_name:-$baseline_exe}"
    echo
    printf '| %-40s | %10s | %10s | %10s | %10s | %8s | %8s | %8s |\n' "measure" "scrivlet" "old" "notepad" "bare" \
      "s/old" "s/notepad" "s/bare"
    printf '|%s|%s|%s|%s|%s|%s|%s|%s|\n' "------------------------------------------" "------------" "------------" \
      "------------" "------------" "----------" "----------" "----------"
  else
    printf '| %-40s | %10s | %10s | %10s | %8s | %8s |\n' "measure" "scrivlet" "notepad" "bare" "s/notepad" "s/bare"
    printf '|%s|%s|%s|%s|%s|%s|\n' "------------------------------------------" "------------" "------------" "------------" \
      "----------" "----------"
  fi
}
old_value() { # array-name key: the old scrivlet's value, or "-" without one
  local -n values="$1"
  if [ -n "$baseline_exe" ]; then echo "${values[$2]}"; else echo "-"; fi
}
# A row of a measure every program has, from an array by program (and key tail).
row_of() { # label array-name key-tail
  local -n values="$2"
  local tail="${3:+,$3}"
  row "$1" "${values[scrivlet$tail]}" "$(old_value "$2" "old$tail")" "${values[notepad$tail]}" "${values[bare$tail]}"
}

replace_table() { # array of the opens of the same file, by program
  local -n opens="$1"
  local p
  row "Replace All, $matches matches" "${replace_ms[scrivlet]}" "$(old_value replace_ms old)" "-" "-"
  row "Undo of that Replace All" "${undo_ms[scrivlet]}" "$(old_value undo_ms old)" "-" "-"
  for p in "${scrivlets[@]}"; do
    echo "$([ "$p" = old ] && echo "old: ")Replace All / open: $(ratio "${replace_ms[$p]}" "${opens[$p]}");" \
      "Undo / open: $(ratio "${undo_ms[$p]}" "${opens[$p]}") (each at most 2); text after Undo byte for byte: ${undo_exact[$p]}"
  done
}
keystroke_table() {
  row "keystroke at start, ${label[ansi10]}" "${key_start[scrivlet]}" "$(old_value key_start old)" "-" "${key_start[bare]}"
  row "keystroke at end, ${label[ansi10]}" "${key_end[scrivlet]}" "$(old_value key_end old)" "-" "${key_end[bare]}"
}

if [ "$only" = keys ]; then
  echo "load before: $(uptime)"
  keystroke_rows
  echo "load after: $(uptime)"
  table_head
  keystroke_table
  exit 0
fi
if [ "$only" = replace ]; then
  echo "load before: $(uptime)"
  declare -A start_only open_ansi10
  for p in "${scrivlets[@]}"; do warm_up "$p"; done
  measure "" 0 wrap "${scrivlets[@]}"
  for p in "${scrivlets[@]}"; do start_only[$p]="${R_READY[$p]}"; done
  measure ansi10 "${length[ansi10]}" wrap "${scrivlets[@]}" bare
  for p in "${scrivlets[@]}"; do open_ansi10[$p]="$(minus "${R_READY[$p]}" "${start_only[$p]}")"; done
  session_rows
  echo "load after: $(uptime)"
  table_head
  row "open ${label[ansi10]}" "${open_ansi10[scrivlet]}" "$(old_value open_ansi10 old)" "-" "-"
  replace_table open_ansi10
  row "peak memory, open ${label[ansi10]} (KB)" "${R_MEM[scrivlet]}" "$(old_value R_MEM old)" "-" "${R_MEM[bare]}"
  row "peak memory, with Replace All and Undo" "${session_peak[scrivlet]}" "$(old_value session_peak old)" "-" "${R_MEM[bare]}"
  exit 0
fi
if [ "$only" = print ]; then
  echo "load before: $(uptime)"
  print_rows
  echo "load after: $(uptime)"
  table_head
  print_table
  exit 0
fi

load_before="$(uptime)"
programs=("${scrivlets[@]}" notepad bare)
declare -A startup empty_mem open first mem stream open_ansi10
for p in "${programs[@]}"; do warm_up "$p"; done
measure "" 0 wrap "${programs[@]}"
for p in "${programs[@]}"; do
  startup[$p]="${R_READY[$p]}"; empty_mem[$p]="${R_MEM[$p]}"
done
for f in "${files[@]}"; do
  # Wrapping one long line costs the control time and memory that grow
  # with the square of its length: the long line is opened without wrapping.
  mode=wrap
  [ "$f" = long ] && mode=nowrap
  measure "$f" "${length[$f]}" "$mode" "${programs[@]}"
  for p in "${programs[@]}"; do
    open[$p,$f]="$(minus "${R_READY[$p]}" "${startup[$p]}")"
    # From the start, start-up included: the wait the user sees.
    first[$p,$f]="${R_FIRST[$p]}"
    mem[$p,$f]="${R_MEM[$p]}"
    stream[$p,$f]="${R_STREAM[$p]}"
  done
done
for p in "${scrivlets[@]}"; do open_ansi10[$p]="${open[$p,ansi10]}"; done

session_rows
keystroke_rows
print_rows
load_after="$(uptime)"

echo
echo "Benchmark: median of $runs run(s), milliseconds unless marked; sizes$([ $smoke -eq 1 ] && echo ' (smoke: tiny inputs)')"
echo "load before: $load_before"
echo "load after:  $load_after"
echo
table_head
row_of "start-up to idle window" startup
for f in "${files[@]}"; do row_of "open ${label[$f]}" open "$f"; done
row_of "start to first screen, ${label[ansi10]}" first ansi10
row "save ${label[ansi10]}" "${save_ms[scrivlet]}" "$(old_value save_ms old)" "-" "-"
row "Find Next across ${label[ansi10]}" "${find_ms[scrivlet]}" "$(old_value find_ms old)" "-" "-"
replace_table open_ansi10
row "peak memory, with Replace All and Undo" "${session_peak[scrivlet]}" "$(old_value session_peak old)" "-" "${mem[bare,ansi10]}"
keystroke_table
print_table
row_of "peak memory, empty window (KB)" empty_mem
row_of "peak memory, ${label[ansi10]} (KB)" mem ansi10
echo
echo "Open is start-up with the file minus start-up alone (medians), to the whole text shown and the window idle;"
echo "\">${BENCH_TIMEOUT_S}s\": not ready in that time; \">4GB\": stopped for using more memory than that."
echo "A keystroke is one typed character, from the key to the text holding it and the whole window painted"
echo "($keystrokes keys a run, the caret put with Ctrl+Home or Ctrl+End; the typing is taken back, the file never saved)."
printf 'Bare control, EM_STREAMIN alone inside its process:'
for f in "${files[@]}"; do printf ' %s %s;' "${label[$f]}" "${stream[bare,$f]}"; done
echo

if [ $smoke -eq 1 ]; then
  # Every time that the program already supports must have come out as a number.
  number() { [[ "$2" =~ ^-?[0-9]+(\.[0-9]+)?$ ]] || { echo "FAIL: $1 is [$2]" >&2; exit 1; }; }
  for p in "${programs[@]}"; do
    number "start-up of $p" "${startup[$p]}"
    number "memory of $p" "${mem[$p,ansi10]}"
    for f in "${files[@]}"; do number "open of $f by $p" "${open[$p,$f]}"; done
  done
  number "bare stream-in" "${stream[bare,ansi10]}"
  for p in "${scrivlets[@]}"; do
    number "save by $p" "${save_ms[$p]}"
    [ "${find_ms[$p]}" = na ] || number "Find Next by $p" "${find_ms[$p]}"
    [ "${replace_ms[$p]}" = na ] || number "Replace All by $p" "${replace_ms[$p]}"
    [ "${undo_ms[$p]}" = na ] || number "Undo of Replace All by $p" "${undo_ms[$p]}"
  done
  for p in "${scrivlets[@]}" bare; do
    number "keystroke at the start in $p" "${key_start[$p]}"
    number "keystroke at the end in $p" "${key_end[$p]}"
    [ "${key_untouched[$p]}" = yes ] || { echo "FAIL: the file typed into in $p changed" >&2; exit 1; }
  done
  echo "PASS"
fi
