#!/usr/bin/env bash
# Programs, tests, fuzz targets and benchmarks reach the runtime only through its public headers
# (include/), as a third party does: no include names a path into rtlib/ or one of the runtime's
# own headers.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
found=$(grep -rnE '^\s*#\s*include\s*[<"]([^">]*/)?(rtlib/[^">]*|platform\.h|heap\.h|record\.h)[">]' \
  programs tests fuzz bench)
if [[ -n "$found" ]]; then
  echo "includes of runtime-internal files:"
  echo "$found"
  exit 1
fi
echo "only public headers are included from outside rtlib/"
