#!/usr/bin/env bash
# Configures and builds one build tree.
#   scripts/build.sh [release|sanitize|headless] [targets...]
# headless: without Qt (KVT_WITH_QT=OFF) in build-headless/.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-release}; shift || true
case "$kind" in
  release)  dir=build;      flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVT_BUILD_BENCHMARKS=ON) ;;
  sanitize) dir=build-asan; flags=(-DCMAKE_BUILD_TYPE=Debug -DKVT_ENABLE_SANITIZERS=ON) ;;
  headless) dir=build-headless; flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVT_WITH_QT=OFF) ;;
  *) echo "usage: $0 [release|sanitize|headless] [targets...]" >&2; exit 2 ;;
esac
jobs=$(nproc)
# Paths under the checkout hash as relative ones, so several checkouts of the
# tree share one compiler cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
cmake -S . -B "$dir" -G Ninja -DKVT_WARNINGS_AS_ERRORS=ON "${flags[@]}" >/dev/null
if [ $# -gt 0 ]; then
  cmake --build "$dir" -j "$jobs" --target "$@"
else
  cmake --build "$dir" -j "$jobs"
fi
