#!/usr/bin/env bash
# The release packages as a user gets them. Both architectures: the zip holds
# one folder, named scrivlet in every version, with the program, read-me and
# licences but no scrivlet.ini; the program is stripped, imports only system
# DLLs and carries its version and manifest. The 64-bit ones under Wine: the
# silent install puts the files, the Start-menu entry and the registry keys in
# place without taking over .txt, the installed program opens a file passed to
# it, the silent uninstall leaves nothing behind but the user's settings
# (those too when asked). Against a package of an earlier version: with a
# copy running, install and uninstall refuse and change nothing; the upgrade
# keeps the folder and the settings; the downgrade is refused; the other mode
# and the other architecture leave one entry. The unpacked zip's program keeps
# its scrivlet.ini beside itself, also when a newer zip is unpacked over it.
# (Wine here runs 64-bit programs only: the 32-bit installation the other-
# architecture case replaces is a 64-bit one relabelled and moved.)
. "$(dirname "$0")/e2e_common.sh"

root="$(cd "$(dirname "$0")/../.." && pwd)"
tested_build="$(cd "$(dirname "$SCRIVLET_EXE")" && pwd)"
earlier_build="$tested_build/earlier"
dist="$E2E_DIR/dist"
version="$(cat "$tested_build/scrivlet-version.txt")"
earlier_version="$(cat "$earlier_build/scrivlet-version.txt")"
[ -n "$version" ] && [ -n "$earlier_version" ] || fail "no version beside the built programs"
[ "$(printf '%s\n' "$earlier_version" "$version" | sort -V | head -n 1)" = "$earlier_version" ] &&
  [ "$earlier_version" != "$version" ] || fail "$earlier_version is not earlier than $version"
SETUP="$dist/scrivlet-$version-x86_64-setup.exe"
EARLIER_SETUP="$dist/scrivlet-$earlier_version-x86_64-setup.exe"

# --- helpers ---------------------------------------------------------------

# Output of a Windows console program through a file: no pipe for a daemon to hold.
wine_out() {
  wine "$@" > "$E2E_DIR/wine.out" 2>/dev/null </dev/null || true
  tr -d '\r' < "$E2E_DIR/wine.out"
}

