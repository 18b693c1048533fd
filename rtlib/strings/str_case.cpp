#include "platform.h"

// Both read and write only the text's bytes by its length. Which bytes are letters is the ANSI code
// page's business. The platform takes a 32-bit count: the length's low 32 bits.

extern "C" int64_t rt_str_lcase(StrView *text) {
  RT_CHECK(view_in_place, "text", text, 0);
  CharLowerBuffA(text->data, static_cast<DWORD>(text->length));
  return 0;
}

extern "C" int64_t rt_str_ucase(StrView *text) {
  RT_CHECK(view_in_place, "text", text, 0);
  CharUpperBuffA(text->data, static_cast<DWORD>(text->length));
  return 0;
}
