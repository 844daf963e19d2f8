#!/usr/bin/env bash
# The benchmark proper; scripts/bench.sh prepares the display and Wine and
# calls it, and the test run calls it with --smoke (tiny inputs, one run,
# checks that every measurement came out).
#   run_bench.sh [--smoke] [--runs N] [--growth] [--profile MB] [--replace] [--print] scrivlet.exe bench_driver.exe bare_richedit.exe
# --growth runs only the load time against size; --profile only
# tests/bench/load_profile.cpp on a file of MB megabytes; --replace only the
# open of the 10 MB file beside Replace All and its Undo; --print only the
# printing of 200 KB, 1 MB and 2 MB (to a file, through a CUPS "PDF" queue).
# Expects a display, WINEPREFIX and a running wineserver.
set -euo pipefail

smoke=0
runs=3
growth=0
profile=0
only=""
while [ $# -gt 0 ]; do
  case "$1" in
    --smoke) smoke=1; runs=1 ;;
    --runs) runs="$2"; shift ;;
    --growth) growth=1 ;;
    --profile) profile="$2"; shift ;;
    --replace) only=replace ;;
    --print) only=print ;;
    *) break ;;
  esac
  shift
done
[ $# -eq 3 ] || { echo "usage: run_bench.sh [--smoke] [--runs N] [--growth] [--profile MB] [--replace] [--print] scrivlet.exe bench_driver.exe bare_richedit.exe" >&2; exit 2; }
scrivlet_exe="$1"
driver_exe="$2"
bare_exe="$3"

work="$(mktemp -d /tmp/scrivlet-bench.XXXXXX)"
trap 'rm -rf "$work"' EXIT
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Private copies with their own INI: one with the default word wrap, one without.
mkdir -p "$work/wrap" "$work/nowrap"
cp "$scrivlet_exe" "$work/wrap/scrivlet.exe"
cp "$scrivlet_exe" "$work/nowrap/scrivlet.exe"
: > "$work/wrap/scrivlet.ini"
printf '[Config]\r\nWordWrap=0\r\n' > "$work/nowrap/scrivlet.ini"
cp "$bare_exe" "$work/bare_richedit.exe"
driver() { wine "$driver_exe" "$@" 2>>"$work/driver.err" </dev/null; }

# Longest wait for one start of a program.
export BENCH_TIMEOUT_S="${BENCH_TIMEOUT_S:-120}"
if [ $smoke -eq 1 ]; then
  mb=16384; matches=500
  sizes_ansi10=65536; size_utf16=32768; short_lines=2000; long_bytes=16384
else
  mb=1048576; matches=100000
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
    notepad) echo "notepad.exe $file" ;;
    bare)
      local extra=""
      [ "$mode" = nowrap ] && extra="--nowrap"
      [ -n "$2" ] && extra="$extra --report $(winpath "$work/report.txt")"
      echo "$(winpath "$work/bare_richedit.exe") $extra $file" ;;
  esac
}

