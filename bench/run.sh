#!/usr/bin/env bash
# Benchmark: seqsmith against midicsv (MIDI to CSV text, the closest common
# peer) on generated files: a 10 MB song, a 1 MB song and a batch of small
# songs, with the floors of reading the inputs and writing an output as
# large as ours. Prints a table of medians and the ratios.
#
#   bench/run.sh
#
# Builds a Release seqsmith in build-bench-release (BENCH_BUILD), writes the
# inputs into its bench-data directory when they are missing, installs
# midicsv with apt-get when it is missing. BENCH_ROUNDS (default 5) sets the
# number of timed runs of each command, BENCH_BATCH (default 3000) the
# number of files in the batch.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BENCH_BUILD:-build-bench-release}
rounds=${BENCH_ROUNDS:-5}
batch=${BENCH_BATCH:-3000}

bench/build_release.sh "$build" make_bench_files
seqsmith="$build/app/seqsmith"
generator="$build/bench/make_bench_files"

# The inputs, written again when the generator or the batch size changed.
data="$build/bench-data"
stamp="$data/complete"
if [ ! -f "$stamp" ] || [ "$generator" -nt "$stamp" ] ||
   [ "$(cat "$stamp")" != "$batch" ]; then
  echo "writing the benchmark files into $data"
  rm -rf "$data"
  mkdir -p "$data"
  "$generator" --size 10M "$data/ten.mid"
  "$generator" --size 1M "$data/one.mid"
  "$generator" --batch "$batch" "$data/batch"
  echo "$batch" >"$stamp"
fi

if ! command -v midicsv >/dev/null; then
  sudo=
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get install -y midicsv >/dev/null ||
    { $sudo apt-get update >/dev/null && $sudo apt-get install -y midicsv >/dev/null; }
fi

echo "machine: $(nproc) CPUs, $(lscpu | sed -n 's/^Model name: *//p'), " \
  "$(free -g | awk '/^Mem:/ {print $2}') GB memory"
echo "seqsmith: $seqsmith (Release); midicsv: $(command -v midicsv)"
python3 bench/timing.py "$seqsmith" "$data" "$rounds"

