#!/usr/bin/env bash
# Builds the Release program and the given generator quietly; shows the
# build log only when the build fails.
#
#   bench/build_release.sh BUILD_DIR TARGET...
set -euo pipefail
cd "$(dirname "$0")/.."

build=$1
shift
mkdir -p "$build"
log="$build/release-build.log"
if ! { cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
         -DSEQSMITH_BUILD_TESTS=OFF &&
       cmake --build "$build" -j 2 --target seqsmith "$@"; } \
     >"$log" 2>&1; then
  cat "$log"
  exit 1
fi
