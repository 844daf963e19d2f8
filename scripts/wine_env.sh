# Sourced by the build and test scripts: a private Wine prefix inside the
# build tree, created once, with a CJK font linked to Wine's UI fonts.
# Expects BUILD_DIR to be set.

# Wine takes only an absolute prefix; a BUILD_DIR given relative still works.
BUILD_DIR="$(realpath -m "$BUILD_DIR")"
export WINEPREFIX="${BUILD_DIR}/wineprefix"
export WINEARCH=win64
# No Mono or Gecko prompt that would wait for a network that is not there.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"

link_cjk_font() {
  local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  local font='wqy-microhei.ttc,WenQuanYi Micro Hei'
  wine reg add "$key" /v "Tahoma" /t REG_MULTI_SZ /d "$font" /f >/dev/null 2>&1
  wine reg add "$key" /v "MS Shell Dlg" /t REG_MULTI_SZ /d "$font" /f >/dev/null 2>&1
  wine reg add "$key" /v "Microsoft Sans Serif" /t REG_MULTI_SZ /d "$font" /f >/dev/null 2>&1
}

prepare_wine_prefix() {
  if [ -f "$WINEPREFIX/.scrivlet-ready-2" ]; then
    # A run under another ANSI code page (LC_ALL=zh_TW.UTF-8) makes Wine
    # rewrite the links of its UI fonts; put the CJK font back.
    if ! grep -q '^"Tahoma"=str(7):"wqy-microhei' "$WINEPREFIX/system.reg"; then
      link_cjk_font
      wineserver -w
    fi
    return 0
  fi
  echo "Creating Wine prefix in $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  link_cjk_font
  # No window manager runs here: unmanaged windows spare every show and hide
  # a wait for a window-manager answer that never comes (seconds per test).
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.scrivlet-ready-2"
}

# One persistent server for the whole run: each Wine start is then cheaper.
# Start it, and Wine's background services, with their output detached:
# a daemon holding ctest's output pipe would make ctest wait until its timeout.
start_wine_session() {
  wineserver -p >/dev/null 2>&1 </dev/null
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

# Installs what is missing, builds the 64-bit program, and runs the calling
# script again, with --inside-display before its arguments, inside a virtual
# display of the given size (as 1280x1024x24). Does not return.
rerun_in_virtual_display() {
  local screen="$1" script="$2"
  shift 2
  local scripts
  scripts="$(dirname "${BASH_SOURCE[0]}")"
  bash "$scripts/setup.sh"
  bash "$scripts/build.sh" x86_64
  exec xvfb-run -a -s "-screen 0 $screen" bash "$script" --inside-display "$@"
}

# Runs a command in the prefix with one persistent server, which is stopped
# after it; returns the command's status.
run_in_wine_session() {
  prepare_wine_prefix
  start_wine_session
  local status=0
  "$@" || status=$?
  wineserver -k || true
  return $status
}
