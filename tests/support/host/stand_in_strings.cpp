// Stand-ins for the heap calls (kernel32) and the case conversion calls (user32).
#include "stand_in_strings.h"

#include <cstring>
#include <map>
#include <mutex>

namespace standin {
namespace {

struct Heap {
  std::mutex lock;
  std::map<const void *, uint64_t> live;
  std::deque<bool> script;
  uint64_t limit = default_heap_limit;
};
Heap &heap() {
  static Heap h;
  return h;
}

// Whether the next request of this size is granted; takes one scripted outcome if any.
bool grant(Heap &h, uint64_t bytes) {
  bool ok = bytes <= h.limit;
  if (!h.script.empty()) {
    ok = ok && h.script.front();
    h.script.pop_front();
  }
  return ok;
}

void *new_block(Heap &h, DWORD flags, uint64_t bytes) {
  void *block = malloc(bytes);
  if (block == nullptr)
    return nullptr;
  memset(block, (flags & HEAP_ZERO_MEMORY) != 0 ? 0 : 0xBE, bytes);
  h.live[block] = bytes;
  return block;
}

} // namespace

void script_heap_results(std::deque<bool> results) {
  std::lock_guard guard(heap().lock);
  heap().script = std::move(results);
}
void set_heap_limit(uint64_t bytes) {
  std::lock_guard guard(heap().lock);
  heap().limit = bytes;
}
void reset_heap() {
  std::lock_guard guard(heap().lock);
  heap().script.clear();
  heap().limit = default_heap_limit;
}
std::optional<uint64_t> heap_block_size(const void *block) {
  std::lock_guard guard(heap().lock);
  const auto it = heap().live.find(block);
  if (it == heap().live.end())
    return std::nullopt;
  return it->second;
}
size_t heap_live_blocks() {
  std::lock_guard guard(heap().lock);
  return heap().live.size();
}

} // namespace standin

using standin::record;
using standin::word;

namespace {

// Windows-1252: ASCII letters, the Latin-1 letters from 0xC0 (0xD7 and 0xF7 are signs) and
// the pairs Š/š, Œ/œ, Ž/ž, Ÿ/ÿ.
unsigned char lower_1252(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
    return static_cast<unsigned char>(c + 0x20);
  if (c == 0x8A || c == 0x8C || c == 0x8E)
    return static_cast<unsigned char>(c + 0x10);
  if (c == 0x9F)
    return 0xFF;
  return c;
}

unsigned char upper_1252(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
    return static_cast<unsigned char>(c - 0x20);
  if (c == 0x9A || c == 0x9C || c == 0x9E)
    return static_cast<unsigned char>(c - 0x10);
  if (c == 0xFF)
    return 0x9F;
  return c;
}

} // namespace

extern "C" {

HANDLE GetProcessHeap(void) {
  record("GetProcessHeap", {});
  return standin::process_heap;
}

LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  record("HeapAlloc", {word(heap), word(flags), word(bytes)});
  auto &h = standin::heap();
  std::lock_guard guard(h.lock);
  if (heap != standin::process_heap || !standin::grant(h, bytes))
    return nullptr;
  return standin::new_block(h, flags, bytes);
}

LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes) {
  record("HeapReAlloc", {word(heap), word(flags), word(block), word(bytes)});
  auto &h = standin::heap();
  std::lock_guard guard(h.lock);
  const auto old = h.live.find(block);
  if (heap != standin::process_heap || old == h.live.end() || !standin::grant(h, bytes))
    return nullptr;
  const uint64_t old_size = old->second;
  void *moved = standin::new_block(h, flags, bytes);
  if (moved == nullptr)
    return nullptr;
  memcpy(moved, block, old_size < bytes ? old_size : bytes);
  h.live.erase(block);
  free(block);
  return moved;
}

BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID block) {
  record("HeapFree", {word(heap), word(flags), word(block)});
  auto &h = standin::heap();
  std::lock_guard guard(h.lock);
  const auto it = h.live.find(block);
  if (heap != standin::process_heap || it == h.live.end())
    return FALSE;
  h.live.erase(it);
  free(block);
  return TRUE;
}

DWORD CharLowerBuffA(LPSTR text, DWORD length) {
  record("CharLowerBuffA", {word(text), word(length)});
  for (DWORD i = 0; i < length; ++i)
    text[i] = static_cast<char>(lower_1252(static_cast<unsigned char>(text[i])));
  return length;
}

DWORD CharUpperBuffA(LPSTR text, DWORD length) {
  record("CharUpperBuffA", {word(text), word(length)});
  for (DWORD i = 0; i < length; ++i)
    text[i] = static_cast<char>(upper_1252(static_cast<unsigned char>(text[i])));
  return length;
}
}