# reg_value KEY [NAME]: the value's data (the default value without NAME), empty when absent.
reg_value() {
  local args=(/ve)
  [ $# -gt 1 ] && args=(/v "$2")
  wine_out reg query "$1" "${args[@]}" |
    awk -F'    ' 'NF >= 4 && $3 ~ /^REG_/ && $4 != "(value not set)" { print $4 }'
}

key_exists() { wine reg query "$1" >/dev/null 2>&1 </dev/null; }

unix_path() { wine_out winepath -u "$1"; }

APPDATA_DIR="$(unix_path "$(wine_out cmd /c echo %APPDATA% | tail -n 1)")"
ALLUSERS_DIR="$(unix_path "$(wine_out cmd /c echo %ProgramData% | tail -n 1)")"
USER_INI="$APPDATA_DIR/Tolvek/scrivlet/scrivlet.ini"
USER_SHORTCUT="$APPDATA_DIR/Microsoft/Windows/Start Menu/Programs/scrivlet.lnk"
MACHINE_SHORTCUT="$ALLUSERS_DIR/Microsoft/Windows/Start Menu/Programs/scrivlet.lnk"
[ -d "$APPDATA_DIR" ] || fail "no application-data folder: [$APPDATA_DIR]"

UNINSTALL_KEY='Software\Microsoft\Windows\CurrentVersion\Uninstall\scrivlet'
APP_PATHS_KEY='Software\Microsoft\Windows\CurrentVersion\App Paths\scrivlet.exe'
APPLICATION_KEY='Software\Classes\Applications\scrivlet.exe'

# Every key the installer writes under one root (HKCU or HKLM).
installer_keys() {
  echo "$1\\$UNINSTALL_KEY"
  echo "$1\\$APP_PATHS_KEY"
  echo "$1\\$APPLICATION_KEY"
  local ext
  for ext in .txt .log .ini; do echo "$1\\Software\\Classes\\$ext\\OpenWithList\\scrivlet.exe"; done
}

# Deletes a key that holds neither values nor subkeys (its listing is its name alone).
delete_key_if_empty() {
  key_exists "$1" || return 0
  [ "$(wine_out reg query "$1" | grep -c .)" -le 1 ] || return 0
  wine reg delete "$1" /f >/dev/null 2>&1 </dev/null || true
}

# The Wine prefix belongs to this build tree: a failed run leaves no install
# behind, through the uninstaller where it is still there, else by hand.
release_cleanup() {
  local root_key dir_win dir key ext
  for root_key in HKCU HKLM; do
    dir_win="$(reg_value "$root_key\\$UNINSTALL_KEY" InstallLocation)"
    if [ -n "$dir_win" ]; then
      dir="$(unix_path "$dir_win")"
      [ -f "$dir/uninstall.exe" ] &&
        wine "$dir/uninstall.exe" /S "_?=$dir_win" >/dev/null 2>&1 </dev/null
      rm -rf "$dir"
    fi
    while IFS= read -r key; do
      wine reg delete "$key" /f >/dev/null 2>&1 </dev/null || true
    done < <(installer_keys "$root_key")
    for ext in .txt .log .ini; do
      delete_key_if_empty "$root_key\\Software\\Classes\\$ext\\OpenWithList"
      delete_key_if_empty "$root_key\\Software\\Classes\\$ext"
    done
  done
  rm -f "$USER_SHORTCUT" "$MACHINE_SHORTCUT"
  rm -rf "$APPDATA_DIR/Tolvek"
  wine reg delete 'HKCU\Software\Classes\.txt' /f >/dev/null 2>&1 </dev/null || true
}
trap 'release_cleanup; cleanup' EXIT
release_cleanup

# A setting the program saves at exit, changed with its own key.
switch_always_on_top() {
  focus_editor >/dev/null
  xdotool key ctrl+shift+a
  sleep 0.5
}

# --- building the packages ---------------------------------------------------

# The 64-bit packages hold the program under test; the 32-bit ones a release
# build of their own (no test programs).
bash "$root/scripts/package.sh" x86_64 "$tested_build" "$dist" > "$E2E_DIR/package.log" 2>&1 ||
  { cat "$E2E_DIR/package.log"; fail "packaging x86_64"; }
bash "$root/scripts/package.sh" x86_64 "$earlier_build" "$dist" > "$E2E_DIR/package.log" 2>&1 ||
  { cat "$E2E_DIR/package.log"; fail "packaging x86_64 under the earlier version"; }
i686_build="$root/build/release-i686"
{ cmake -S "$root" -B "$i686_build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DSCRIVLET_TESTS=OFF &&
  cmake --build "$i686_build" -j"$(nproc)" &&
  bash "$root/scripts/package.sh" i686 "$i686_build" "$dist"; } > "$E2E_DIR/package.log" 2>&1 ||
  { cat "$E2E_DIR/package.log"; fail "building and packaging i686"; }

# --- structure of both architectures ----------------------------------------

SYSTEM_DLLS=" kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll shell32.dll shfolder.dll
  ole32.dll oleaut32.dll advapi32.dll msvcrt.dll winspool.drv shlwapi.dll uxtheme.dll version.dll
  imm32.dll riched20.dll msftedit.dll "

check_package() {
  local arch="$1" format="$2" build="$3"
  local zip="$dist/scrivlet-$version-$arch-portable.zip"
  [ -s "$zip" ] || fail "$arch: no $zip"
  local expected="scrivlet/ scrivlet/LICENSE-uchardet.txt scrivlet/LICENSE.txt scrivlet/scrivlet-portable.txt scrivlet/scrivlet.exe scrivlet/scrivlet.html"
  expect_equal "$arch zip contents" "$expected" "$(unzip -Z1 "$zip" | LC_ALL=C sort | xargs)"

  local unpacked="$E2E_DIR/unpacked-$arch"
  unzip -q "$zip" -d "$unpacked"
  local exe="$unpacked/scrivlet/scrivlet.exe"
  local objdump="$arch-w64-mingw32-objdump"
  expect_equal "$arch program format" "$format" \
    "$($objdump -f "$exe" | sed -n 's/.*file format //p')"
  local dll imports
  imports="$($objdump -p "$exe" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z')"
  grep -qx 'kernel32.dll' <<< "$imports" || fail "$arch: import table not read"
  for dll in $imports; do
    case "$SYSTEM_DLLS" in *" $dll "*) ;; *) fail "$arch: imports $dll, not a system DLL" ;; esac
  done
  [ -z "$($objdump -t "$exe" | sed -n '/^\[/p')" ] || fail "$arch: program not stripped"
  grep -q 'CMAKE_BUILD_TYPE:STRING=Release' "$build/CMakeCache.txt" || fail "$arch: not a release build"
  local wide
  wide="$(strings -el "$exe")"
  local text
  for text in "FileVersion" "ProductName" "Scrivlet" "FileDescription" "scrivlet text editor" "$version"; do
    grep -qxF "$text" <<< "$wide" || fail "$arch: version resource lacks [$text]"
  done
  local narrow
  narrow="$(strings "$exe")"
  grep -q 'Microsoft.Windows.Common-Controls' <<< "$narrow" || fail "$arch: manifest missing"
  grep -qF "name=\"Tolvek.Scrivlet\" version=\"$version\"" <<< "$narrow" ||
    fail "$arch: the manifest does not carry version $version"
  grep -qxF "Scrivlet $version" <<< "$wide" || fail "$arch: the About text does not read Scrivlet $version"

  local setup="$dist/scrivlet-$version-$arch-setup.exe"
  expect_equal "$arch installer format" "$format" \
    "$($objdump -f "$setup" | sed -n 's/.*file format //p')"
  grep -q 'Nullsoft' <<< "$(strings "$setup")" || fail "$arch: installer is not an NSIS installer"
}
check_package x86_64 pei-x86-64 "$tested_build"
check_package i686 pei-i386 "$i686_build"

