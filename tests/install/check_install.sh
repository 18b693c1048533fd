#!/usr/bin/env bash
# The consumer suite: installs rtlib from a finished Windows build into a scratch prefix and
# builds generated programs against that prefix alone, as a code generator's user would: a
# call-profile program in C (callprog.c) and inline-profile programs in C++ (inlineprog.cpp, on
# the building blocks) and in C (inlinec.c, on the layout constants), each also on the checked
# runtime (librtlib-checked.a), which must give the same output and exit code.
#   - Through find_package(rtlib), with each installed toolchain file (GCC with GNU ld, clang
#     with lld), in Debug and in Release, with a compiler launcher of the user's own and the
#     user's -Wa,-mbig-obj: the launcher must see every compile, GCC must write big objects,
#     Debug images must map addresses inside rtlib routines to their names and source lines,
#     Release images must carry no debug sections and be the same bytes as the README's hand
#     link of the same objects.
#   - By hand, with the README's compile and link lines.
# Every image must run under Wine with exactly the expected bytes and exit code, and nothing in
# the package or in the user's build may run Python.
#
# RTLIB_CONSUMER_TOOLCHAINS (space-separated toolchain files) overrides the installed ones.
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
consumer=$source_dir/tests/install/consumer
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
source "$source_dir/tests/support/failures.sh"

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in lib/librtlib.a lib/librtlib-checked.a include/rtlib.h include/rtlib_layout.h include/rtlib_inline.hpp \
  lib/cmake/rtlib/rtlibConfig.cmake lib/rtlib-call.rsp lib/rtlib-lld-call.rsp; do
  [[ -f "$prefix/$f" ]] || { echo "missing after install: $f"; exit 1; }
done
python_files=$(grep -rlE '^#!.*python|^(import|from) [a-z_.]+' "$prefix" || true)
[[ -z $python_files ]] || fail "the package holds Python: $python_files"
toolchains=${RTLIB_CONSUMER_TOOLCHAINS:-$prefix/share/rtlib/mingw-w64-x86_64.cmake \
$prefix/share/rtlib/clang-mingw-w64-x86_64.cmake}

# Whatever the user's build runs finds these first: a Python that says it was run, and fails.
mkdir "$work/shims"
for python in python python3; do
  printf '#!/bin/sh\necho "$0 $*" >>%s\nexit 1\n' "$work/python.log" >"$work/shims/$python"
  chmod +x "$work/shims/$python"
done
# The user's compiler launcher: notes the source of every compile, then runs it.
printf '#!/bin/sh\nfor a; do case $a in *.c|*.cpp) echo "$a";; esac; done >>"$LAUNCHER_LOG"\nexec "$@"\n' \
  >"$work/launcher"
chmod +x "$work/launcher"

source "$source_dir/tests/support/hand_links.sh"
gcc_commands=$(readme_hand_links "$source_dir/README.md" "$prefix" hand-link)
lld_commands=$(readme_hand_links "$source_dir/README.md" "$prefix" hand-link-lld)
gcc_link_call=$(grep -- 'rtlib-call.rsp' <<<"$gcc_commands")
gcc_link_full=$(grep -- 'rtlib-inline-full.rsp' <<<"$gcc_commands")
lld_link_call=$(grep -- 'rtlib-lld-call.rsp' <<<"$lld_commands")
[[ -n $gcc_link_call && -n $gcc_link_full && -n $lld_link_call ]] ||
  { echo "README: no hand link lines"; exit 1; }
# hand_link <toolchain file> <profile: call or full> <entry> <objects> <image>: the README's
# link line of that toolchain and profile; with a sixth word "checked", on the checked runtime.
hand_link() {
  local line
  if [[ $1 == *clang* ]]; then
    line=$lld_link_call
    [[ $2 == full ]] && line=${line/rtlib-lld-call.rsp/rtlib-lld-inline-full.rsp}
  else
    line=$gcc_link_call
    [[ $2 == full ]] && line=${line/rtlib-call.rsp/rtlib-inline-full.rsp}
  fi
  line=${line/-Wl,-e,rt_start/-Wl,-e,$3}
  line=${line/ hello.o / $4 }
  [[ ${6:-} == checked ]] && line=${line/ -lrtlib / -lrtlib-checked }
  eval "${line/-o hello.exe/-o $5}"
}
objdump=x86_64-w64-mingw32-objdump
debug_sections() { "$objdump" -h "$1" | awk '$2 ~ /^\.debug_/ { print $2 }'; }

