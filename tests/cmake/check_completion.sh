#!/usr/bin/env bash
# Completes command lines with the bash completion of seqsmith in a
# directory of sample files and compares the offered words.
# Usage: check_completion.sh COMPLETION_SCRIPT WORK_DIR
set -u
script=$1
work=$2

rm -rf "$work"
mkdir -p "$work/music dir" && cd "$work" || exit 1
touch a.mid B.MIDI c.smf notes.txt "my song.mid" -- -x.mid
# shellcheck source=/dev/null
source "$script"

failures=0
# expect "OFFERED WORDS, |-separated and sorted" WORD...: completes the last
# WORD of the command line "seqsmith WORD...".
expect() {
  local want=$1
  shift
  COMP_WORDS=(seqsmith "$@")
  COMP_CWORD=$#
  COMPREPLY=()
  _seqsmith
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd'|')
  if [[ $got != "$want" ]]; then
    echo "seqsmith $*<TAB>: offered '$got', expected '$want'"
    failures=$((failures + 1))
  fi
}

expect "--help|--timebase|--update|--verbose|-h|-o|-u|-v" -
expect "--timebase" --t
expect "--update" -v --up
expect "192|48|480|96" --timebase ""
expect "96" -v --timebase 9
expect "notes.txt" -o n
expect "-x.mid|B.MIDI|a.mid|c.smf|music dir|my song.mid|notes.txt" -uo ""
expect "a.mid" -ov a
expect "B.MIDI|a.mid|c.smf|music dir|my song.mid" ""
expect "music dir|my song.mid" --verbose m
expect "./-x.mid" ./-
expect "c.smf" -u a.mid c

if ((failures > 0)); then
  echo "$failures completion case(s) failed"
  exit 1
fi
echo "completion: all cases passed"
