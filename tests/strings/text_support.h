// Test inputs and result checks for the string routines, on both tiers.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "heap_block.h"
#include "rtlib.h"

// A fixed pseudo-random stream (a 64-bit linear congruential generator): next(bound) gives the
// next value below bound, the same in every run.
struct Pseudo {
  uint64_t state;
  uint32_t operator()(uint64_t bound) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return static_cast<uint32_t>((state >> 33) % bound);
  }
};

// A text in a block of exactly its length plus a terminator, so that a read past the
// terminator is caught by AddressSanitizer on the host.
struct Text {
  std::unique_ptr<char[]> bytes;
  StrView view;
  explicit Text(const std::string &s) : bytes(new char[s.size() + 1]) {
    memcpy(bytes.get(), s.data(), s.size());
    bytes[s.size()] = 0;
    view = StrView{bytes.get(), s.size()};
  }
  StrView *v() {
    return &view;
  }
};

// The text of a record by its length.
inline std::string text_of(const RtString *r) {
  return std::string(r->data, r->length);
}

// A record (or bare block) released with rt_free when the test is done with it.
struct Owned {
  void *block;
  explicit Owned(void *b) : block(b) {}
  ~Owned() {
    if (block != nullptr) {
      EXPECT_NE(rt_free(block), 0);
    }
  }
  Owned(const Owned &) = delete;
  Owned &operator=(const Owned &) = delete;
  RtString *operator->() const {
    return static_cast<RtString *>(block);
  }
  RtString *get() const {
    return static_cast<RtString *>(block);
  }
  explicit operator bool() const {
    return block != nullptr;
  }
};

// Checks the sized shape of a record built for its text (rt_str_dup and the edit routines):
// a block of length + 33 bytes, data at the text area, capacity equal to length, inline flag
// 1, the expected bytes and a NUL behind them.
inline testing::AssertionResult sized_record_holds(const RtString *r, const std::string &text) {
  if (r == nullptr)
    return testing::AssertionFailure() << "null record";
  const char *area = reinterpret_cast<const char *>(r) + 32;
  if (r->data != area)
    return testing::AssertionFailure() << "data is not at the text area";
  if (r->length != text.size() || r->capacity != text.size() || r->inline_flag != 1)
    return testing::AssertionFailure() << "header " << r->length << "/" << r->capacity << "/"
                                       << r->inline_flag << " for length " << text.size();
  if (text_of(r) != text || r->data[r->length] != 0)
    return testing::AssertionFailure() << "text '" << text_of(r) << "' or terminator";
  const auto size = heap_block_size(r);
  if (exact_heap_blocks && (!size || *size != text.size() + 33))
    return testing::AssertionFailure() << "block size " << (size ? *size : 0);
  return testing::AssertionSuccess();
}

// Checks a record of a fixed-size block: size, capacity, inline flag, text, and zeros from the
// terminator to the end of the block.
inline testing::AssertionResult fixed_record_holds(const RtString *r, uint64_t block,
                                                   uint64_t capacity, const std::string &text) {
  if (r == nullptr)
    return testing::AssertionFailure() << "null record";
  const char *area = reinterpret_cast<const char *>(r) + 32;
  if (r->data != area || r->length != text.size() || r->capacity != capacity || r->inline_flag != 1)
    return testing::AssertionFailure()
           << "header " << r->length << "/" << r->capacity << "/" << r->inline_flag;
  if (text_of(r) != text)
    return testing::AssertionFailure() << "text '" << text_of(r) << "'";
  for (uint64_t i = 32 + text.size(); i < block; ++i)
    if (reinterpret_cast<const char *>(r)[i] != 0)
      return testing::AssertionFailure() << "byte " << i << " of the block is not 0";
  const auto size = heap_block_size(r);
  if (exact_heap_blocks && (!size || *size != block))
    return testing::AssertionFailure() << "block size " << (size ? *size : 0);
  return testing::AssertionSuccess();
}
