#!/usr/bin/env bash
# Years of a busy wholesaler's purchasing on top of the demo data, for
# measuring the screens against (bench/make_history.cpp says what it makes):
#
#   scripts/make-history.sh --years N --db DB [--check]
#
# DB is an SQLite file that must not exist yet (keep it out of the checkout's
# tracked files: build/ or /tmp), or a connection text beginning with
# "Provider=PostgreSQL", whose schema is rebuilt; the text goes to the
# generator through the environment, never on its command line. --check runs
# the books' checks afterwards. Ten years take a few minutes on SQLite.
set -euo pipefail
cd "$(dirname "$0")/.."
years=""; db=""; check=()
while [ $# -gt 0 ]; do
  case "$1" in
    --years) years="${2:-}"; shift 2 ;;
    --db) db="${2:-}"; shift 2 ;;
    --check) check=(--check); shift ;;
    *) echo "usage: $0 --years N --db DB [--check]" >&2; exit 2 ;;
  esac
done
case "$years" in
  ''|*[!0-9]*) echo "$0: --years takes a whole number" >&2; exit 2 ;;
esac
[ -n "$db" ] || { echo "usage: $0 --years N --db DB [--check]" >&2; exit 2; }
scripts/build.sh release make_history >/dev/null
case "$db" in
  Provider=*) KVT_HISTORY_DB="$db" build/bench/make_history --years "$years" "${check[@]}" ;;
  *) build/bench/make_history --years "$years" --db "$db" "${check[@]}" ;;
esac
