#!/usr/bin/env bash
# Builds the reference host and tells its purchasing story headless on the
# demo database build/kvt-demo.sqlite: made on the first run, used as it is
# afterwards, so what the order screens saved there is kept. Extra arguments
# go to the host: --reset-demo puts the demo data back first. With
# --postgres it runs on a throwaway PostgreSQL server instead
# (scripts/with-postgres.sh), where the demo database is made anew.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release kvt-host
# Qt wants a private runtime folder; a fresh root shell has none.
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
if [ "${1:-}" = "--postgres" ]; then
  shift
  # The server's connection text (with its password) stays in the
  # environment, never on a command line.
  exec scripts/with-postgres.sh bash -c \
    'build/apps/kvt-host/kvt-host scenario --db "Provider=PostgreSQL;$KVT_TEST_POSTGRES;Database=kvt" --out build "$@"' \
    run-main "$@"
fi
exec build/apps/kvt-host/kvt-host scenario --db build/kvt-demo.sqlite --out build "$@"
