#!/usr/bin/env bash
# Builds the reference host and tells its purchasing story headless on the
# demo database build/kvt-demo.sqlite: made on the first run, used as it is
# afterwards, so what the order screens saved there is kept. Extra arguments
# go to the host: --reset-demo puts the demo data back first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release kvt-host
# Qt wants a private runtime folder; a fresh root shell has none.
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
exec build/apps/kvt-host/kvt-host scenario --db build/kvt-demo.sqlite --out build "$@"
