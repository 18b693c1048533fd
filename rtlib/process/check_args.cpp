#include "platform.h"

// Argument checks of the checked runtime. Memory that a block of the guarded heap holds is
// judged by that block (released, or how far it reaches); any other memory by the platform's
// page protection. Each check costs time linear in the bytes the routine itself reads or
// writes, and one look-up in the heap's tree.

namespace rt::check {
namespace {

constexpr DWORD readable_pages = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY |
                                 PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE |
                                 PAGE_EXECUTE_WRITECOPY;
constexpr DWORD writable_pages =
    PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

// The last regions of pages found accessible, newest in turn: a program's texts mostly lie in
// a few regions (its heap, its stack, its image), so most checks ask the platform nothing. A
// region released or protected anew since it was found is not seen as such.
struct Region {
  const char *base;
  const char *end;
  DWORD protect;
};
struct Regions {
  SRWLOCK lock;
  Region known[4];
  unsigned next;
};
Regions regions = {SRWLOCK_INIT, {}, 0};

// The committed region of pages at `address` when its protection allows `wanted`; its end
// goes to *end.
bool accessible(const char *address, DWORD wanted, const char **end) {
  AcquireSRWLockExclusive(&regions.lock);
  for (const Region &r : regions.known) {
    if (address >= r.base && address < r.end && (r.protect & wanted) != 0) {
      *end = r.end;
      ReleaseSRWLockExclusive(&regions.lock);
      return true;
    }
  }
  ReleaseSRWLockExclusive(&regions.lock);
  MEMORY_BASIC_INFORMATION region = {};
  if (VirtualQuery(address, &region, sizeof region) == 0 || region.State != MEM_COMMIT ||
      (region.Protect & PAGE_GUARD) != 0 || (region.Protect & wanted) == 0)
    return false;
  const char *base = static_cast<const char *>(region.BaseAddress);
  *end = base + region.RegionSize;
  AcquireSRWLockExclusive(&regions.lock);
  regions.known[regions.next++ % 4] = Region{base, *end, region.Protect};
  ReleaseSRWLockExclusive(&regions.lock);
  return true;
}

// `count` bytes at `at` (count > 0), read or written.
void span(Site site, const char *argument, const char *part, const void *at, uint64_t count,
          bool write) {
  const char *bytes = static_cast<const char *>(at);
  if (bytes == nullptr)
    fail(site, argument, "is null (% bytes to reach)", count, 0, part);
  Block block = {};
  if (find_block(bytes, &block)) {
    const auto into = static_cast<uint64_t>(bytes - block.start);
    if (block.released)
      fail(site, argument, "lies in a released block of % bytes", block.size, 0, part);
    if (into > block.size || count > block.size - into)
      fail(site, argument, "reaches % bytes past the end of its block of % bytes",
           count - (block.size - into), block.size, part);
    return;
  }
  const DWORD wanted = write ? writable_pages : readable_pages;
  if (count > UINTPTR_MAX - reinterpret_cast<uintptr_t>(bytes))
    fail(site, argument, "runs past the end of the address space (% bytes)", count, 0, part);
  const char *const last = bytes + count;
  for (const char *end = bytes; bytes < last; bytes = end)
    if (!accessible(bytes, wanted, &end))
      fail(site, argument,
           write ? "is no writable memory (% bytes to write)" : "is no readable memory (% bytes)",
           count, 0, part);
}

// A NUL-terminated text at `text` (not null): its NUL inside its block or readable memory.
void terminated(Site site, const char *argument, const char *part, const char *text) {
  Block block = {};
  if (find_block(text, &block)) {
    const auto into = static_cast<uint64_t>(text - block.start);
    if (block.released)
      fail(site, argument, "lies in a released block of % bytes", block.size, 0, part);
    if (into >= block.size || memchr(text, 0, block.size - into) == nullptr)
      fail(site, argument, "has no NUL before the end of its block of % bytes", block.size, 0,
           part);
    return;
  }
  for (const char *end = text;; text = end) {
    if (!accessible(text, readable_pages, &end))
      fail(site, argument, "is no readable memory before its NUL", 0, 0, part);
    if (memchr(text, 0, static_cast<size_t>(end - text)) != nullptr)
      return;
  }
}

// The view itself: its two words readable.
void view_words(Site site, const char *argument, const StrView *view, bool write) {
  if (view == nullptr)
    fail(site, argument, "is null");
  span(site, argument, "the view ", view, sizeof(StrView), write);
}

// The text of a view (its words checked already), read up to its NUL.
void view_terminated(Site site, const char *argument, const StrView *view) {
  if (view->data == nullptr)
    fail(site, argument, "its text is null (a text read up to its NUL)");
  terminated(site, argument, "its text ", view->data);
}

} // namespace

void readable(Site site, const char *argument, const void *bytes, uint64_t count) {
  if (count != 0)
    span(site, argument, "", bytes, count, false);
}

void writable(Site site, const char *argument, const void *bytes, uint64_t count) {
  if (count != 0)
    span(site, argument, "", bytes, count, true);
}

void view(Site site, const char *argument, const StrView *view) {
  view_words(site, argument, view, false);
  if (view->length != 0)
    span(site, argument, "its text ", view->data, view->length, false);
}

void view_text(Site site, const char *argument, const StrView *view) {
  view_words(site, argument, view, false);
  view_terminated(site, argument, view);
}

void view_text_unless_empty(Site site, const char *argument, const StrView *view) {
  view_words(site, argument, view, false);
  if (view->length != 0)
    view_terminated(site, argument, view);
}

void view_in_place(Site site, const char *argument, StrView *view, uint64_t extra) {
  view_words(site, argument, view, true);
  if (view->length != 0)
    span(site, argument, "its text ", view->data, view->length + extra, true);
}

void text(Site site, const char *argument, const char *text) {
  if (text == nullptr)
    fail(site, argument, "is null (a text read up to its NUL)");
  terminated(site, argument, "", text);
}

void text_or_null(Site site, const char *argument, const char *text) {
  if (text != nullptr)
    terminated(site, argument, "", text);
}

void writable_at(Site site, const char *argument, const void *base, uint64_t offset,
                 uint64_t count) {
  const uintptr_t address = reinterpret_cast<uintptr_t>(base) + offset;
  writable(site, argument, reinterpret_cast<const void *>(address), count);
}

void not_negative(Site site, const char *argument, int64_t value) {
  if (value < 0)
    fail(site, argument, "is negative");
}

void positive(Site site, const char *argument, int64_t value) {
  if (value < 1)
    fail(site, argument, "is below 1");
}

void not_null(Site site, const char *argument, const void *pointer) {
  if (pointer == nullptr)
    fail(site, argument, "is null");
}

void strvar(Site site, const char *argument, const StrVar *var) {
  if (var == nullptr)
    fail(site, argument, "is null");
  span(site, argument, "the variable ", var, sizeof(StrVar), false);
  const int64_t capacity = var->capacity;
  const int64_t length = var->length;
  if (length < 0)
    fail(site, argument, "has a negative length");
  const auto size = static_cast<uint64_t>(length);
  // The bytes the variable's text may use, and whether a terminator must follow it: a heap
  // variable's block has room for one only while the text is shorter than its capacity.
  uint64_t room = 0;
  bool terminator = true;
  if (capacity > 0) {
    room = static_cast<uint64_t>(capacity);
    terminator = size < room;
  } else if (capacity < 0) {
    room = 0u - static_cast<uint64_t>(capacity) - 1;
  }
  if (size > room)
    fail(site, argument, "has a length of % beyond its room of % bytes", size, room);
  if (size != 0 && var->data == nullptr)
    fail(site, argument, "has a null data pointer and a length of %", size);
  if (var->data == nullptr)
    return;
  span(site, argument, "its text ", var->data, size + (terminator ? 1 : 0), false);
  if (terminator && var->data[size] != 0)
    fail(site, argument, "has no NUL behind its % bytes of text", size);
  Block block = {};
  if (capacity > 0 && find_block(var->data, &block))
    fail(site, argument, "owns a block of rt_alloc (% bytes), where a malloc block belongs",
         block.size);
}

void temp(Site site, const char *argument, StrTemp temp) {
  if (temp.length < 0)
    fail(site, argument, "has a negative length");
  readable(site, argument, temp.data, static_cast<uint64_t>(temp.length));
  Block block = {};
  if (temp.data != nullptr && find_block(temp.data, &block))
    fail(site, argument, "is a block of rt_alloc (% bytes), where a malloc block belongs",
         block.size);
}

void distinct_blocks(Site site, const char *argument, const char *left, const char *right) {
  if (right != nullptr && right == left)
    fail(site, argument, "is the block of the other operand too");
}

void adoptable(Site site, const char *argument, const StrVar *var, const char *data,
               int64_t length) {
  if (length < 0)
    fail(site, argument, "comes with a negative length");
  if (data != nullptr && data == var->data && var->capacity != 0)
    fail(site, argument, "is the variable's own current block or buffer");
  if (data == nullptr && length == 0)
    return;
  span(site, argument, "", data, static_cast<uint64_t>(length) + 1, true);
  Block block = {};
  if (find_block(data, &block))
    fail(site, argument, "is a block of rt_alloc (% bytes), where a malloc block belongs",
         block.size);
}

void outside_var(Site site, const char *argument, const StrVar *var, const char *text) {
  const int64_t capacity = var->capacity;
  const uint64_t room =
      capacity < 0 ? 0u - static_cast<uint64_t>(capacity) : static_cast<uint64_t>(capacity);
  const auto at = reinterpret_cast<uintptr_t>(text);
  const auto start = reinterpret_cast<uintptr_t>(var->data);
  if (var->data != nullptr && at >= start && at - start < room)
    fail(site, argument, "lies in the variable's own storage (% bytes into it)", at - start);
}

} // namespace rt::check

// The inline building blocks' check of a string variable (rtlib_inline.hpp, RTLIB_CHECKED).
extern "C" void rt_check_strvar(const StrVar *var, const char *routine) {
  rt::check::strvar(rt::check::Site{routine, __builtin_return_address(0)}, "var", var);
}
