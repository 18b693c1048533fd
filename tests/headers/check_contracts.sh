#!/usr/bin/env bash
# The contract table rtlib/contracts.txt against the routine table, the code and the tests:
# every routine of the ABI has a line; a line that checks names an RT_CHECK of its kind and
# argument in the routine's source (the guarded heap for "heap") and a case of
# tests/support/check_cases.h; a line that does not gives its reason; and every RT_CHECK of the
# runtime stands in the table.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
source "$root/tests/support/failures.sh"
routines=$(grep -v '^#' rtlib/routines.txt)
contracts=$(grep -v '^#' rtlib/contracts.txt | grep -v '^\s*$')
cases=tests/support/check_cases.h
source_of() { awk -v r="$1" '$1 == r { print "rtlib/" $2 }' <<<"$routines"; }

while read -r routine _; do
  grep -qE "^$routine\\s" <<<"$contracts" || fail "$routine: no line in the contract table"
done <<<"$routines"

while read -r routine argument check reason; do
  source=$(source_of "$routine")
  if [[ -z $source ]]; then
    fail "$routine: in the contract table but not in the routine table"
    continue
  fi
  case $check in
  none | unchecked)
    [[ -n $reason ]] || fail "$routine $argument: '$check' without its reason"
    continue
    ;;
  heap)
    grep -q "rt::check::heap_" "$source" || fail "$routine: $source does not use the guarded heap"
    ;;
  *)
    grep -qF "RT_CHECK($check, \"$argument\"" "$source" ||
      fail "$routine $argument: no RT_CHECK($check, \"$argument\", ...) in $source"
    ;;
  esac
  grep -qE "^\s*X(_AS)?\($routine, ([a-z_:]+, )?$argument, " "$cases" ||
    fail "$routine $argument: no case in $cases"
done <<<"$contracts"

# Every check in the runtime's sources has its line.
while IFS=: read -r file _ check argument; do
  source=${file#rtlib/}
  listed=$(awk -v s="$source" '$2 == s { print $1 }' <<<"$routines")
  found=no
  for routine in $listed; do
    awk -v r="$routine" -v a="$argument" -v c="$check" \
      '$1 == r && $2 == a && $3 == c { ok = 1 } END { exit !ok }' <<<"$contracts" && found=yes
  done
  [[ $found == yes ]] || fail "$file: RT_CHECK($check, \"$argument\") has no line in the table"
done < <(grep -rnoE 'RT_CHECK\([a-z_]+, "[a-z_]+"' rtlib --include='*.cpp' |
  sed -E 's/RT_CHECK\(([a-z_]+), "([a-z_]+)"/\1:\2/')

((failures == 0)) || exit 1
echo "$(wc -l <<<"$contracts") contract lines: every routine has its line, every check its code and case"