# Under Wine every user is an administrator: this installer of the same
# files believes itself without the rights until restarted elevated.
RESTARTING_SETUP="$dist/restarting-setup.exe"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DARCH=x86_64 -DPRETEND_NOT_ADMINISTRATOR \
  -DSTAGE="$E2E_DIR/unpacked-x86_64/scrivlet" -DICON="$root/resources/scrivlet.ico" \
  -DOUTFILE="$RESTARTING_SETUP" "$root/scripts/installer/scrivlet.nsi" > "$E2E_DIR/package.log" 2>&1 ||
  { cat "$E2E_DIR/package.log"; fail "building the restarting installer"; }

# --- the installer under Wine ------------------------------------------------

# The user's own default program for .txt, which the installer must not take over.
wine reg add 'HKCU\Software\Classes\.txt' /ve /d users.choice /f >/dev/null 2>&1 </dev/null

# Default programs of the three file types, per user and per machine.
class_defaults() {
  local root_key ext
  for root_key in HKCU HKLM; do
    for ext in .txt .log .ini; do
      printf '%s=%s ' "$root_key$ext" "$(reg_value "$root_key\\Software\\Classes\\$ext")"
    done
  done
}
# Which of their keys exist.
class_keys() {
  local root_key ext
  for root_key in HKCU HKLM; do
    for ext in .txt .log .ini; do
      if key_exists "$root_key\\Software\\Classes\\$ext"; then printf '%s ' "$root_key$ext"; fi
    done
  done
}
defaults_before="$(class_defaults)"
keys_before="$(class_keys)"
case "$defaults_before" in *"HKCU.txt=users.choice "*) ;; *) fail "no user's choice for .txt: $defaults_before" ;; esac

