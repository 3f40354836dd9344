#!/bin/bash
# The layers of src/ and the direction they depend in: fails on a file that
# reaches a layer above its own, on Qt in the core, and on units (a header
# and its source) that include each other round a circle.
# Usage: architecture_test.sh SRC_DIR
set -u
src=${1:?usage: architecture_test.sh SRC_DIR}
cd "$src" || exit 2

# What each folder may include besides itself; app may include anything.
declare -A allowed=(
  [plan]=""
  [geo]="plan"
  [routes]="geo plan"
  [data]="routes geo plan"
  [winds]="data routes geo plan"
  [session]="winds data routes geo plan"
  [print]="winds data routes geo plan"
  [chart]="print winds data routes geo plan"
  [forms]="chart print session winds data routes geo plan"
)
no_qt="plan geo routes data winds session"

include='^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)"'
failures=0
fail() {
  echo "$1"
  failures=$((failures + 1))
}

edges=$(mktemp)
trap 'rm -f "$edges"' EXIT
for file in $(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort); do
  layer=${file%%/*}
  unit=${file%.*}
  while IFS= read -r line; do
    case $line in
      *'#include <Q'*)
        [[ " $no_qt " == *" $layer "* ]] && fail "$file: Qt in the $layer layer: $line"
        continue
        ;;
    esac
    [[ $line =~ $include ]] || continue
    target=${BASH_REMATCH[1]}
    [ -e "$target" ] || continue
    to=${target%%/*}
    if [ "$to" != "$layer" ] && [ "$layer" != app ] && [ -n "${allowed[$layer]+x}" ] &&
      [[ " ${allowed[$layer]} " != *" $to "* ]]; then
      fail "$file: the $layer layer includes $target, a layer above it"
    fi
    echo "$unit ${target%.*}" >>"$edges"
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include' "$file")
done

# tsort names the units of each circle it meets.
if ! circle=$(tsort "$edges" 2>&1 >/dev/null) || [ -n "$circle" ]; then
  fail "units that include each other round a circle:"$'\n'"$(sed -n 's/^tsort: //p' <<<"$circle" | grep -v 'input contains a loop')"
fi

if [ "$failures" -ne 0 ]; then
  echo "0 passed, $failures failed"
  exit 1
fi
echo "1 passed, 0 failed"
