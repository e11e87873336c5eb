#!/usr/bin/env bash
# The dock page in headless Chromium through a whole receipt, on an SQLite
# file and on a throwaway PostgreSQL server: kvt-host serve on 127.0.0.1,
# a clerk who logs in on a phone-sized page, scans, loses the network for a
# scan, fixes a quantity and posts. Screenshots go to build/dock-shots/.
# Chromium is Debian's; puppeteer-core comes from npm into build/dock-node
# (never a puppeteer that fetches a browser of its own).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release kvt-host >/dev/null
node_dir="$PWD/build/dock-node"
if [ ! -d "$node_dir/node_modules/puppeteer-core" ]; then
  mkdir -p "$node_dir"
  (cd "$node_dir" && npm install --no-audit --no-fund --silent puppeteer-core@25)
fi
mkdir -p build/dock-shots
kvt_host="$PWD/build/apps/kvt-host/kvt-host"

# Serves the database of KVT_DB with a clerk recorded, drives the page,
# and stops the server by its pid. $1: the screenshots' prefix.
drive() {
  local prefix=$1 dir pid port status=0
  dir=$(mktemp -d /tmp/kvt-dock.XXXXXX)
  # On SQLite the API's users log in with the server's KVT_PASSWORD.
  KVT_PASSWORD="$DOCK_PASSWORD" "$kvt_host" serve --new --listen 127.0.0.1:0 >"$dir/out" 2>"$dir/err" &
  pid=$!
  for _ in $(seq 100); do grep -q serving "$dir/out" 2>/dev/null && break; sleep 0.2; done
  # The first administrator is whoever runs this (an SQLite file's user is
  # the system's); on a server the schema's owner, held to no role, adds them.
  case "$KVT_DB" in
    Provider=PostgreSQL*) ;;
    *) "$kvt_host" users add "$(id -un)" --role admin --db "$KVT_DB" >/dev/null ;;
  esac
  KVT_NEW_PASSWORD="$DOCK_PASSWORD" "$kvt_host" users add dockclerk --role clerk --db "$KVT_DB" >/dev/null
  port=$(sed -n 's/.*:\([0-9]*\)\/$/\1/p' "$dir/out")
  BASE="http://127.0.0.1:$port" DOCK_USER="$DOCK_USER" SHOTS="$PWD/build/dock-shots" \
    SHOT_PREFIX="$prefix-" NODE_PATH="$node_dir/node_modules" \
    node tests/dock/dock_receipt.mjs || status=1
  kill "$pid"; wait "$pid" || true
  rm -rf "$dir"
  return $status
}
export -f drive
export kvt_host node_dir

status=0
work=$(mktemp -d /tmp/kvt-dock-db.XXXXXX)
trap 'rm -rf "$work"' EXIT
only="${1:-}"  # sqlite or postgres: that backend alone
if [ "$only" != postgres ]; then
echo "== SQLite"
KVT_DB="$work/dock.sqlite" DOCK_PASSWORD="dock-Pw-51" DOCK_USER=dockclerk \
  bash -c 'drive sqlite' || status=1
fi
if [ "$only" != sqlite ]; then
echo "== PostgreSQL"
# The server's connection text (with its password) stays in the
# environment, never on a command line.
scripts/with-postgres.sh bash -c '
  export KVT_DB="Provider=PostgreSQL;$KVT_TEST_POSTGRES;Database=kvt"
  DOCK_PASSWORD="dock-Pw-52" DOCK_USER=dockclerk drive postgres' || status=1
fi
echo "screenshots in build/dock-shots/"
exit "$status"