# Through the CMake package, per toolchain and configuration.
images=()
for toolchain in $toolchains; do
  for config in Debug Release; do
    dir=$work/$(basename "$toolchain" .cmake)-$config
    export LAUNCHER_LOG=$dir.launched
    : >"$LAUNCHER_LOG"
    PATH=$work/shims:$PATH cmake -S "$consumer" -B "$dir" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_BUILD_TYPE=$config -DCMAKE_C_COMPILER_LAUNCHER="$work/launcher" \
      -DCMAKE_CXX_COMPILER_LAUNCHER="$work/launcher" -DCMAKE_C_FLAGS=-Wa,-mbig-obj \
      -DCMAKE_CXX_FLAGS=-Wa,-mbig-obj >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
    PATH=$work/shims:$PATH cmake --build "$dir" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
    images+=("$dir/callprog.exe" "$dir/inlineprog.exe" "$dir/inlinec.exe")
    images+=("$dir/callprog_checked.exe" "$dir/inlineprog_checked.exe" "$dir/inlinec_checked.exe")
    where="$(basename "$toolchain" .cmake) $config"
    for source in callprog.c inlineprog.cpp inlinec.c; do
      grep -q "/$source\$" "$LAUNCHER_LOG" || fail "$where: the launcher did not see $source"
      object=$dir/CMakeFiles/${source%.*}.dir/$source.obj
      if [[ $toolchain != *clang* ]]; then
        "$objdump" -f "$object" | grep -q 'file format pe-bigobj-x86-64' ||
          fail "$where: $source: -Wa,-mbig-obj gave no big object"
      fi
    done
    if [[ $config == Debug ]]; then
      # An address inside a routine built for size and one inside the matcher (inline image),
      # mapped to the routine's name and a line of its source.
      for pair in callprog:rt_str_from_int:str_from_int.cpp inlineprog:rt_like:like.cpp \
        callprog:program_main:callprog.c; do
        IFS=: read -r image routine file <<<"$pair"
        address=$(x86_64-w64-mingw32-nm "$dir/$image.exe" | awk -v r="$routine" '$3 == r { print $1 }')
        [[ -n $address ]] || { fail "$where: $image.exe has no symbol $routine"; continue; }
        inside=$(printf '0x%x' $((0x$address + 2)))
        # -i: the routine itself where code inlined into it stands at the address.
        mapped=$(x86_64-w64-mingw32-addr2line -f -i -e "$dir/$image.exe" "$inside" | tr '\n' ' ')
        [[ " $mapped" =~ \ $routine\ [^\ ]*/$file:[1-9] ]] ||
          fail "$where: $image.exe $inside ($routine) maps to '$mapped'"
        if [[ $routine == rt_* ]]; then
          mapped=$(gdb -batch -ex "info line *$inside" "$dir/$image.exe" 2>&1 | tail -1)
          [[ $mapped =~ ^Line\ [1-9][0-9]*\ of\ \"[^\"]*/$file\".*\<$routine ]] ||
            fail "$where: gdb maps $image.exe $inside ($routine) to '$mapped'"
        fi
      done
    else
      for image in callprog inlineprog inlinec; do
        [[ -z $(debug_sections "$dir/$image.exe") ]] ||
          fail "$where: $image.exe carries debug sections: $(debug_sections "$dir/$image.exe")"
      done
      objects=$dir/CMakeFiles
      hand_link "$toolchain" call rt_start "$objects/callprog.dir/callprog.c.obj" "$dir/callprog-hand.exe"
      hand_link "$toolchain" full inlineprog_main "$objects/inlineprog.dir/inlineprog.cpp.obj" \
        "$dir/inlineprog-hand.exe"
      hand_link "$toolchain" full inlinec_main "$objects/inlinec.dir/inlinec.c.obj" "$dir/inlinec-hand.exe"
      for image in callprog inlineprog inlinec; do
        cmp -s "$dir/$image.exe" "$dir/$image-hand.exe" ||
          fail "$where: $image.exe: rtlib_add_image and the hand link give different images"
      done
    fi
  done
done
[[ ! -s $work/python.log ]] || fail "the user's build ran Python: $(cat "$work/python.log")"

# By hand, with the README's lines: its compile line (for C without its two C++ options), then
# the link line of the program's profile.
c_flags="-std=c99 -Wall -Wextra -Wstrict-prototypes -pedantic -Werror"
inline_flags="-fno-stack-protector -fno-omit-frame-pointer"
mkdir "$work/hand"
cd "$work/hand"
cp "$consumer"/callprog.c "$consumer"/inlineprog.cpp "$consumer"/inlinec.c .
for commands in "$gcc_commands" "$lld_commands"; do
  compile=$(grep -- ' -c hello.cpp' <<<"$commands")
  [[ -n $compile ]] || { echo "README: no hand compile line"; exit 1; }
  compile_c=$(sed 's/g++-posix/gcc-posix/; s/clang++/clang/; s/ -fno-exceptions//; s/ -fno-rtti//' <<<"$compile")
  eval "${compile_c/ -c hello.cpp/ $c_flags -c callprog.c}"
  if [[ $commands == "$gcc_commands" ]]; then
    toolchain=gcc
    eval "${compile/ -c hello.cpp/ -std=c++17 $inline_flags -Wall -Wextra -Werror -c inlineprog.cpp}"
    eval "${compile_c/ -c hello.cpp/ $c_flags $inline_flags -c inlinec.c}"
    hand_link gcc full inlineprog_main inlineprog.o inlineprog-gcc.exe
    hand_link gcc full inlinec_main inlinec.o inlinec-gcc.exe
    images+=("$work/hand/inlineprog-gcc.exe" "$work/hand/inlinec-gcc.exe")
  else
    toolchain=clang
  fi
  hand_link $toolchain call rt_start callprog.o callprog-$toolchain.exe
  images+=("$work/hand/callprog-$toolchain.exe")
  # The checked runtime in place of the release one, with the same response file.
  hand_link $toolchain call rt_start callprog.o callprog-$toolchain-checked.exe checked
  grep -q "rtlib check: " callprog-$toolchain-checked.exe ||
    fail "callprog-$toolchain-checked.exe: linked without the checked runtime"
  images+=("$work/hand/callprog-$toolchain-checked.exe")
done

expected_callprog=$(printf 'Hello, world!\r\nHELLO, WORLD!\r\n13\r\n1\r\n' | od -An -c)
code_callprog=39
expected_inlineprog=$(printf 'worker a=6 b=7 msg=threads\r\ninline profile!\r\ntag=trunc\r\n'\
'sum=13\r\nshared=threads\r\n' | od -An -c)
code_inlineprog=33
expected_inlinec=$(printf 'C inline\r\ntag=abc\r\ndoubled=42\r\n' | od -An -c)
code_inlinec=53

for image in "${images[@]}"; do
  program=$(basename "$image" .exe)
  program=${program%%-*}
  program=${program%_checked}
  expected_name=expected_$program
  code_name=code_$program
  code=0
  /usr/lib/wine/wine64 "$image" >"$work/out" 2>"$work/err" || code=$?
  got=$(od -An -c <"$work/out")
  if [[ "$got" != "${!expected_name}" || $code -ne ${!code_name} ]]; then
    fail "$image: exit code $code (expected ${!code_name}), output: $got"
  fi
  [[ ! -s $work/err ]] || fail "$image: standard error: $(head -c 300 "$work/err")"
done
((failures == 0)) || exit 1
for image in "${images[@]}"; do
  echo "$(stat -c %s "$image") bytes: ${image#"$work"/}"
done
echo "${#images[@]} consumer images (call and inline profile, C and C++; package builds with" \
  "$(wc -w <<<"$toolchains") toolchains in Debug and Release, and hand links) run as expected"