# install_and_check <HKCU|HKLM> <shortcut> [options]: installs silently, checks what it put in place, prints the folder.
install_and_check() {
  local root_key="$1" shortcut="$2"
  shift 2
  wine "$SETUP" /S "$@" >/dev/null 2>&1 </dev/null || fail "$root_key: silent install failed"
  local dir_win dir
  dir_win="$(reg_value "$root_key\\$UNINSTALL_KEY" InstallLocation)"
  [ -n "$dir_win" ] || fail "$root_key: no uninstall entry"
  dir="$(unix_path "$dir_win")"
  local file
  for file in scrivlet.exe LICENSE.txt LICENSE-uchardet.txt uninstall.exe; do
    [ -f "$dir/$file" ] || fail "$root_key: $file not installed in $dir"
  done
  [ ! -e "$dir/scrivlet-portable.txt" ] || fail "$root_key: the portable read-me was installed"
  cmp -s "$dir/scrivlet.exe" "$tested_build/scrivlet.exe" || fail "$root_key: installed program differs"
  [ -f "$shortcut" ] || fail "$root_key: no Start-menu entry at $shortcut"

  local key="$root_key\\$UNINSTALL_KEY"
  expect_equal "$root_key DisplayVersion" "$version" "$(reg_value "$key" DisplayVersion)" >&2
  expect_equal "$root_key Publisher" "Tolvek" "$(reg_value "$key" Publisher)" >&2
  expect_equal "$root_key UninstallString" "\"$dir_win\\uninstall.exe\"" "$(reg_value "$key" UninstallString)" >&2
  local size
  size="$(reg_value "$key" EstimatedSize)"
  [ $((size * 1024)) -ge "$(stat -c %s "$dir/scrivlet.exe")" ] ||
    fail "$root_key: EstimatedSize [$size] KB below the program's size"
  expect_equal "$root_key App Paths" "$dir_win\\scrivlet.exe" "$(reg_value "$root_key\\$APP_PATHS_KEY")" >&2
  expect_equal "$root_key open command" "\"$dir_win\\scrivlet.exe\" \"%1\"" \
    "$(reg_value "$root_key\\$APPLICATION_KEY\\shell\\open\\command")" >&2
  local ext
  for ext in .txt .log .ini; do
    key_exists "$root_key\\Software\\Classes\\$ext\\OpenWithList\\scrivlet.exe" ||
      fail "$root_key: not in the Open with list of $ext"
  done
  expect_equal "default programs kept" "$defaults_before" "$(class_defaults)" >&2
  echo "$dir"
}

# uninstall_and_check <HKCU|HKLM> <folder> <shortcut> [options]: nothing the installer wrote is left.
uninstall_and_check() {
  local root_key="$1" dir="$2" shortcut="$3"
  shift 3
  # The uninstaller runs from a copy in the temporary folder; wait for it.
  wine "$dir/uninstall.exe" /S "$@" >/dev/null 2>&1 </dev/null || fail "$root_key: silent uninstall failed"
  local i
  for i in $(seq 1 100); do
    key_exists "$root_key\\$UNINSTALL_KEY" || break
    sleep 0.2
  done
  [ ! -e "$dir" ] || fail "$root_key: left behind: $(ls -A "$dir" | xargs)"
  [ ! -e "$shortcut" ] || fail "$root_key: Start-menu entry left behind"
  local key
  while IFS= read -r key; do
    ! key_exists "$key" || fail "left behind: $key"
  done < <(installer_keys "$root_key")
  expect_equal "default programs after uninstall" "$defaults_before" "$(class_defaults)"
  expect_equal "file type keys after uninstall" "$keys_before" "$(class_keys)"
}

# Per user, the default: the installed program opens a file passed to it.
installed="$(install_and_check HKCU "$USER_SHORTCUT")"
printf 'installed line\r\n' > "$E2E_DIR/notes.txt"
(cd "$E2E_DIR" && exec wine "$installed/scrivlet.exe" notes.txt >/dev/null 2>&1 </dev/null) &
EDITOR_PID=$!
probe wait 60 >/dev/null || fail "the installed program showed no window"
expect_equal "installed program title" "notes.txt - scrivlet" "$(probe title)"
expect_equal "installed program text" "installed line" "$(probe text)"
switch_always_on_top
probe close >/dev/null
wait "$EDITOR_PID" || true
EDITOR_PID=""
# Its settings, saved at exit, went to the user's application-data folder;
# the uninstaller leaves them.
[ ! -e "$installed/scrivlet.ini" ] || fail "the installed program wrote its settings into its own folder"
grep -q '^AlwaysOnTop=1' <<< "$(ini_text "$USER_INI")" || fail "the installed program saved no settings in $USER_INI"
uninstall_and_check HKCU "$installed" "$USER_SHORTCUT"
[ -f "$USER_INI" ] || fail "the uninstaller removed the user's settings unasked"

# For all users, on request; this uninstall is asked to take the settings too.
installed="$(install_and_check HKLM "$MACHINE_SHORTCUT" /AllUsers)"
! key_exists "HKCU\\$UNINSTALL_KEY" || fail "a per-machine install wrote the user's uninstall entry"
uninstall_and_check HKLM "$installed" "$MACHINE_SHORTCUT" /RemoveSettings
[ ! -e "$APPDATA_DIR/Tolvek" ] || fail "asked to, the uninstaller left the settings: $(find "$APPDATA_DIR/Tolvek" | xargs)"

