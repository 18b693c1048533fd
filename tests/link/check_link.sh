#!/usr/bin/env bash
# Links through the installed package and by the README's hand link lines:
#   - one image per profile both ways, which must be the same bytes;
#   - faulty images (no entry, a misspelt entry, a static constructor, a TLS callback), which
#     must fail to build with a message that says why, both ways.
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
consumer=$source_dir/tests/link/consumer
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
source "$source_dir/tests/support/failures.sh"

configure() { # <build dir> [cmake arguments...]
  local dir=$1
  shift
  cmake -S "$consumer" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS=-O2 \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/share/rtlib/mingw-w64-x86_64.cmake" \
    -DCMAKE_PREFIX_PATH="$prefix" "$@"
}

# The README's hand link block, one command per line, the install prefix put in.
source "$source_dir/tests/support/hand_links.sh"
commands=$(readme_hand_links "$source_dir/README.md" "$prefix")
compile=$(grep -- ' -c hello.cpp' <<<"$commands")
link_call=$(grep -- 'rtlib-call.rsp' <<<"$commands")
link_full=$(grep -- 'rtlib-inline-full.rsp' <<<"$commands")
link_reduced=$(grep -- 'rtlib-inline-reduced.rsp' <<<"$commands")
[[ -n $compile && -n $link_call && -n $link_full && -n $link_reduced ]] ||
  { echo "README: hand link block not found"; exit 1; }

# Both ways, one image per profile.
configure "$work/package" >/dev/null
cmake --build "$work/package" >/dev/null
mkdir "$work/hand"
cd "$work/hand"
for source in call_image constructor inline_image tls_callback; do
  cp "$consumer/$source.cpp" .
  eval "${compile//hello/$source}"
done
eval "${link_call//hello/call_image}"
eval "$(sed 's/report_main/full_main/; s/report\.o/inline_image.o/; s/report\.exe/full_image.exe/' <<<"$link_full")"
eval "$(sed 's/tiny_main/reduced_main/; s/tiny\.o/inline_image.o/; s/tiny\.exe/reduced_image.exe/' <<<"$link_reduced")"
for image in call_image full_image reduced_image; do
  cmp -s "$work/package/$image.exe" "$work/hand/$image.exe" ||
    fail "$image: the hand link line and rtlib_add_image give different images"
done

# DEBUG_INFO overrides the configuration: ON keeps symbols and DWARF sections in a build that
# strips, OFF strips in a Debug build, where the other images keep them.
has_debug() { x86_64-w64-mingw32-objdump -h "$1" | grep -q ' \.debug_info ' && x86_64-w64-mingw32-nm "$1" | grep -q ' rt_str_from_int$'; }
has_debug "$work/package/call_image_debug_on.exe" || fail "DEBUG_INFO ON: no debug information"
! has_debug "$work/package/call_image.exe" || fail "an empty build type kept debug information"
cmp -s "$work/package/call_image.exe" "$work/package/call_image_debug_off.exe" ||
  fail "DEBUG_INFO OFF: not the same image as the stripped one"
configure "$work/debug" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$work/debug" >/dev/null
has_debug "$work/debug/call_image.exe" || fail "Debug: no debug information"
! has_debug "$work/debug/call_image_debug_off.exe" || fail "Debug, DEBUG_INFO OFF: debug information kept"

# The pkg-config file's libraries, in place of the hand line's, link the same image; its include
# folder is the installed one. (The file finds the prefix from its own place, so its folders
# come as lib/pkgconfig/../..)
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
cflags=$(echo $(pkg-config --cflags rtlib))
[[ $(realpath "${cflags#-I}") == "$prefix/include" ]] ||
  fail "pkg-config --cflags rtlib gives '$cflags'"
pc_link="${link_call%% -L*} $(pkg-config --libs rtlib) -o call_image_pc.exe"
eval "${pc_link//hello/call_image}"
cmp -s "$work/package/call_image.exe" "$work/hand/call_image_pc.exe" ||
  fail "call_image: the libraries from pkg-config give a different image"

# Faulty images through the package: the build fails, with the message.
expect_failure() { # <what> <expected message> <command...>
  local what=$1 message=$2
  shift 2
  if "$@" >"$work/log" 2>&1; then
    fail "$what: built although it should not"
  elif ! grep -qF -- "$message" "$work/log"; then
    fail "$what: failed without the message '$message':"
    cat "$work/log"
  fi
}
expect_failure "package, no entry" "ENTRY <symbol> is required" \
  configure "$work/no_entry" -DBROKEN=no_entry
for case in "misspelt_entry:the entry symbol rt_strat is defined neither" \
  "constructor:the program has static constructors" \
  "tls_callback:the program has TLS callbacks"; do
  name=${case%%:*}
  configure "$work/$name" -DBROKEN="$name" >/dev/null
  expect_failure "package, $name" "${case#*:}" cmake --build "$work/$name"
done

# Faulty images by hand.
expect_failure "hand, no entry" "cannot find entry symbol rtlib_no_entry_named_after_the_response_file" \
  eval "$(sed 's/-Wl,-e,rt_start //; s/hello/call_image/g' <<<"$link_call")"
expect_failure "hand, misspelt entry" "cannot find entry symbol rt_strat" \
  eval "$(sed 's/-Wl,-e,rt_start/-Wl,-e,rt_strat/; s/hello/call_image/g' <<<"$link_call")"
expect_failure "hand, constructor" "the program has static constructors" \
  eval "$(sed 's/hello\.o/call_image.o constructor.o/; s/hello/broken/g' <<<"$link_call")"
expect_failure "hand, TLS callback" "the program has TLS callbacks" \
  eval "$(sed 's/tiny_main/reduced_main/; s/tiny\.o/inline_image.o tls_callback.o/; s/tiny/broken/' <<<"$link_reduced")"

if ((failures)); then
  exit 1
fi
echo "hand link lines and rtlib_add_image give the same images; faulty images fail to link"
