#!/usr/bin/env bash
# Builds the API reference from the installed headers and fails when Doxygen has anything to
# say about them: every routine, record, field, parameter and constant must be documented.
set -uo pipefail
doxyfile=$1
log=$2
rm -f "$log"
doxygen "$doxyfile"
status=$?
count=0
[[ -f "$log" ]] && count=$(grep -c . "$log")
echo "Doxygen warnings: $count"
[[ -f "$log" ]] && cat "$log"
((status == 0 && count == 0))
