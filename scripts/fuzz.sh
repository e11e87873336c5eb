#!/usr/bin/env bash
# Builds the expression-engine and the API request fuzzers with clang in
# build-fuzz and runs each for about a minute (FUZZ_SECONDS overrides). Exits non-zero on a finding;
# the crashing input is left in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
seconds="${FUZZ_SECONDS:-60}"
dir=build-fuzz
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DKVT_BUILD_FUZZERS=ON -DKVT_BUILD_TESTS=ON \
  -DKVT_BUILD_BENCHMARKS=OFF -DKVT_ENABLE_SANITIZERS=OFF \
  -DKVT_WARNINGS_AS_ERRORS=OFF >/dev/null
cmake --build "$dir" --target script_fuzzer request_fuzzer -j2
corpus="$dir/fuzz-corpus/script"
findings="$dir/findings"
mkdir -p "$corpus" "$findings"
"$dir/tests/fuzz/script_fuzzer" -max_total_time="$seconds" -max_len=4096 \
  -timeout=5 -rss_limit_mb=2048 -dict=tests/fuzz/script.dict \
  -artifact_prefix="$findings/" -print_final_stats=1 \
  "$corpus" tests/fuzz/corpus/script
# The API's request reading, for as long again.
mkdir -p "$dir/fuzz-corpus/request"
"$dir/tests/fuzz/request_fuzzer" -max_total_time="$seconds" -max_len=4096 \
  -timeout=5 -rss_limit_mb=2048 -artifact_prefix="$findings/" -print_final_stats=1 \
  "$dir/fuzz-corpus/request" tests/fuzz/corpus/request
