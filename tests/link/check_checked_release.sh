#!/usr/bin/env bash
# The checked runtime leaves the release build alone: a second build of the same sources with the
# same toolchain and build type but without the checked library (RTLIB_CHECKED_LIBRARY=OFF)
# gives the five images byte for byte, and librtlib.a with the same members, whose code and data
# are the same bytes (their debug information names the build folder, which differs).
#   check_checked_release.sh <build folder> <toolchain file>
set -euo pipefail
build=$(cd "$1" && pwd)
toolchain=$2
source=$(cd "$(dirname "$0")/../.." && pwd)
other=$build/without-checked
programs=(parity greeting strdemo threaddemo minimal)
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
cmake -S "$source" -B "$other" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE="$build_type" -DRTLIB_CHECKED_LIBRARY=OFF -DRTLIB_TESTS=OFF >/dev/null
cmake --build "$other" --target rtlib "${programs[@]}" >/dev/null
failures=0
[[ ! -e $other/rtlib/librtlib-checked.a ]] || {
  echo "FAIL: the build without the checked library made it"
  failures=$((failures + 1))
}
for program in "${programs[@]}"; do
  cmp -s "$build/images/$program.exe" "$other/images/$program.exe" || {
    echo "FAIL: $program.exe differs when the checked library is built"
    failures=$((failures + 1))
  }
done
strip_members() { # <archive> <folder>: the archive's members without debug information
  mkdir -p "$2"
  (cd "$2" && x86_64-w64-mingw32-ar x "$1" && for o in *.obj; do
    x86_64-w64-mingw32-objcopy --strip-debug "$o"
  done)
}
strip_members "$build/rtlib/librtlib.a" "$other/members-with"
strip_members "$other/rtlib/librtlib.a" "$other/members-without"
diff -r "$other/members-with" "$other/members-without" >/dev/null || {
  echo "FAIL: librtlib.a differs when the checked library is built:" \
    "$(diff -rq "$other/members-with" "$other/members-without" | head -5)"
  failures=$((failures + 1))
}
rm -rf "$other/members-with" "$other/members-without"
((failures == 0)) || exit 1
echo "the five images and librtlib.a are the same with and without the checked library"
