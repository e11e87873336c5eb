#!/usr/bin/env bash
# Fails when a C++ file of the tree is not laid out as .clang-format says.
# `scripts/check-format.sh --fix` formats them in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.h' '*.cpp' | grep -Ev '^build[^/]*/')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i --style=file "${files[@]}"
  exit 0
fi
clang-format --dry-run --Werror --style=file "${files[@]}" 2>&1 | grep -E '^[^ ].*(error|warning):' | head -40 || true
clang-format --dry-run --Werror --style=file "${files[@]}" >/dev/null 2>&1 ||
  { echo "check-format: the files above differ from .clang-format (scripts/check-format.sh --fix)"; exit 1; }
echo "check-format: ${#files[@]} files laid out as .clang-format says"
