#include "platform.h"

// The guarded heap of the checked runtime. Every block is one block of the process's default
// heap: a header, the caller's bytes (zero-filled) and guard bytes behind them. The headers
// form a tree ordered by address (a treap whose priorities hash the address), so that the
// block holding any address is found in O(log n) expected steps. A released block stays in the
// tree, poisoned, in a quarantine of bounded size; when the quarantine is full its oldest block
// goes back to the heap. One slim lock, constant-initialised, guards it all.

namespace rt::check {
namespace {

struct alignas(16) Header {
  Header *left;
  Header *right;
  Header *next_released; // the quarantine's order, oldest first
  uint64_t size;         // the caller's bytes
  const void *made_at;   // where the routine that made it was called
  const char *made_by;   // that routine
  uint64_t serial;       // order of making
  uint64_t released;     // 1 while in the quarantine
};
static_assert(sizeof(Header) == 64, "the caller's bytes keep the heap's 16-byte alignment");

constexpr uint64_t guard_bytes = 16;
constexpr unsigned char guard_fill = 0xFD;
constexpr unsigned char poison_fill = 0xDD;
// The quarantine holds at most this many released blocks and bytes.
constexpr uint64_t quarantine_blocks = 4096;
constexpr uint64_t quarantine_bytes = uint64_t{16} << 20;

struct Heap {
  SRWLOCK lock;
  Header *root;
  Header *oldest;
  Header *newest;
  uint64_t released_blocks;
  uint64_t released_bytes;
  uint64_t serial;
};
Heap heap = {SRWLOCK_INIT, nullptr, nullptr, nullptr, 0, 0, 0};

// The lock is taken and given back by hand, never held by an object: a report ends the
// process from inside, and gives the lock back first (halted).
void lock() {
  AcquireSRWLockExclusive(&heap.lock);
}
void unlock() {
  ReleaseSRWLockExclusive(&heap.lock);
}
// fail() for a caller that holds the lock.
[[noreturn]] void halt(Site site, const char *argument, const char *what, uint64_t first = 0,
                       uint64_t second = 0) {
  unlock();
  fail(site, argument, what, first, second);
}

char *bytes_of(Header *h) {
  return reinterpret_cast<char *>(h + 1);
}
uintptr_t key(const Header *h) {
  return reinterpret_cast<uintptr_t>(h);
}
uint64_t priority(const Header *h) {
  return (static_cast<uint64_t>(key(h)) >> 4) * 0x9E3779B97F4A7C15u;
}

// Splits a tree into the blocks below `at` and those at or above it.
void split(Header *tree, uintptr_t at, Header **below, Header **above) {
  if (tree == nullptr) {
    *below = *above = nullptr;
  } else if (key(tree) < at) {
    split(tree->right, at, &tree->right, above);
    *below = tree;
  } else {
    split(tree->left, at, below, &tree->left);
    *above = tree;
  }
}
// Joins two trees whose every block of `low` lies below every block of `high`.
Header *merge(Header *low, Header *high) {
  if (low == nullptr)
    return high;
  if (high == nullptr)
    return low;
  if (priority(low) > priority(high)) {
    low->right = merge(low->right, high);
    return low;
  }
  high->left = merge(low, high->left);
  return high;
}
void insert(Header *h) {
  Header *below = nullptr;
  Header *above = nullptr;
  split(heap.root, key(h), &below, &above);
  h->left = h->right = nullptr;
  heap.root = merge(merge(below, h), above);
}
void erase(Header *h) {
  Header *below = nullptr;
  Header *rest = nullptr;
  Header *above = nullptr;
  split(heap.root, key(h), &below, &rest);
  split(rest, key(h) + 1, &rest, &above);
  heap.root = merge(below, above);
}
// The block at the highest address at or below `address`.
Header *floor_of(const void *address) {
  const uintptr_t at = reinterpret_cast<uintptr_t>(address);
  Header *best = nullptr;
  for (Header *t = heap.root; t != nullptr;) {
    if (key(t) <= at) {
      best = t;
      t = t->right;
    } else {
      t = t->left;
    }
  }
  return best;
}
Header *holder_of(const void *address) {
  Header *h = floor_of(address);
  const char *at = static_cast<const char *>(address);
  if (h == nullptr || at < bytes_of(h) || at >= bytes_of(h) + h->size + guard_bytes)
    return nullptr;
  return h;
}

bool guard_intact(Header *h) {
  const char *guard = bytes_of(h) + h->size;
  for (uint64_t i = 0; i < guard_bytes; ++i)
    if (static_cast<unsigned char>(guard[i]) != guard_fill)
      return false;
  return true;
}

// The header of a block that rt_free or rt_realloc was given, or the report of why it is none.
Header *live_block(Site site, void *block) {
  Header *h = holder_of(block);
  if (h == nullptr)
    halt(site, "block",
         "is no block of rtlib's heap (a malloc block, a stack or static address, "
         "or one released long ago)");
  const auto into = static_cast<uint64_t>(static_cast<char *>(block) - bytes_of(h));
  if (h->released != 0) {
    if (into == 0)
      halt(site, "block", "was released already (a block of % bytes)", h->size);
    halt(site, "block", "lies % bytes into a released block of % bytes", into, h->size);
  }
  if (into != 0)
    halt(site, "block",
         "lies % bytes into a block of % bytes, not at its start (a moved data "
         "pointer?)",
         into, h->size);
  if (!guard_intact(h))
    halt(site, "block", "was written past its end (a block of % bytes)", h->size);
  return h;
}

void make_released(Header *h) {
  memset(bytes_of(h), poison_fill, h->size);
  h->released = 1;
  h->next_released = nullptr;
  if (heap.newest != nullptr)
    heap.newest->next_released = h;
  else
    heap.oldest = h;
  heap.newest = h;
  heap.released_blocks += 1;
  heap.released_bytes += h->size;
  while (heap.released_blocks > quarantine_blocks || heap.released_bytes > quarantine_bytes) {
    Header *gone = heap.oldest;
    heap.oldest = gone->next_released;
    if (heap.oldest == nullptr)
      heap.newest = nullptr;
    heap.released_blocks -= 1;
    heap.released_bytes -= gone->size;
    erase(gone);
    HeapFree(GetProcessHeap(), 0, gone);
  }
}

// A new block in the tree; the caller holds the lock.
Header *new_block(Site site, uint64_t size) {
  if (size > UINT64_MAX - sizeof(Header) - guard_bytes)
    return nullptr;
  void *raw = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Header) + size + guard_bytes);
  if (raw == nullptr)
    return nullptr;
  Header *h = static_cast<Header *>(raw);
  h->size = size;
  h->made_at = site.caller;
  h->made_by = site.routine;
  char *guard = bytes_of(h) + size;
  for (uint64_t i = 0; i < guard_bytes; ++i)
    guard[i] = static_cast<char>(guard_fill);
  h->serial = ++heap.serial;
  insert(h);
  return h;
}

