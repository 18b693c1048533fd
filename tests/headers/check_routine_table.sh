#!/usr/bin/env bash
# The routine table rtlib/routines.txt against the code: the public header declares exactly the
# routines of the table, each is defined in the source the table names, and a definition carries
# RT_LEAF exactly where the table says leaf.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
source "$root/tests/support/failures.sh"
table=$(grep -v '^#' rtlib/routines.txt)
declared=$(grep -oE '\brt_[a-z0-9_]+\s*\(' include/rtlib.h | tr -d '( ' | sort -u)
listed=$(awk '{ print $1 }' <<<"$table" | sort)
[[ -z $(uniq -d <<<"$listed") ]] || fail "routines listed twice: $(uniq -d <<<"$listed")"
diff <(echo "$declared") <(uniq <<<"$listed") >/dev/null ||
  fail "the header and the table differ: $(diff <(echo "$declared") <(uniq <<<"$listed") | grep '^[<>]' | tr '\n' ' ')"
while read -r routine source _ leaf _; do
  file=rtlib/$source
  definition=$(grep -E "^extern \"C\"[^(]*\\b$routine\\s*\\(" "$file" 2>/dev/null)
  if [[ -z $definition ]]; then
    fail "$routine: not defined in $file"
    continue
  fi
  marked=no
  [[ $definition == *RT_LEAF* ]] && marked=yes
  [[ $marked == "$leaf" ]] ||
    fail "$routine: the table says leaf $leaf, its definition in $file is marked RT_LEAF: $marked"
done <<<"$table"
((failures == 0)) || exit 1
echo "$(wc -l <<<"$table") routines: header, sources and leaf marks agree with the table"
