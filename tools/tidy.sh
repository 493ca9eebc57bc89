#!/bin/sh
# Runs clang-tidy (the checks of .clang-tidy) over the program's sources,
# using the compile commands of the build directory (default: build).
set -e
build=${1:-build}
[ -f "$build/compile_commands.json" ] || {
  echo "tidy: no $build/compile_commands.json; run make first" >&2
  exit 1
}
status=0
for file in $(git ls-files 'app/*.cc' 'cmdline/*.cc' 'events/*.cc' 'path/*.cc' \
                           'sequence/*.cc' 'smf/*.cc'); do
  clang-tidy --quiet -p "$build" "$file" || status=1
done
exit $status
