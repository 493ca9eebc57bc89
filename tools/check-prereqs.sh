#!/bin/sh
# Says which Debian packages are missing for building and testing seqsmith.
missing=""
command -v cmake >/dev/null 2>&1 || missing="$missing cmake"
command -v g++ >/dev/null 2>&1 || missing="$missing g++"
command -v make >/dev/null 2>&1 || missing="$missing make"
[ -f /usr/include/gtest/gtest.h ] || missing="$missing libgtest-dev"
if [ -n "$missing" ]; then
  echo "seqsmith needs these Debian packages:$missing" >&2
  echo "install them with: sudo apt-get install$missing" >&2
  exit 1
fi
