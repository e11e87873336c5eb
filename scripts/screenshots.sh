#!/usr/bin/env bash
# Photographs the purchasing desk: starts it under Xvfb, lets a scripted
# buyer work through it (kvt-desk-tour) and writes a PNG of every screen
# and dialog into build/screenshots/, with the demo database the tour used.
#   scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release kvt-desk-tour
tour="$PWD/build/apps/kvt-host/desk/kvt-desk-tour"
out=build/screenshots
rm -rf "$out"
mkdir -p "$out"

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
# The shots show a machine without printers, whatever this one has.
export CUPS_SERVER=/nonexistent/cups.sock
unset QT_QPA_PLATFORM

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x880x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$display_file"' EXIT
for _ in $(seq 50); do
  [ -s "$display_file" ] && break
  sleep 0.1
done
[ -s "$display_file" ] || { echo "screenshots: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$display_file")"

# The tour proposes and saves PDFs in the working folder: the shots' folder.
(cd "$out" && "$tour" desk-tour.sqlite .)
echo "screenshots: $(ls "$out"/*.png | wc -l) pictures in $out"