# Median times of a launch, run $runs times: sets R_READY R_FIRST R_MEM R_STREAM,
# each "fail" when the program did not get ready (fatal in the smoke run).
measure() { # program file-or-empty length [nowrap]
  local ready=() first=() mem=() stream=() i
  for ((i = 0; i < runs; i++)); do
    rm -f "$work/report.txt"
    # shellcheck disable=SC2046
    local outcome=0
    driver launch "$3" $(command_for "$1" "$2" "${4:-wrap}") > "$work/launch.out" || outcome=$?
    if [ $outcome -ne 0 ]; then
      echo "$1 did not load ${2:-its empty window}: $(tail -n 1 "$work/driver.err")" >&2
      [ $smoke -eq 1 ] && { echo "FAIL" >&2; exit 1; }
      case $outcome in
        3) R_READY=">${BENCH_TIMEOUT_S}s" ;;
        4) R_READY=">4GB" ;;
        *) R_READY=fail ;;
      esac
      R_FIRST="$R_READY"; R_MEM="$R_READY"; R_STREAM="$R_READY"
      return 0
    fi
    ready+=("$(field ready_ms "$work/launch.out")")
    first+=("$(field first_ms "$work/launch.out")")
    mem+=("$(field peak_private_kb "$work/launch.out")")
    [ -f "$work/report.txt" ] && stream+=("$(field stream_ms "$work/report.txt")")
  done
  R_READY="$(median "${ready[@]}")"
  R_FIRST="$(median "${first[@]}")"
  R_MEM="$(median "${mem[@]}")"
  R_STREAM="$(median "${stream[@]+"${stream[@]}"}")"
  echo "  $1 ${2:-(empty)} ${4:-wrap}: ready $R_READY first $R_FIRST peak $R_MEM KB stream $R_STREAM" >&2
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
    measure scrivlet "" 0 "$mode"; startup_mode[scrivlet,$mode]="$R_READY"
    measure bare "" 0 "$mode"; startup_mode[bare,$mode]="$R_READY"
  done
  for n in 1 2 4 8; do
    gen "grow$n" ansi $((n * mb)) 0
    local cells=()
    for mode in wrap nowrap; do
      measure scrivlet "grow$n" "${length[grow$n]}" "$mode"; s="$(minus "$R_READY" "${startup_mode[scrivlet,$mode]}")"
      measure bare "grow$n" "${length[grow$n]}" "$mode"; b="$(minus "$R_READY" "${startup_mode[bare,$mode]}")"
      cells+=("$s" "$b ($R_STREAM)" "$(ratio "$s" "$b")")
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

# Save, Find Next, Replace All and its Undo inside one scrivlet session on a
# copy; the copy saved after the last Undo must be the file byte for byte.
session_rows() {
  cp "$work/ansi10.txt" "$work/session.txt"
  driver session "${length[ansi10]}" "$runs" "$matches" "$(winpath "$work/wrap/scrivlet.exe")" \
    "$(winpath "$work/session.txt")" > "$work/session.out" || { echo "FAIL: scrivlet session" >&2; exit 1; }
  save_ms="$(session_median save_ms)"
  find_ms="$(session_median find_ms)"
  replace_ms="$(session_median replace_ms)"
  undo_ms="$(session_median undo_ms)"
  session_peak="$(field peak_private_kb "$work/session.out")"
  undo_exact="no"
  cmp -s "$work/ansi10.txt" "$work/session.txt" && undo_exact="yes"
}
session_median() { local values; IFS=, read -r -a values <<< "$(field "$1" "$work/session.out")"
  if printf '%s\n' "${values[@]}" | grep -qx na; then echo na; else median "${values[@]}"; fi; }

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
    row "print $size KB ANSI (${print_pages[$size]} pages)" "${print_ms[$size]}" "-" "-"
    row "  processor time of that print" "${print_cpu[$size]}" "-" "-"
  done
  echo "print 2 MB / print 200 KB: $(ratio "${print_ms[${print_sizes[2]}]}" "${print_ms[${print_sizes[0]}]}") (at most 12);" \
    "processor time: $(ratio "${print_cpu[${print_sizes[2]}]}" "${print_cpu[${print_sizes[0]}]}")"
}
row() { # label scrivlet notepad bare
  printf '| %-36s | %10s | %10s | %10s | %8s | %8s |\n' "$1" "$2" "$3" "$4" "$(ratio "$2" "$3")" "$(ratio "$2" "$4")"
}
table_head() {
  printf '| %-36s | %10s | %10s | %10s | %8s | %8s |\n' "measure" "scrivlet" "notepad" "bare" "s/notepad" "s/bare"
  printf '|%s|%s|%s|%s|%s|%s|\n' "--------------------------------------" "------------" "------------" "------------" "----------" "----------"
}
replace_table() { # open of the same file
  row "Replace All, $matches matches" "$replace_ms" "-" "-"
  row "Undo of that Replace All" "$undo_ms" "-" "-"
  echo "Replace All / open: $(ratio "$replace_ms" "$1"); Undo / open: $(ratio "$undo_ms" "$1") (each at most 2); text after Undo byte for byte: $undo_exact"
}