// Visits the live blocks in address order.
template <typename Visit> void each_live(Header *tree, Visit &visit) {
  if (tree == nullptr)
    return;
  each_live(tree->left, visit);
  if (tree->released == 0)
    visit(tree);
  each_live(tree->right, visit);
}

} // namespace

bool find_block(const void *address, Block *block) {
  lock();
  Header *h = holder_of(address);
  if (h != nullptr)
    *block = Block{bytes_of(h), h->size, h->released != 0};
  unlock();
  return h != nullptr;
}

void *heap_alloc(Site site, uint64_t size) {
  lock();
  Header *h = new_block(site, size);
  unlock();
  return h == nullptr ? nullptr : bytes_of(h);
}

void *heap_realloc(Site site, void *block, uint64_t size) {
  if (block == nullptr)
    return heap_alloc(site, size);
  lock();
  Header *old = live_block(site, block);
  Header *moved = new_block(site, size);
  if (moved != nullptr) {
    memcpy(bytes_of(moved), block, old->size < size ? old->size : size);
    make_released(old);
  }
  unlock();
  return moved == nullptr ? nullptr : bytes_of(moved);
}

int64_t heap_free(Site site, void *block) {
  if (block == nullptr)
    return 0;
  lock();
  make_released(live_block(site, block));
  unlock();
  return 1;
}

void *made_at(Site site, void *block) {
  if (block != nullptr) {
    lock();
    Header *h = holder_of(block);
    h->made_at = site.caller;
    h->made_by = site.routine;
    unlock();
  }
  return block;
}

void at_exit(Site site) {
  constexpr int listed = 4;
  struct Tally {
    Site site;
    uint64_t blocks = 0;
    uint64_t bytes = 0;
    Header *first[listed] = {};
    void operator()(Header *h) {
      if (!guard_intact(h))
        halt(Site{site.routine, h->made_at}, "a block of rtlib's heap",
             "was written past its end (% bytes, made at the call site named here), found at exit",
             h->size);
      blocks += 1;
      bytes += h->size;
      // The earliest made, in order.
      for (int i = 0; i < listed; ++i) {
        if (first[i] == nullptr || h->serial < first[i]->serial) {
          for (int j = listed - 1; j > i; --j)
            first[j] = first[j - 1];
          first[i] = h;
          break;
        }
      }
    }
  } tally{site};
  lock();
  each_live(heap.root, tally);
  unlock();
  char flag[2] = {};
  if (tally.blocks == 0 || GetEnvironmentVariableA("RTLIB_CHECK_LEAKS", flag, sizeof flag) != 1 ||
      flag[0] != '1')
    return;
  Line line;
  line.add("rtlib check: ");
  line.number(tally.blocks);
  line.add(tally.blocks == 1 ? " block (" : " blocks (");
  line.number(tally.bytes);
  line.add(" bytes) still live at exit; made first");
  for (int i = 0; i < listed && tally.first[i] != nullptr; ++i) {
    line.add(i == 0 ? " by " : ", by ");
    line.add(tally.first[i]->made_by);
    line.add(" at ");
    line.site(tally.first[i]->made_at);
  }
  line.write();
}

} // namespace rt::check
