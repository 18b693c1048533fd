// The scan shared by the routines that look text bytes up in a set of characters.
#pragma once

#include "platform.h"

namespace rt {

// The first place of the NUL-terminated text whose byte is in the NUL-terminated set (members
// true) or not in it (members false), or the text's terminator when there is none. The set is
// read once into 256 bits on the stack and each text byte is one bit test, so the cost is linear
// in text + set whatever the set's size.
const char *scan_set(const char *text, const char *set, bool members);

} // namespace rt
