#!/usr/bin/env bash
# The call site of a report maps to its source line: check_breaker (a checked image with debug
# information) breaks a contract on a marked line of its source, and addr2line turns the
# reported <image>+0x<offset>, plus the image base, into that file and line.
#   check_site.sh <build folder>
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$(dirname "$0")/../.." && pwd)/tests/images/check_breaker.cpp
image=$build/images/check_breaker.exe
export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
line=$(grep -n 'the call site that addr2line must name' "$source" | cut -d: -f1)
report=$(/usr/lib/wine/wine64 "$image" site.line 2>&1 >/dev/null || true)
offset=$(sed -n 's/.*; called at check_breaker\.exe+0x\([0-9a-f]*\).*/\1/p' <<<"$report")
[[ -n $offset ]] || { echo "FAIL: no call site in the report: $report"; exit 1; }
base=$(x86_64-w64-mingw32-objdump -p "$image" | awk '$1 == "ImageBase" { print $2 }')
mapped=$(x86_64-w64-mingw32-addr2line -e "$image" "$(printf '0x%x' $((0x$base + 0x$offset)))")
[[ $mapped == *check_breaker.cpp:$line* ]] ||
  { echo "FAIL: the site of '$report' maps to $mapped, not check_breaker.cpp:$line"; exit 1; }
echo "the reported call site maps to check_breaker.cpp:$line"
