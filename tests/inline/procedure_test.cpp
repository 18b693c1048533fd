// Procedure frames on both tiers: what a full-form frame holds when the body starts.
#include <gtest/gtest.h>

#include <cstring>

#include <rtlib_inline.hpp>

using namespace rt_inline;

namespace {

struct Variables {
  IntParam n;
  StrVar text;
  FixedStrVar<9> tag;
  int64_t local;
};
using Frame = ProcFrame<int64_t, Variables>;

unsigned char seen_frame[sizeof(Frame)];
const Frame *seen_at = nullptr;

// Leaves a recognisable pattern where the next procedure's frame will lie.
[[gnu::noinline]] void dirty_the_stack() {
  volatile unsigned char bytes[3 * 4096 + sizeof(Frame)];
  for (size_t i = 0; i < sizeof bytes; ++i)
    bytes[i] = 0xA5;
}

// An integer procedure with one integer parameter, a dynamic and a fixed-size string variable
// and an integer variable; its body only looks at its own frame.
[[gnu::noinline]] int64_t procedure(int64_t n) {
  Frame f;              // entry 1-2
  clear_frame(f);       // entry 3
  f.var.n.incoming = n; // entry 5
  zero_fixed_slots(f);  // entry 6
  store_zero(f.var.n.value);
  store_zero(f.var.text.length);
  store_zero(f.var.tag.var.length);
  store_zero(f.var.local);
  rt_strvar_init(&f.var.text); // entry 7
  rt_strvar_init_fixed(&f.var.tag.var, f.var.tag.buffer, 9);
  f.var.n.value = f.var.n.incoming; // entry 8
  // body: no statement
  std::memcpy(seen_frame, &f, sizeof f);
  seen_at = &f;
  rt_strvar_release(&f.var.text); // exit 1
  rt_strvar_release(&f.var.tag.var);
  close_handle_slots(f); // exit 2
  return f.result;       // exit 3
}

TEST(ProcFrame, EveryWordIsZeroAtBodyStartButParametersAndStartedStrings) {
  static_assert(sizeof(Frame) == 14032);
  dirty_the_stack();
  EXPECT_EQ(procedure(0x1234), 0); // a body that sets no result returns 0
  Frame f;
  std::memcpy(&f, seen_frame, sizeof f);
  EXPECT_EQ(f.var.n.incoming, 0x1234);
  EXPECT_EQ(f.var.n.value, 0x1234);
  EXPECT_EQ(f.var.text.capacity, 512);
  EXPECT_NE(f.var.text.data, nullptr);
  EXPECT_EQ(f.var.tag.var.capacity, -9);
  EXPECT_EQ(f.var.tag.var.data, reinterpret_cast<const char *>(seen_at) + offsetof(Frame, var) +
                                    offsetof(Variables, tag) + offsetof(FixedStrVar<9>, buffer));
  // Blank out the words just checked; nothing else may be nonzero.
  f.var.n = {};
  f.var.text.capacity = 0;
  f.var.text.data = nullptr;
  f.var.tag.var.capacity = 0;
  f.var.tag.var.data = nullptr;
  const unsigned char *bytes = reinterpret_cast<const unsigned char *>(&f);
  size_t nonzero = 0;
  for (size_t i = 0; i < sizeof f; ++i)
    nonzero += bytes[i] != 0;
  EXPECT_EQ(nonzero, 0u);
}

} // namespace
