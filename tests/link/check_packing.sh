#!/usr/bin/env bash
# GCC builds: objects come out of rtlib-pack-as with code and read-only data sections that ask
# for no alignment beyond what their contents ask for, so that the images carry no padding
# between objects, and the images call C runtime routines through the import table, with no
# jump stubs of an import library.
#   check_packing.sh <build folder> <C++ compiler>
set -euo pipefail
build=$(cd "$1" && pwd)
compiler=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
pack=$source_dir/cmake/rtlib-pack-as
objdump=${compiler%g++*}objdump
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Alignment (as a power of two) of section <name> in object <file>.
alignment() {
  "$objdump" -h "$2" | awk -v name="$1" '$2 == name { sub(/^2\*\*/, "", $7); print $7 }'
}

cat >"$work/sample.cpp" <<'EOF'
#include <emmintrin.h>
extern "C" int one(int x) { return x + 1; }
alignas(16) static const unsigned char mask[16] = {1, 2, 3, 4, 5, 6, 7, 8,
                                                   9, 10, 11, 12, 13, 14, 15, 16};
extern "C" __m128i masked(__m128i x) {
  return _mm_and_si128(x, _mm_load_si128(reinterpret_cast<const __m128i *>(mask)));
}
extern "C" const char *text() { return "some text"; }
EOF
cd "$work"
# With -o and, as a hand compile line has it, without.
python3 "$pack" "$compiler" -Os -c sample.cpp -o packed.o
python3 "$pack" "$compiler" -Os -c sample.cpp
"$compiler" -Os -c sample.cpp -o plain.o
[[ -f sample.o && ! -e sample.o.s && ! -e packed.o.s ]] || fail "the assembly file was left behind"
cmp -s packed.o sample.o || fail "a compile without -o gives another object"
[[ $(alignment .text plain.o) == 4 ]] ||
  fail "the check is stale: the assembler no longer aligns plain code to 16 bytes"
[[ $(alignment '.text$rt' packed.o) == 0 ]] || fail "packed code keeps an alignment"
[[ $(alignment .rdata packed.o) == 4 ]] || fail "the 16-byte constant lost its alignment"
echo 'extern "C" const char *other_text() { return "other text"; }' >texts.cpp
python3 "$pack" "$compiler" -Os -c texts.cpp -o texts.o
[[ $(alignment .rdata texts.o) == 0 ]] || fail "packed texts keep an alignment"
# Padding would be filled with no-operation instructions; the packed code ends in the return.
last=$("$objdump" -d --no-show-raw-insn packed.o | awk -F'\t' 'NF >= 2 { op = $2 } END { print op }')
[[ $last == ret* ]] || fail "packed code ends in '$last', not in the last function's return"
last=$("$objdump" -d --no-show-raw-insn plain.o | awk -F'\t' 'NF >= 2 { op = $2 } END { print op }')
[[ $last != ret* ]] || fail "the check is stale: plain code no longer ends in padding"
# A failed compile fails, with the compiler's message.
echo "int broken(" >broken.cpp
if python3 "$pack" "$compiler" -c broken.cpp -o broken.o 2>"$work/log"; then
  fail "a compile error did not fail"
fi
grep -q "error" "$work/log" || fail "a compile error said nothing"

# In the images, runtime code sections follow one another with no gap, and no import library
# brought a jump stub to the runtime's own calls. (The inline-profile header's malloc and free
# keep theirs: calling them through the table made strdemo and threaddemo larger, not smaller.)
for map in "$build"/images/{parity,greeting,strdemo,threaddemo,minimal}.map; do
  while read -r problem; do
    fail "$(basename "$map" .map): $problem"
  done < <(python3 - "$map" <<'PYTHON'
import re
import sys

end = None
packed = 0
stub = None
for line in open(sys.argv[1]):
    if stub is not None:
        name = line.split()[-1] if line.split() else ""
        if name not in ("malloc", "free"):
            print("import library jump stub for", name)
        stub = None
    fields = line.split()
    if len(fields) < 4 or not fields[1].startswith("0x0000000140"):
        continue
    at, size = int(fields[1], 16), int(fields[2], 16)
    if fields[0] == ".text$rt":
        packed += 1
        if end is not None and at != end:
            print("padding before", fields[3])
        end = at + size
    elif fields[0] == ".text" and size and re.search(r"lib(msvcrt|kernel32|user32)\.a", fields[3]):
        stub = fields[3]
if packed < 3:
    print("no packed code")
PYTHON
  )
done

if ((failures)); then
  exit 1
fi
echo "objects packed, images without padding between runtime objects or import jump stubs"
