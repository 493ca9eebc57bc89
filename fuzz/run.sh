#!/usr/bin/env bash
# Builds the libFuzzer target with clang and runs it.
#
#   fuzz/run.sh [SECONDS]   fuzz for SECONDS (default 60), starting from the
#                           seed corpus and the corpus of earlier runs
#   fuzz/run.sh --replay    run every seed and every saved regression input
#                           once (what CI does)
#
# Needs Debian's clang and libclang-rt-14-dev. Findings are written to
# fuzz/artifacts/; add each, once fixed, to fuzz/regressions/ and as a test
# case to the normal suite.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${FUZZ_BUILD:-build-fuzz}
# Optimized, with the program's assertions kept: each is one more check.
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DSEQSMITH_FUZZ=ON \
  -DSEQSMITH_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g" >/dev/null
cmake --build "$build" -j "$(nproc)" --target convert_fuzzer make_seeds

seeds="$build/fuzz/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"
"$build/fuzz/make_seeds" "$seeds"

fuzzer="$build/fuzz/convert_fuzzer"
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

if [ "${1:-}" = "--replay" ]; then
  inputs=("$seeds"/*)
  if compgen -G "fuzz/regressions/*" >/dev/null; then
    inputs+=(fuzz/regressions/*)
  fi
  echo "replaying ${#inputs[@]} inputs"
  "$fuzzer" -rss_limit_mb=1024 -timeout=20 "${inputs[@]}"
  exit 0
fi

seconds=${1:-60}
corpus="$build/fuzz/corpus"
mkdir -p "$corpus" fuzz/artifacts
"$fuzzer" -max_total_time="$seconds" -dict=fuzz/smf.dict -max_len=8192 \
  -rss_limit_mb=1024 -timeout=10 -print_final_stats=1 \
  -artifact_prefix=fuzz/artifacts/ "$corpus" "$seeds"
