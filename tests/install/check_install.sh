#!/usr/bin/env bash
# The consumer suite: installs rtlib from a finished Windows build into a scratch prefix and
# builds generated programs against that prefix alone, as a code generator's user would: a
# call-profile program in C (callprog.c) and inline-profile programs in C++ (inlineprog.cpp, on
# the building blocks) and in C (inlinec.c, on the layout constants). Each is built through
# find_package(rtlib) with each installed toolchain file (GCC with ld, clang with lld) and
# linked by hand with the README's hand link lines; every image must run under Wine with
# exactly the expected bytes and exit code.
#
# RTLIB_CONSUMER_TOOLCHAINS (space-separated toolchain files) overrides the installed ones.
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
consumer=$source_dir/tests/install/consumer
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$build/wineprefix}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in lib/librtlib.a include/rtlib.h include/rtlib_layout.h include/rtlib_inline.hpp \
  lib/cmake/rtlib/rtlibConfig.cmake; do
  [[ -f "$prefix/$f" ]] || { echo "missing after install: $f"; exit 1; }
done
toolchains=${RTLIB_CONSUMER_TOOLCHAINS:-$prefix/share/rtlib/mingw-w64-x86_64.cmake \
$prefix/share/rtlib/clang-mingw-w64-x86_64.cmake}

# Through the CMake package, once per toolchain.
images=()
for toolchain in $toolchains; do
  dir=$work/$(basename "$toolchain" .cmake)
  cmake -S "$consumer" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_PREFIX_PATH="$prefix" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
  cmake --build "$dir" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
  images+=("$dir/callprog.exe" "$dir/inlineprog.exe" "$dir/inlinec.exe")
done

# By hand, with the README's lines: its compile line (for C without its two C++ options), then
# the link line of the program's profile.
source "$source_dir/tests/support/hand_links.sh"
commands=$(readme_hand_links "$source_dir/README.md" "$prefix")
compile=$(grep -- ' -c hello.cpp' <<<"$commands")
link_call=$(grep -- 'rtlib-call.rsp' <<<"$commands")
link_full=$(grep -- 'rtlib-inline-full.rsp' <<<"$commands")
fold=$(grep -- 'rtlib-fold-pdata' <<<"$commands")
[[ -n $compile && -n $link_call && -n $link_full && -n $fold ]] || { echo "README: no hand link lines"; exit 1; }
compile_c=$(sed 's/g++/gcc/; s/ -fno-exceptions//; s/ -fno-rtti//' <<<"$compile")
c_flags="-std=c99 -Wall -Wextra -Wstrict-prototypes -pedantic -Werror"
inline_flags="-fno-stack-protector -fno-omit-frame-pointer"
mkdir "$work/hand"
cd "$work/hand"
cp "$consumer"/callprog.c "$consumer"/inlineprog.cpp "$consumer"/inlinec.c .
eval "${compile_c/ -c hello.cpp/ $c_flags -c callprog.c}"
eval "${compile/ -c hello.cpp/ -std=c++17 $inline_flags -Wall -Wextra -Werror -c inlineprog.cpp}"
eval "${compile_c/ -c hello.cpp/ $c_flags $inline_flags -c inlinec.c}"
eval "${link_call//hello/callprog}"
for program in inlineprog inlinec; do
  eval "$(sed "s/report_main/${program}_main/; s/report\./$program./g" <<<"$link_full")"
done
eval "$(sed 's/ hello\.exe.*/ callprog.exe inlineprog.exe inlinec.exe/' <<<"$fold")"
images+=("$work/hand/callprog.exe" "$work/hand/inlineprog.exe" "$work/hand/inlinec.exe")

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
for image in "${images[@]}"; do
  echo "$(stat -c %s "$image") bytes: ${image#"$work"/}"
done
echo "${#images[@]} consumer images (call and inline profile, C and C++; package builds with" \
  "$(wc -w <<<"$toolchains") toolchains and hand links) run as expected"
