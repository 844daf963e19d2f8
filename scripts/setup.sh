#!/usr/bin/env bash
# Installs the build and test dependencies on a fresh Debian 12 machine (run as root).
# Usage: scripts/setup.sh [--program]
#   --program  only what building and starting the 64-bit program needs
#              (scripts/run.sh); without it, everything the tests, the 32-bit
#              build and the release packages need as well.
# Both fetch the character-set detector's source into build/deps, which the
# build compiles for each architecture.
# Safe to run again: packages already present are skipped by apt, a fetched
# source is kept.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

program_packages=(
  cmake make
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64
  xvfb xauth imagemagick
  fonts-wqy-microhei
  # Fetching the detector's source.
  python3 dpkg-dev
)
packages=(
  "${program_packages[@]}"
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  googletest
  nsis zip unzip
  xdotool x11-utils
  cups-daemon cups-client printer-driver-cups-pdf poppler-utils
  locales
  # The message catalogues the detector's accuracy test reads (beside those
  # of essential packages).
  apt libc-l10n
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

# The detector's source comes from the distribution's own source package.
# Its deb-src entries repeat the machine's Debian entries (same addresses,
# suites and components), so no address is written here.
deps="$root/build/deps"
src_list=/etc/apt/sources.list.d/scrivlet-deb-src.sources

# deb822 stanzas for the deb-src twins of the entries whose suites are this
# release's (codename or codename-*), from both list formats.
derived_src_entries() {
  local codename
  codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
  python3 - "$codename" "$src_list" <<'PY'
import glob, re, sys
codename, own = sys.argv[1], sys.argv[2]
def ours(suite):
    return suite == codename or suite.startswith(codename + "-")
stanzas = []
for path in sorted(glob.glob("/etc/apt/sources.list.d/*.sources")):
    if path == own:
        continue
    for block in re.split(r"\n\s*\n", open(path).read()):
        fields, key = {}, None
        for line in block.splitlines():
            if line.startswith("#"):
                continue
            if line[:1].isspace() and key:  # a value going on, as an embedded key
                fields[key] += "\n" + line
            elif ":" in line:
                key, value = line.split(":", 1)
                key = key.strip().lower()
                fields[key] = value.strip()
        if "deb" not in fields.get("types", "").split() or fields.get("enabled", "yes") == "no":
            continue
        suites = [s for s in fields.get("suites", "").split() if ours(s)]
        if suites and fields.get("uris"):
            stanzas.append((fields["uris"], suites, fields.get("components", "main"), fields.get("signed-by")))
for path in ["/etc/apt/sources.list"] + sorted(glob.glob("/etc/apt/sources.list.d/*.list")):
    try:
        lines = open(path).read().splitlines()
    except OSError:
        continue
    for line in lines:
        line = line.split("#", 1)[0]
        options = re.search(r"\[([^]]*)\]", line)
        signed = re.search(r"signed-by=(\S+)", options.group(1)) if options else None
        words = re.sub(r"\[[^]]*\]", " ", line).split()
        if len(words) >= 3 and words[0] == "deb" and ours(words[2]):
            stanzas.append((words[1], [words[2]], " ".join(words[3:]) or "main",
                            signed.group(1) if signed else None))
for uris, suites, components, signed in stanzas:
    print("Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s" % (uris, " ".join(suites), components))
    if signed:
        print("Signed-By: %s" % signed)
    print()
PY
}

fetch_detector_source() {
  if compgen -G "$deps/uchardet-*/src/uchardet.h" >/dev/null; then
    return 0
  fi
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup.sh: the detector's source is missing in $deps; run as root" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  if ! apt-cache showsrc uchardet 2>/dev/null | grep -q '^Package: uchardet'; then
    local entries
    entries="$(derived_src_entries)"
    [ -n "$entries" ] || { echo "setup.sh: no Debian entry in the apt sources to derive deb-src from" >&2; exit 1; }
    printf '%s\n' "$entries" > "$src_list"
    apt-get update
  fi
  local work="$deps/fetch"
  rm -rf "$work"
  mkdir -p "$work"
  (cd "$work" && apt-get source uchardet)
  local tree
  tree="$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'uchardet-*' | head -n 1)"
  [ -n "$tree" ] && [ -f "$tree/src/uchardet.h" ] ||
    { echo "setup.sh: apt-get source uchardet unpacked no source tree" >&2; exit 1; }
  mv "$tree" "$deps/"
  rm -rf "$work"
}
fetch_detector_source
echo "setup.sh: all dependencies present"
