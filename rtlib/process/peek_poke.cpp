#include "platform.h"

extern "C" RT_LEAF int64_t rt_peek_byte(const void *address) {
  RT_CHECK(readable, "address", address, 1);
  return *static_cast<const unsigned char *>(address);
}

extern "C" RT_LEAF int64_t rt_poke_byte(void *address, int64_t value) {
  RT_CHECK(writable, "address", address, 1);
  *static_cast<unsigned char *>(address) = static_cast<unsigned char>(value);
  return 0;
}
