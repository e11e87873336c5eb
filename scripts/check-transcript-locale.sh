#!/usr/bin/env bash
# Runs the main job twice on a fresh demo database, under the C locale and
# under LOCALE, and fails unless the two transcripts are byte for byte the
# same: number text must not follow the locale Qt takes from LANG.
#
#   scripts/check-transcript-locale.sh [LOCALE]     (default de_DE.UTF-8)
#
# Uses the host in build/ (scripts/build.sh release kvt-host).
set -euo pipefail
cd "$(dirname "$0")/.."
locale="${1:-de_DE.UTF-8}"
host="$PWD/build/apps/kvt-host/kvt-host"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen

# The main job's own command line, in a scratch folder that stands for the
# checkout, so that both runs print the same paths.
transcript() {
  rm -rf "$work/checkout"
  mkdir -p "$work/checkout/build"
  (cd "$work/checkout" && LANG="$1" LC_ALL="$1" \
     "$host" scenario --db build/kvt-demo.sqlite --out build) >"$2"
}

transcript C "$work/C.txt"
transcript "$locale" "$work/other.txt"
if ! cmp -s "$work/C.txt" "$work/other.txt"; then
  diff -u --label "LANG=C" --label "LANG=$locale" "$work/C.txt" "$work/other.txt" || true
  echo "check-transcript-locale: the main job's transcript differs under $locale" >&2
  exit 1
fi
echo "check-transcript-locale: $(wc -l <"$work/C.txt") lines, the same under C and $locale"
