#!/usr/bin/env bash
# Runs a test program under the ANSI code page of a Linux locale, and says
# which one it asked for, so a run that fell back to another cannot pass.
# Usage: run_under_code_page.sh LOCALE CODEPAGE EMULATOR PROGRAM [ARGS...]
# Wine reads Unix file names as UTF-8 only when the locale exists: one the
# system lacks is made beside the program the first time (localedef).
set -euo pipefail
locale_name="$1" code_page="$2" emulator="$3" program="$4"
shift 4
if ! LC_ALL="$locale_name" locale charmap 2>/dev/null | grep -q UTF-8; then
  own="$(dirname "$program")/locale"
  if [ ! -d "$own/$locale_name" ]; then
    mkdir -p "$own"
    localedef -i "${locale_name%%.*}" -f UTF-8 "$own/$locale_name" >/dev/null 2>&1 || true
  fi
  export LOCPATH="$own"
  LC_ALL="$locale_name" locale charmap 2>/dev/null | grep -q UTF-8 ||
    { echo "cannot make the $locale_name locale" >&2; exit 1; }
fi
export LC_ALL="$locale_name" SCRIVLET_EXPECT_ACP="$code_page"
exec "$emulator" "$program" "$@"
