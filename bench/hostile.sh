#!/usr/bin/env bash
# Hostile inputs: files that are cheap to make and try to be expensive to
# convert (bench/make_hostile.cc says what each holds). Converts each with
# the Release seqsmith under /usr/bin/time and prints a table of seconds,
# peak memory, exit status, output size and the first line of standard
# error. Fails when any conversion takes HOSTILE_SECONDS (default 5) or
# more, or HOSTILE_MB (default 500) megabytes or more, or ends by a signal.
#
#   bench/hostile.sh [KIND...]     all kinds when none is named
#
# Builds a Release seqsmith in build-bench-release (HOSTILE_BUILD) and
# writes the inputs and outputs into its hostile-data directory.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${HOSTILE_BUILD:-build-bench-release}
max_seconds=${HOSTILE_SECONDS:-5}
max_mb=${HOSTILE_MB:-500}

bench/build_release.sh "$build" make_hostile
seqsmith="$build/app/seqsmith"
generator="$build/bench/make_hostile"
[ -x /usr/bin/time ] || { echo "hostile.sh: needs /usr/bin/time (Debian package time)"; exit 1; }

data="$build/hostile-data"
mkdir -p "$data"
if [ $# -gt 0 ]; then
  kinds=("$@")
else
  mapfile -t kinds < <("$generator" --list | cut -f1)
fi

printf '%-20s %8s %8s %6s %10s %10s  %s\n' kind seconds peak_MB status in_bytes out_bytes "first line of stderr"
failed=0
for kind in "${kinds[@]}"; do
  input="$data/$kind.mid"
  output="$data/$kind.tune"
  "$generator" "$kind" "$input"
  rm -f "$output"
  status=0
  /usr/bin/time -f "%e %M" -o "$data/$kind.time" \
    "$seqsmith" -o "$output" "$input" >/dev/null 2>"$data/$kind.err" || status=$?
  read -r seconds kb <"$data/$kind.time" || true
  # A run killed by a signal leaves a line of /usr/bin/time's own first.
  if ! [[ "$seconds" =~ ^[0-9.]+$ ]]; then
    seconds=$(tail -n 1 "$data/$kind.time" | cut -d' ' -f1)
    kb=$(tail -n 1 "$data/$kind.time" | cut -d' ' -f2)
  fi
  mb=$(awk -v kb="$kb" 'BEGIN { printf "%.1f", kb / 1024 }')
  out_bytes=$([ -f "$output" ] && stat -c %s "$output" || echo -)
  first=$(head -n 1 "$data/$kind.err")
  verdict=""
  if awk -v s="$seconds" -v m="$mb" -v ms="$max_seconds" -v mm="$max_mb" \
       'BEGIN { exit !(s >= ms || m >= mm) }' || [ "$status" -gt 1 ]; then
    verdict="  <-- over the bounds"
    failed=1
  fi
  printf '%-20s %8s %8s %6s %10s %10s  %s%s\n' "$kind" "$seconds" "$mb" \
    "$status" "$(stat -c %s "$input")" "$out_bytes" "$first" "$verdict"
  rm -f "$output"
done

if [ "$failed" -ne 0 ]; then
  echo "hostile.sh: a conversion took ${max_seconds} s or more, ${max_mb} MB or more, or crashed"
  exit 1
fi
echo "hostile.sh: every conversion under ${max_seconds} s and ${max_mb} MB"
