#!/usr/bin/env bash
# Compiles the public headers as their users do: C99, C11 and C17 with strict prototypes, C++17
# and C++20, all warnings as errors, and the layout constants through the assembler.
# Arguments: C compiler, C++ compiler, then extra include directories for the C++ units.
set -euo pipefail
cc=$1
cxx=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
include=$(cd "$here/../../include" && pwd)
extra=()
for dir in "$@"; do extra+=(-I"$dir"); done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
attempt() {
  if ! "$@" 2>"$work/log"; then
    echo "FAILED: $*"
    cat "$work/log"
    failed=1
  fi
}
for std in c99 c11 c17; do
  attempt "$cc" -std=$std -Wall -Wextra -Wstrict-prototypes -pedantic -Werror \
    -I"$include" -c "$here/consumer.c" -o "$work/c_$std.o"
done
for std in c++17 c++20; do
  attempt "$cxx" -std=$std -Wall -Wextra -pedantic -Werror -Wconversion \
    -Wsign-conversion -Wshadow -fno-exceptions -fno-rtti -I"$include" "${extra[@]}" \
    -c "$here/consumer.cpp" -o "$work/cxx_$std.o"
done
attempt "$cc" -Werror -I"$include" -c -x assembler-with-cpp "$here/layout.S" \
  -o "$work/layout.o"
((failed == 0)) && echo "public headers compile cleanly with $cc and $cxx"
exit $failed