# --- replacing an installation ------------------------------------------------

# run_setup <installer> [options]: runs it silently, prints its exit code.
run_setup() {
  local setup="$1" code=0
  shift
  wine "$setup" /S "$@" >/dev/null 2>&1 </dev/null || code=$?
  echo "$code"
}

# What is installed: per root, the entry's name, version, architecture and
# folder, and that folder's files with their checksums.
install_state() {
  local root_key entry dir_win dir
  for root_key in HKCU HKLM; do
    key_exists "$root_key\\$UNINSTALL_KEY" || continue
    entry="$(wine_out reg query "$root_key\\$UNINSTALL_KEY" |
      awk -F'    ' '$2 ~ /^(DisplayName|DisplayVersion|Architecture|InstallLocation)$/ { print $2 "=" $4 }' | sort)"
    echo "$root_key: $(xargs -d '\n' <<< "$entry")"
    dir_win="$(sed -n 's/^InstallLocation=//p' <<< "$entry")"
    dir="$(unix_path "$dir_win")"
    if [ -d "$dir" ]; then (cd "$dir" && md5sum -- *); fi
  done
}

# Starts an installed program and waits for its window.
start_installed() {
  (cd "$E2E_DIR" && exec wine "$1" >/dev/null 2>&1 </dev/null) &
  EDITOR_PID=$!
  probe wait 60 >/dev/null || fail "the installed program $1 showed no window"
}

close_editor() {
  probe close >/dev/null
  wait "$EDITOR_PID" || true
  EDITOR_PID=""
}

expect_still_running() {
  kill -0 "$EDITOR_PID" 2>/dev/null && probe wait 5 >/dev/null || fail "$1: the running copy ended"
}

# The earlier version, per user, running with a setting saved.
expect_equal "earlier install" 0 "$(run_setup "$EARLIER_SETUP")"
earlier_dir_win="$(reg_value "HKCU\\$UNINSTALL_KEY" InstallLocation)"
earlier_dir="$(unix_path "$earlier_dir_win")"
expect_equal "earlier DisplayVersion" "$earlier_version" "$(reg_value "HKCU\\$UNINSTALL_KEY" DisplayVersion)"
expect_equal "DisplayName" "scrivlet (64-bit)" "$(reg_value "HKCU\\$UNINSTALL_KEY" DisplayName)"
start_installed "$earlier_dir/scrivlet.exe"
switch_always_on_top
state_before="$(install_state)"

# With it running, install and uninstall refuse silently and change nothing.
expect_equal "install over a running copy" 3 "$(run_setup "$SETUP")"
expect_still_running "install"
expect_equal "state after the refused install" "$state_before" "$(install_state)"
code=0
wine "$earlier_dir/uninstall.exe" /S "_?=$earlier_dir_win" >/dev/null 2>&1 </dev/null || code=$?
expect_equal "uninstall of a running copy" 3 "$code"
expect_still_running "uninstall"
expect_equal "state after the refused uninstall" "$state_before" "$(install_state)"
# Restarted elevated, the installer passes on the other copy's answer.
expect_equal "elevated install over a running copy" 3 "$(run_setup "$RESTARTING_SETUP" /AllUsers)"
expect_equal "state after the refused elevated install" "$state_before" "$(install_state)"
close_editor
grep -q '^AlwaysOnTop=1' <<< "$(ini_text "$USER_INI")" || fail "the earlier program saved no settings"

# The upgrade: same folder, the new program, one entry, the settings kept.
expect_equal "upgrade" 0 "$(run_setup "$SETUP")"
expect_equal "upgraded DisplayVersion" "$version" "$(reg_value "HKCU\\$UNINSTALL_KEY" DisplayVersion)"
expect_equal "upgraded folder" "$earlier_dir_win" "$(reg_value "HKCU\\$UNINSTALL_KEY" InstallLocation)"
cmp -s "$earlier_dir/scrivlet.exe" "$tested_build/scrivlet.exe" || fail "the upgrade left the earlier program"
! key_exists "HKLM\\$UNINSTALL_KEY" || fail "the upgrade wrote a second entry"
grep -q '^AlwaysOnTop=1' <<< "$(ini_text "$USER_INI")" || fail "the upgrade lost the settings"

