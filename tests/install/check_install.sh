#!/usr/bin/env bash
# Installs rtlib from a finished Windows build into a scratch prefix, then links a call-profile
# image against it twice: through find_package(rtlib), and by hand with a plain -lrtlib.
# Both images must run under Wine with the expected bytes and exit code.
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$build/wineprefix}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
for f in lib/librtlib.a include/rtlib.h lib/cmake/rtlib/rtlibConfig.cmake; do
  [[ -f "$work/prefix/$f" ]] || { echo "missing after install: $f"; exit 1; }
done

cmake -S "$source_dir/tests/install/consumer" -B "$work/package" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/package" >/dev/null

x86_64-w64-mingw32-g++-posix -O2 -fno-exceptions -fno-rtti -I"$work/prefix/include" \
  -c "$source_dir/tests/install/consumer/hello.cpp" -o "$work/hello.o"
x86_64-w64-mingw32-g++-posix -nostdlib -nostartfiles -s -Wl,-e,rt_start -Wl,--subsystem,console \
  -Xlinker --stack=0x100000,0x1000 -Wl,--heap,0x100000 "$work/hello.o" \
  -L"$work/prefix/lib" -lrtlib -lkernel32 -luser32 -lmsvcrt -lgcc -o "$work/plain.exe"

expected=$(printf -- '-7\r\ninstalled\r\n' | od -c)
for image in "$work/package/hello.exe" "$work/plain.exe"; do
  code=0
  /usr/lib/wine/wine64 "$image" >"$work/out" 2>/dev/null || code=$?
  got=$(od -c <"$work/out")
  if [[ "$got" != "$expected" || $code -ne 3 ]]; then
    echo "$image: unexpected output or exit code $code"
    echo "$got"
    exit 1
  fi
done
echo "installed package and plain -lrtlib both link working images"