if [ "$only" = replace ]; then
  echo "load before: $(uptime)"
  warm_up scrivlet
  measure scrivlet "" 0; start_only="$R_READY"
  measure scrivlet ansi10 "${length[ansi10]}"; open_ansi10="$(minus "$R_READY" "$start_only")"
  open_peak="$R_MEM"
  measure bare ansi10 "${length[ansi10]}"; bare_peak="$R_MEM"
  session_rows
  echo "load after: $(uptime)"
  table_head
  row "open ${label[ansi10]}" "$open_ansi10" "-" "-"
  replace_table "$open_ansi10"
  row "peak memory, open ${label[ansi10]} (KB)" "$open_peak" "-" "$bare_peak"
  row "peak memory, with Replace All and Undo" "$session_peak" "-" "$bare_peak"
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
programs=(scrivlet notepad bare)
declare -A startup empty_mem open first mem stream
for p in "${programs[@]}"; do
  warm_up "$p"
  measure "$p" "" 0
  startup[$p]="$R_READY"; empty_mem[$p]="$R_MEM"
done
for f in "${files[@]}"; do
  for p in "${programs[@]}"; do
    # Wrapping one long line costs the control time and memory that grow
    # with the square of its length: the long line is opened without wrapping.
    mode=wrap
    [ "$f" = long ] && mode=nowrap
    measure "$p" "$f" "${length[$f]}" "$mode"
    open[$p,$f]="$(minus "$R_READY" "${startup[$p]}")"
    # From the start, start-up included: the wait the user sees.
    first[$p,$f]="$R_FIRST"
    mem[$p,$f]="$R_MEM"
    stream[$p,$f]="$R_STREAM"
  done
done

session_rows
print_rows
load_after="$(uptime)"

echo
echo "Benchmark: median of $runs run(s), milliseconds unless marked; sizes$([ $smoke -eq 1 ] && echo ' (smoke: tiny inputs)')"
echo "load before: $load_before"
echo "load after:  $load_after"
echo
table_head
row "start-up to idle window" "${startup[scrivlet]}" "${startup[notepad]}" "${startup[bare]}"
for f in "${files[@]}"; do
  row "open ${label[$f]}" "${open[scrivlet,$f]}" "${open[notepad,$f]}" "${open[bare,$f]}"
done
row "start to first screen, ${label[ansi10]}" "${first[scrivlet,ansi10]}" "${first[notepad,ansi10]}" "${first[bare,ansi10]}"
row "save ${label[ansi10]}" "$save_ms" "-" "-"
row "Find Next across ${label[ansi10]}" "$find_ms" "-" "-"
replace_table "${open[scrivlet,ansi10]}"
row "peak memory, with Replace All and Undo" "$session_peak" "-" "${mem[bare,ansi10]}"
print_table
row "peak memory, empty window (KB)" "${empty_mem[scrivlet]}" "${empty_mem[notepad]}" "${empty_mem[bare]}"
row "peak memory, ${label[ansi10]} (KB)" "${mem[scrivlet,ansi10]}" "${mem[notepad,ansi10]}" "${mem[bare,ansi10]}"
echo
echo "Open is start-up with the file minus start-up alone (medians), to the whole text shown and the window idle;"
echo "\">${BENCH_TIMEOUT_S}s\": not ready in that time; \">4GB\": stopped for using more memory than that."
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
  number "save" "$save_ms"
  [ "$find_ms" = na ] || number "Find Next" "$find_ms"
  [ "$replace_ms" = na ] || number "Replace All" "$replace_ms"
  [ "$undo_ms" = na ] || number "Undo of Replace All" "$undo_ms"
  echo "PASS"
fi
