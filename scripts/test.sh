#!/usr/bin/env bash
# Builds KvtSuppliers and runs every test, the PostgreSQL cases on a
# throwaway server (scripts/with-postgres.sh; the run fails when it cannot
# start).
#   scripts/test.sh             normal build
#   scripts/test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
kind=release; dir=build
if [ "${1:-}" = "--sanitize" ]; then kind=sanitize; dir=build-asan; fi
scripts/build.sh "$kind"
# Qt wants a private runtime folder; a fresh root shell has none.
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
scripts/with-postgres.sh ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
