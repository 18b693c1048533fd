#!/usr/bin/env bash
# GCC builds: the images call C runtime and system routines through the import address table,
# with no jump stub of an import library, which the runtime's dllimport declarations
# (rtlib/platform.h) make unnecessary. (The inline-profile header's malloc and free keep theirs:
# calling them through the table made strdemo and threaddemo larger, not smaller.)
#   check_import_stubs.sh <build folder>
set -euo pipefail
build=$(cd "$1" && pwd)
failures=0
for map in "$build"/images/{parity,greeting,strdemo,threaddemo,minimal}.map; do
  # A stub is a .text input section of an import library; the line after it names the routine.
  stubs=$(awk '
    stub { name = $NF; if (name != "malloc" && name != "free") print name; stub = 0 }
    $1 == ".text" && $2 ~ /^0x0000000140/ && $3 != "0x0" &&
      $4 ~ /lib(msvcrt|kernel32|user32)\.a/ { stub = 1 }' "$map")
  if [[ -n $stubs ]]; then
    echo "FAIL: $(basename "$map" .map): import library jump stubs for:" $stubs
    failures=$((failures + 1))
  fi
  # The check still sees the stubs it looks for: malloc's in the inline-profile images.
  if [[ $map == */strdemo.map ]] && ! awk '$1 == ".text" && $2 ~ /^0x0000000140/ &&
      $4 ~ /libmsvcrt\.a/ { found = 1 } END { exit !found }' "$map"; then
    echo "FAIL: the check is stale: strdemo.map shows no import library code at all"
    failures=$((failures + 1))
  fi
done
((failures == 0)) || exit 1
echo "images call their imports through the address table, without jump stubs"
