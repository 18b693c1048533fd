#include "platform.h"

extern "C" RT_LEAF int64_t rt_peek_byte(const void *address) {
  return *static_cast<const unsigned char *>(address);
}

extern "C" RT_LEAF int64_t rt_poke_byte(void *address, int64_t value) {
  *static_cast<unsigned char *>(address) = static_cast<unsigned char>(value);
  return 0;
}
