#!/usr/bin/env bash
# Every screen timed through the host's sessions on one year and on ten
# years of history, on SQLite and on a throwaway PostgreSQL server
# (bench/screens_bench.cpp). The SQLite histories are made once under
# build/history/ and kept (delete them to make them again); the server's
# are made in its schemas h1 and h10 on every run. Prints the table of
# times with each ten-year time's ratio to the one-year time (--fastest: the
# fastest run of each screen instead of the median, steadier when others
# share the machine). Not run in CI.
#   scripts/bench-screens.sh [--runs N] [--fastest] [--sqlite-only]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=5; postgres=true; summary=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --fastest) summary=(--fastest); shift ;;
    --sqlite-only) postgres=false; shift ;;
    *) echo "usage: $0 [--runs N] [--fastest] [--sqlite-only]" >&2; exit 2 ;;
  esac
done
scripts/setup.sh
scripts/build.sh release make_history screens_bench >/dev/null
mkdir -p build/history
for years in 1 10; do
  [ -f "build/history/h$years.sqlite" ] ||
    build/bench/make_history --years "$years" --db "build/history/h$years.sqlite"
done
sqlite=("${summary[@]}" "SQLite 1y=build/history/h1.sqlite" "SQLite 10y=build/history/h10.sqlite")
if ! $postgres; then
  exec build/bench/screens_bench --runs "$runs" "${sqlite[@]}"
fi
# The server's connection text stays in the environment.
scripts/with-postgres.sh bash -c '
  set -e
  for years in 1 10; do
    KVT_HISTORY_DB="Provider=PostgreSQL;$KVT_TEST_POSTGRES;Database=kvt;Schema=h$years" \
      build/bench/make_history --years "$years"
  done
  build/bench/screens_bench --runs "$0" "$@" "PostgreSQL 1y=pg:h1" "PostgreSQL 10y=pg:h10"
' "$runs" "${sqlite[@]}"
