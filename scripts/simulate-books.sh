#!/usr/bin/env bash
# The books simulator for longer than CI runs it: random purchasing work
# through the host's sessions on SQLite and on a throwaway PostgreSQL
# server, half the time each, with every rule of the books checked after
# each operation. Prints the operations run; a breach prints its seed and
# the operations that seed ran up to it, and fails the script.
#   scripts/simulate-books.sh [--minutes N]      (default 1)
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=1
while [ $# -gt 0 ]; do
  case "$1" in
    --minutes) minutes="$2"; shift 2 ;;
    *) echo "usage: $0 [--minutes N]" >&2; exit 2 ;;
  esac
done
case "$minutes" in
  ''|*[!0-9]*) echo "$0: --minutes takes a whole number" >&2; exit 2 ;;
esac
scripts/setup.sh
scripts/build.sh release books_simulator_test
export KVT_BOOKS_SECONDS=$((minutes * 30))
scripts/with-postgres.sh build/tests/apps/books_simulator_test \
  --gtest_filter='*RandomWorkKeepsEveryRuleOfTheBooks*'
