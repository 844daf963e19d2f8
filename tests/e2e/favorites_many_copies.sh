#!/usr/bin/env bash
# Five running copies share one INI file. Each adds and removes the favorite
# of its own file through the real commands, in a random but seeded order,
# while some copies close at random moments. Afterwards the INI file must be
# well formed, hold exactly the favorites left added, and every copy still
# running must list them, in the file's order, in its Favorites menu.
# SCRIVLET_E2E_SEED=<n> repeats a run.
. "$(dirname "$0")/e2e_common.sh"

COPIES=5
ROUNDS=4
STEPS=20
IDM_EXIT=522
IDM_FAV_ADD=800
IDM_FAV_REMOVE=801
SEED="${SCRIVLET_E2E_SEED:-$(($(date +%s%N) / 1000 % 1000000))}"
echo "seed: $SEED"
RANDOM=$SEED
INI="$E2E_DIR/scrivlet.ini"

declare -a PIDS WINDOWS LIVE ADDED WINPATH
kill_copies() { for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done; }
trap 'kill_copies; cleanup' EXIT

for i in $(seq 1 $COPIES); do
  printf 'file %s\r\n' "$i" > "$E2E_DIR/f$i.txt"
  WINPATH[i]="$(winepath -w "$E2E_DIR/f$i.txt" 2>/dev/null)"
done

# Every line a section header, key=value or blank; no key before the first
# section, no section or key twice. Prints what is wrong.
ini_well_formed() {
  ini_text "$INI" | awk '
    /^\[[^]=]+\]$/ { section = $0; if (seen[section]++) { print "section twice: " $0; bad = 1 }; next }
    /^$/ { next }
    /^[^[=][^=]*=/ {
      key = substr($0, 1, index($0, "=") - 1)
      if (section == "") { print "key outside a section: " $0; bad = 1 }
      else if (keys[section, key]++) { print "key twice in " section ": " $0; bad = 1 }
      next
    }
    { print "malformed line " NR ": " $0; bad = 1 }
    END { exit bad }'
}

# The favorites as a copy reads them at start: FILE1, FILE2, ... up to the
# first one that is missing or blank.
ini_favorites() {
  local n=1 value
  while value="$(ini_value Favorites "FILE$n")" && [ -n "$value" ]; do
    echo "$value"
    n=$((n + 1))
  done
}

expected_menu() {
  local n=0 path
  while IFS= read -r path; do
    [ $n -eq 0 ] && echo "-"
    if [ $n -le 8 ]; then echo "$((802 + n)) &$((n + 1)) $path"; else echo "$((802 + n))   $path"; fi
    n=$((n + 1))
  done
}

# The Favorites menu of one copy, after its fixed Add and Remove items;
# fails when the menu could not be read or does not start with them.
favorites_menu() {
  local items
  items="$(probe favorites "${WINDOWS[$1]}")" || return 1
  [ "$(head -2 <<<"$items" | cut -d' ' -f1 | tr '\n' ' ')" = "$IDM_FAV_ADD $IDM_FAV_REMOVE " ] || return 1
  tail -n +3 <<<"$items"
}

expected_set() {
  for i in $(seq 1 $COPIES); do
    if [ "${ADDED[i]}" = 1 ]; then echo "${WINPATH[i]}"; fi
  done | sort
}

# Everything agrees: the file, what the driver left added, every live menu.
# Leaves the reason in PROBLEM.
consistent() {
  PROBLEM="$(ini_well_formed)" || { PROBLEM="INI file not well formed: $PROBLEM"; return 1; }
  local list
  list="$(ini_favorites)"
  if [ "$(sort <<<"$list" | sed '/^$/d')" != "$(expected_set)" ]; then
    PROBLEM="INI favorites [$list], expected the set [$(expected_set)]"
    return 1
  fi
  local want
  want="$(expected_menu <<<"$list" | sed '/^$/d')"
  [ -n "$list" ] || want=""
  for i in $(seq 1 $COPIES); do
    [ "${LIVE[i]}" = 1 ] || continue
    local menu
    menu="$(favorites_menu "$i")" || { PROBLEM="copy $i: no Favorites menu could be read"; return 1; }
    if [ "$menu" != "$want" ]; then
      PROBLEM="copy $i menu [$menu] differs from the INI file's favorites [$want]"
      return 1
    fi
  done
}

