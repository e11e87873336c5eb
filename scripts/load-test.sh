#!/usr/bin/env bash
# The posting load test on both backends: 8 clerk processes post 50-line
# goods received vouchers against the same 20 orders for 30 seconds, first
# on an SQLite file, then on a throwaway PostgreSQL server on 127.0.0.1
# that writes to disk as a real one does (scripts/with-postgres.sh --tcp
# --durable). Each run posts for 10 s untimed first (the tables then
# analysed), prints vouchers per second and the p50/p99 posting latency of
# the timed run, and ends with a check of the books; a failed check fails
# the script. On the server it runs twice in the same session: statement by
# statement from the host, then through the server's posting function.
# Not run in CI.
#   scripts/load-test.sh [--clerks N] [--seconds N] [--warmup N] [--orders N] [--lines N]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release posting_load
dir=$(mktemp -d /tmp/kvt-load.XXXXXX)
trap 'rm -rf "$dir"' EXIT
status=0
build/bench/posting_load --db "$dir/load.sqlite" "$@" || status=1
# The server's connection text (with its password) stays in the
# environment, never on a command line.
scripts/with-postgres.sh --tcp --durable bash -c \
  'export KVT_LOAD_DB="Provider=PostgreSQL;$KVT_TEST_POSTGRES;Database=kvt"
   status=0
   build/bench/posting_load --route statements "$@" || status=1
   build/bench/posting_load --route function "$@" || status=1
   exit "$status"' \
  load-test "$@" || status=1
exit "$status"
