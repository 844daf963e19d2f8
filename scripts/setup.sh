#!/usr/bin/env bash
# Installs the build and test dependencies on a fresh Debian 12 machine (run as root).
# Usage: scripts/setup.sh [--program]
#   --program  only what building and starting the 64-bit program needs
#              (scripts/run.sh); without it, everything the tests, the 32-bit
#              build and the release packages need as well.
# Safe to run again: packages already present are skipped by apt.
set -euo pipefail

program_packages=(
  cmake make
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64
  xvfb xauth imagemagick
  fonts-wqy-microhei
)
packages=(
  "${program_packages[@]}"
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  googletest
  nsis zip unzip
  xdotool x11-utils
  cups-daemon cups-client printer-driver-cups-pdf poppler-utils
  python3
  locales
)
if [ "${1:-}" = "--program" ]; then
  packages=("${program_packages[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup.sh: missing packages (${missing[*]}); run as root" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
echo "setup.sh: all dependencies present"
