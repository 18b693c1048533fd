#include "platform.h"

// The four header words only, all zero (data null, inline flag 0): what rt_str_concat fills.
extern "C" RT_LEAF RtString *rt_str_blank(void) {
  return RT_MADE(static_cast<RtString *>(rt_alloc(sizeof(RtString))));
}