# The downgrade is refused silently.
state_before="$(install_state)"
expect_equal "silent downgrade" 4 "$(run_setup "$EARLIER_SETUP")"
expect_equal "state after the refused downgrade" "$state_before" "$(install_state)"

# For all users over the per-user installation: that one is removed. The
# restarting installer returns only when its elevated copy is done.
expect_equal "install for all users over per user" 0 "$(run_setup "$RESTARTING_SETUP" /AllUsers)"
! key_exists "HKCU\\$UNINSTALL_KEY" || fail "the per-user entry stayed beside the new one"
[ ! -e "$earlier_dir" ] || fail "the per-user folder stayed: $(ls -A "$earlier_dir" | xargs)"
[ ! -e "$USER_SHORTCUT" ] || fail "the per-user Start-menu entry stayed"
machine_dir_win="$(reg_value "HKLM\\$UNINSTALL_KEY" InstallLocation)"
machine_dir="$(unix_path "$machine_dir_win")"
cmp -s "$machine_dir/scrivlet.exe" "$tested_build/scrivlet.exe" || fail "no program for all users"
grep -q '^AlwaysOnTop=1' <<< "$(ini_text "$USER_INI")" || fail "replacing the per-user installation lost the settings"

# Over a 32-bit installation for all users: that one and its folder go, the
# 64-bit program goes to its own folder.
x86_dir_win="$(wine_out cmd /c echo '%ProgramFiles(x86)%' | tail -n 1)\\scrivlet"
x86_dir="$(unix_path "$x86_dir_win")"
mkdir -p "$(dirname "$x86_dir")"
mv "$machine_dir" "$x86_dir"
for value in "InstallLocation=$x86_dir_win" "UninstallString=\"$x86_dir_win\\uninstall.exe\"" \
             "Architecture=i686" "DisplayName=scrivlet (32-bit)"; do
  wine reg add "HKLM\\$UNINSTALL_KEY" /v "${value%%=*}" /d "${value#*=}" /f >/dev/null 2>&1 </dev/null
done
expect_equal "64-bit over 32-bit" 0 "$(run_setup "$SETUP" /AllUsers)"
[ ! -e "$x86_dir" ] || fail "the 32-bit folder stayed: $(ls -A "$x86_dir" | xargs)"
expect_equal "64-bit folder" "$machine_dir_win" "$(reg_value "HKLM\\$UNINSTALL_KEY" InstallLocation)"
expect_equal "64-bit entry" "scrivlet (64-bit) x86_64" \
  "$(reg_value "HKLM\\$UNINSTALL_KEY" DisplayName) $(reg_value "HKLM\\$UNINSTALL_KEY" Architecture)"
cmp -s "$machine_dir/scrivlet.exe" "$tested_build/scrivlet.exe" || fail "no 64-bit program in its folder"
! key_exists "HKCU\\$UNINSTALL_KEY" || fail "a second entry appeared"
uninstall_and_check HKLM "$machine_dir" "$MACHINE_SHORTCUT" /RemoveSettings

# --- the portable folder under Wine ------------------------------------------

# The earlier zip unpacked and used, then the current one unpacked over it.
portable_parent="$E2E_DIR/portable"
unzip -q "$dist/scrivlet-$earlier_version-x86_64-portable.zip" -d "$portable_parent"
portable="$portable_parent/scrivlet"
(cd "$portable" && exec wine ./scrivlet.exe >/dev/null 2>&1 </dev/null) &
EDITOR_PID=$!
probe wait 60 >/dev/null || fail "the portable program showed no window"
switch_always_on_top
close_editor
grep -q '^AlwaysOnTop=1' <<< "$(ini_text "$portable/scrivlet.ini")" ||
  fail "the portable program saved no settings beside itself"
[ ! -e "$APPDATA_DIR/Tolvek" ] || fail "the portable program used the application-data folder"
unzip -qo "$dist/scrivlet-$version-x86_64-portable.zip" -d "$portable_parent"
expect_equal "folders after unpacking the newer zip" "scrivlet" "$(ls -A "$portable_parent" | xargs)"
cmp -s "$portable/scrivlet.exe" "$tested_build/scrivlet.exe" || fail "the newer zip did not replace the program"
grep -q '^AlwaysOnTop=1' <<< "$(ini_text "$portable/scrivlet.ini")" || fail "the newer zip lost the settings"
echo "PASS"