# Rechecks for a few seconds: a change a copy was slow to take may still land.
expect_consistent() {
  local deadline=$((SECONDS + 10))
  until consistent; do
    if [ $SECONDS -ge $deadline ]; then
      echo "--- INI file:" >&2
      cat -A "$INI" >&2
      for i in $(seq 1 $COPIES); do
        [ "${LIVE[i]}" = 1 ] || continue
        echo "--- menu of copy $i:" >&2
        favorites_menu "$i" >&2 || true
      done
      fail "$1: $PROBLEM"
    fi
    sleep 0.5
  done
  echo "ok: $1"
}

wait_exited() {
  local limit=$((SECONDS + 30))
  while kill -0 "$1" 2>/dev/null; do
    [ $SECONDS -lt $limit ] || fail "a copy did not end after Exit"
    sleep 0.2
  done
}

start_copies() {
  for i in $(seq 1 $COPIES); do
    (cd "$E2E_DIR" && exec wine ./scrivlet.exe "f$i.txt" >/dev/null 2>&1 </dev/null) &
    PIDS[i]=$!
  done
  local deadline=$((SECONDS + 60)) list
  for i in $(seq 1 $COPIES); do
    WINDOWS[i]=""
    until [ -n "${WINDOWS[i]}" ]; do
      [ $SECONDS -lt $deadline ] || fail "copy $i showed no window"
      sleep 0.3
      list="$(probe list)"
      WINDOWS[i]="$(sed -n "s/^\([0-9]*\) f$i\.txt - scrivlet\$/\1/p" <<<"$list" | head -1)"
    done
    LIVE[i]=1
  done
  # Each copy's own file is a favorite when the file says so.
  local list
  list="$(ini_favorites)"
  for i in $(seq 1 $COPIES); do
    if grep -qxF "${WINPATH[i]}" <<<"$list"; then ADDED[i]=1; else ADDED[i]=0; fi
  done
}

# One random copy still running.
random_live_copy() {
  local live=()
  for i in $(seq 1 $COPIES); do [ "${LIVE[i]}" = 1 ] && live+=("$i"); done
  echo "${live[RANDOM % ${#live[@]}]}"
}

for round in $(seq 1 $ROUNDS); do
  start_copies
  expect_consistent "round $round: every copy starts with the INI file's favorites"
  # One or two copies close somewhere in the middle, the rest keep changing.
  close_a=$((3 + RANDOM % (STEPS - 4)))
  close_b=$((3 + RANDOM % (STEPS - 4)))
  plan=""
  closed=()
  for step in $(seq 1 $STEPS); do
    i="$(random_live_copy)"
    if [ "$step" = "$close_a" ] || [ "$step" = "$close_b" ]; then
      id=$IDM_EXIT
      LIVE[i]=0
      closed+=("$i")
    elif [ "${ADDED[i]}" = 1 ]; then
      id=$IDM_FAV_REMOVE
      ADDED[i]=0
    else
      id=$IDM_FAV_ADD
      ADDED[i]=1
    fi
    plan+="${WINDOWS[i]} $id $((RANDOM % 80))"$'\n'
  done
  echo "round $round: $STEPS steps, copies ${closed[*]} close"
  printf '%s' "$plan" | wine "$PROBE_EXE" commands >/dev/null 2>&1 || fail "could not post the commands"
  for i in "${closed[@]}"; do wait_exited "${PIDS[i]}"; done
  expect_consistent "round $round: after the changes, the file and every menu agree"

  # The others all close at once: their exit writes must not touch the favorites.
  before="$(ini_favorites)"
  plan=""
  for i in $(seq 1 $COPIES); do
    [ "${LIVE[i]}" = 1 ] && plan+="${WINDOWS[i]} $IDM_EXIT 0"$'\n'
    LIVE[i]=0
  done
  printf '%s' "$plan" | wine "$PROBE_EXE" commands >/dev/null 2>&1 || fail "could not post Exit"
  for i in $(seq 1 $COPIES); do wait_exited "${PIDS[i]}"; done
  expect_consistent "round $round: after every copy closed, the file is whole"
  expect_equal "round $round: favorites after closing" "$before" "$(ini_favorites)"
done
echo "PASS"
