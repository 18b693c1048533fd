#!/usr/bin/env bash
# The consumer suite: installs rtlib from a finished Windows build into a scratch prefix and
# builds generated programs against that prefix alone, as a code generator's user would: a
# call-profile program in C (callprog.c) and inline-profile programs in C++ (inlineprog.cpp, on
# the building blocks) and in C (inlinec.c, on the layout constants).
# Each is linked twice, through find_package(rtlib) and by hand, and every image must run under
# Wine with exactly the expected bytes and exit code.
#
# Toolchains: every toolchain file named in RTLIB_CONSUMER_TOOLCHAINS (space-separated; the
# mingw-w64 GCC one by default) builds the package-linked images. The hand links use the
# compilers named by RTLIB_CONSUMER_CC and RTLIB_CONSUMER_CXX (mingw-w64 GCC by default).
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
consumer=$source_dir/tests/install/consumer
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
toolchains=${RTLIB_CONSUMER_TOOLCHAINS:-$source_dir/cmake/mingw-w64-x86_64.cmake}
cc=${RTLIB_CONSUMER_CC:-x86_64-w64-mingw32-gcc-posix}
cxx=${RTLIB_CONSUMER_CXX:-x86_64-w64-mingw32-g++-posix}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in lib/librtlib.a include/rtlib.h include/rtlib_layout.h include/rtlib_inline.hpp \
  lib/cmake/rtlib/rtlibConfig.cmake; do
  [[ -f "$prefix/$f" ]] || { echo "missing after install: $f"; exit 1; }
done

# Through the CMake package, once per toolchain.
images=()
n=0
for toolchain in $toolchains; do
  n=$((n + 1))
  cmake -S "$consumer" -B "$work/package$n" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_PREFIX_PATH="$prefix" >"$work/configure.log" 2>&1 || { cat "$work/configure.log"; exit 1; }
  cmake --build "$work/package$n" >"$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
  images+=("$work/package$n/callprog.exe" "$work/package$n/inlineprog.exe"
    "$work/package$n/inlinec.exe")
done

# By hand: compile against the installed headers, link against the installed library.
link=(-nostdlib -nostartfiles -s -Wl,--subsystem,console -Xlinker --stack=0x100000,0x1000
  -Wl,--heap,0x100000)
libs=(-L"$prefix/lib" -lrtlib -lkernel32 -luser32 -lmsvcrt -lkernel32 -lgcc)
"$cc" -std=c99 -O2 -Wall -Wextra -Wstrict-prototypes -pedantic -Werror -I"$prefix/include" \
  -c "$consumer/callprog.c" -o "$work/callprog.o"
"$cc" "${link[@]}" -Wl,-e,rt_start "$work/callprog.o" "${libs[@]}" -o "$work/callprog.exe"
"$cxx" -std=c++17 -O2 -fno-exceptions -fno-rtti -fno-stack-protector -fno-omit-frame-pointer \
  -Wall -Wextra -Werror -I"$prefix/include" -c "$consumer/inlineprog.cpp" -o "$work/inlineprog.o"
"$cxx" "${link[@]}" -Wl,-e,inlineprog_main "$work/inlineprog.o" "${libs[@]}" \
  -o "$work/inlineprog.exe"
inline_c_flags=(-std=c99 -O2 -fno-stack-protector -fno-omit-frame-pointer -Wall -Wextra
  -Wstrict-prototypes -pedantic -Werror)
"$cc" "${inline_c_flags[@]}" -I"$prefix/include" -c "$consumer/inlinec.c" -o "$work/inlinec.o"
"$cc" "${link[@]}" -Wl,-e,inlinec_main "$work/inlinec.o" "${libs[@]}" -o "$work/inlinec.exe"
images+=("$work/callprog.exe" "$work/inlineprog.exe" "$work/inlinec.exe")

expected_callprog=$(printf 'Hello, world!\r\nHELLO, WORLD!\r\n13\r\n1\r\n' | od -An -c)
code_callprog=39
expected_inlineprog=$(printf 'worker a=6 b=7 msg=threads\r\ninline profile!\r\ntag=trunc\r\n'\
'sum=13\r\nshared=threads\r\n' | od -An -c)
code_inlineprog=33
expected_inlinec=$(printf 'C inline\r\ntag=abc\r\ndoubled=42\r\n' | od -An -c)
code_inlinec=53

failed=0
for image in "${images[@]}"; do
  program=$(basename "$image" .exe)
  expected_name=expected_$program
  code_name=code_$program
  code=0
  /usr/lib/wine/wine64 "$image" >"$work/out" 2>/dev/null || code=$?
  got=$(od -An -c <"$work/out")
  if [[ "$got" != "${!expected_name}" || $code -ne ${!code_name} ]]; then
    echo "$image: exit code $code (expected ${!code_name}), output:"
    echo "$got"
    failed=1
  fi
done
((failed == 0)) || exit 1
echo "${#images[@]} consumer images (call and inline profile, C and C++, package and hand links) run as expected"
