#!/usr/bin/env bash
# Packs one built scrivlet.exe for release: a portable zip that unpacks to
# one folder named scrivlet whatever the version, so that a newer zip unpacks
# over an older one (program, help page, read-me, licences; no scrivlet.ini,
# so the first start takes the defaults and a later unpacking keeps the
# user's), and an NSIS installer, both named with the version the build
# wrote beside the program.
# Usage: scripts/package.sh <x86_64|i686> <build dir holding scrivlet.exe> <output dir>
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
arch="$1"
build="$(cd "$2" && pwd)"
mkdir -p "$3"
out="$(cd "$3" && pwd)"

version="$(cat "$build/scrivlet-version.txt" 2>/dev/null || true)"
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] ||
  { echo "package.sh: no version in $build/scrivlet-version.txt" >&2; exit 1; }
name="scrivlet-$version-$arch"

stage="$out/stage-$arch"
folder="$stage/scrivlet"
rm -rf "$stage"
mkdir -p "$folder"
cp "$build/scrivlet.exe" "$build/scrivlet.html" "$folder/"
# Windows line endings, so that any editor shows the lines.
sed 's/$/\r/' "$root/LICENSE" > "$folder/LICENSE.txt"
# The character-set detector's, which the build put beside the program.
sed 's/$/\r/' "$build/LICENSE-uchardet.txt" > "$folder/LICENSE-uchardet.txt"
sed 's/$/\r/' "$root/scripts/installer/scrivlet-portable.txt" > "$folder/scrivlet-portable.txt"

rm -f "$out/$name-portable.zip" "$out/$name-setup.exe"
(cd "$stage" && zip -qrX "$out/$name-portable.zip" scrivlet)

# The installer gets the same files less the portable read-me: an installed
# copy keeps its settings in the user's application-data folder.
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DARCH="$arch" \
  -DSTAGE="$folder" -DICON="$root/resources/scrivlet.ico" \
  -DOUTFILE="$out/$name-setup.exe" "$root/scripts/installer/scrivlet.nsi"
rm -rf "$stage"
echo "packaged: $out/$name-portable.zip $out/$name-setup.exe"
