#!/usr/bin/env bash
# The API under load, on an SQLite file and on a throwaway PostgreSQL
# server: kvt-host serve on 127.0.0.1 and 50 clerks (CLIENTS) receiving
# against 20 seeded orders for 30 s (SECONDS), each voucher started,
# scanned and posted through the API. Prints p50/p99 latencies and the
# books check after the run; a breach fails the script. Not run in CI.
#   scripts/serve-load-test.sh [sqlite|postgres]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release kvt-host >/dev/null
export kvt_host="$PWD/build/apps/kvt-host/kvt-host"
export LOAD_PASSWORD="load-Pw-77" LOAD_USER=loadclerk

# Serves KVT_DB, seeds it with `$1` (a command reading SQL on stdin), runs
# the clients and stops the server by its pid.
load() {
  local dir pid port status=0
  dir=$(mktemp -d /tmp/kvt-load-api.XXXXXX)
  KVT_PASSWORD="$LOAD_PASSWORD" "$kvt_host" serve --new --workers 8 --listen 127.0.0.1:0 \
    >"$dir/out" 2>"$dir/err" &
  pid=$!
  for _ in $(seq 100); do grep -q serving "$dir/out" 2>/dev/null && break; sleep 0.2; done
  port=$(sed -n 's/.*:\([0-9]*\)\/$/\1/p' "$dir/out")
  case "$KVT_DB" in
    Provider=PostgreSQL*) ;;
    *) "$kvt_host" users add "$(id -un)" --role admin --db "$KVT_DB" >/dev/null ;;
  esac
  KVT_NEW_PASSWORD="$LOAD_PASSWORD" "$kvt_host" users add "$LOAD_USER" --role clerk --db "$KVT_DB" >/dev/null
  $1 < tests/load/seed_orders.sql
  BASE="http://127.0.0.1:$port" node tests/load/serve_load.mjs || status=1
  kill "$pid"; wait "$pid" || true
  rm -rf "$dir"
  return $status
}
export -f load

# Runs SQL from stdin as the throwaway server's owner (the password from
# the environment, as PGPASSWORD).
seed_postgres() {
  local field
  field() { tr ';' '\n' <<<"$KVT_TEST_POSTGRES" | sed -n "s/^$1=//p"; }
  PGPASSWORD="$(field Password)" psql -q -v ON_ERROR_STOP=1 -h "$(field Host)" \
    -p "$(field Port)" -U "$(field 'User ID')" -d kvt -f - >/dev/null
}
export -f seed_postgres

only="${1:-}"
status=0
work=$(mktemp -d /tmp/kvt-load-db.XXXXXX)
trap 'rm -rf "$work"' EXIT
if [ "$only" != postgres ]; then
  echo "== SQLite"
  KVT_DB="$work/load.sqlite" bash -c "load 'sqlite3 $work/load.sqlite'" || status=1
fi
if [ "$only" != sqlite ]; then
  echo "== PostgreSQL"
  # The server's connection text (with its password) stays in the
  # environment, never on a command line.
  scripts/with-postgres.sh --tcp --durable bash -c '
    export KVT_DB="Provider=PostgreSQL;$KVT_TEST_POSTGRES;Database=kvt"
    load seed_postgres' || status=1
fi
exit "$status"
