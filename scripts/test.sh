#!/usr/bin/env bash
# Builds KvtSuppliers and runs every test, the PostgreSQL cases on a
# throwaway server (scripts/with-postgres.sh; the run fails when it cannot
# start).
#   scripts/test.sh                       normal build
#   scripts/test.sh --sanitize            AddressSanitizer + UndefinedBehaviorSanitizer build
#   scripts/test.sh --headless            the build without Qt (no desk, documents as text)
#   scripts/test.sh --locale de_DE.UTF-8  the normal build's tests again with LANG and
#                                         LC_ALL set to that locale, and the main job's
#                                         transcript compared with the C locale's
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
kind=release; dir=build; locale=""
case "${1:-}" in
  "") ;;
  --sanitize) kind=sanitize; dir=build-asan ;;
  --headless) kind=headless; dir=build-headless ;;
  --locale)
    locale="${2:?--locale needs a locale name, e.g. de_DE.UTF-8}"
    locale -a | grep -qix "$(sed 's/UTF-8/utf8/I' <<<"$locale")" \
      || { echo "test: locale $locale is not installed" >&2; exit 2; } ;;
  *) echo "usage: $0 [--sanitize | --headless | --locale NAME]" >&2; exit 2 ;;
esac
# Up to date after a normal run, so the locale run builds nothing.
scripts/build.sh "$kind"
# Qt wants a private runtime folder; a fresh root shell has none.
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if [ -n "$locale" ]; then
  LANG="$locale" LC_ALL="$locale" scripts/with-postgres.sh \
    ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
  scripts/check-transcript-locale.sh "$locale"
else
  scripts/with-postgres.sh ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
fi
