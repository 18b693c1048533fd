// Stand-ins for the calls of the checked runtime: a lock, the memory regions of this process
// (read from /proc/self/maps, so real stack, static and heap memory answer as they are), the
// module a region belongs to, and environment variables (the real environment).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "rt_host_platform.h"

namespace {

// One lock stands in for every SRWLOCK (the runtime has one).
std::mutex &lock_of() {
  static std::mutex m;
  return m;
}

struct Mapping {
  uintptr_t start = 0, end = 0;
  DWORD protect = PAGE_NOACCESS;
  std::string path;
};

// The mapping holding `address`, or one whose end is 0 when none does.
Mapping mapping_at(uintptr_t address) {
  Mapping found;
  FILE *maps = fopen("/proc/self/maps", "r");
  if (maps == nullptr)
    return found;
  char line[512];
  while (fgets(line, sizeof line, maps) != nullptr) {
    unsigned long start = 0, end = 0;
    char perms[8] = {};
    int path_at = 0;
    if (sscanf(line, "%lx-%lx %7s %*s %*s %*s %n", &start, &end, perms, &path_at) < 3)
      continue;
    if (address < start || address >= end)
      continue;
    found.start = start;
    found.end = end;
    const bool r = perms[0] == 'r', w = perms[1] == 'w', x = perms[2] == 'x';
    found.protect = !r  ? PAGE_NOACCESS
                    : x ? (w ? PAGE_EXECUTE_READWRITE : PAGE_EXECUTE_READ)
                        : (w ? PAGE_READWRITE : PAGE_READONLY);
    found.path = line + path_at;
    while (!found.path.empty() && (found.path.back() == '\n' || found.path.back() == ' '))
      found.path.pop_back();
    break;
  }
  fclose(maps);
  return found;
}

} // namespace

extern "C" {

void AcquireSRWLockExclusive(SRWLOCK *) {
  lock_of().lock();
}
void ReleaseSRWLockExclusive(SRWLOCK *) {
  lock_of().unlock();
}

SIZE_T VirtualQuery(LPCVOID address, MEMORY_BASIC_INFORMATION *info, SIZE_T size) {
  const Mapping m = mapping_at(reinterpret_cast<uintptr_t>(address));
  *info = MEMORY_BASIC_INFORMATION{};
  if (m.end == 0) {
    info->BaseAddress =
        reinterpret_cast<PVOID>(reinterpret_cast<uintptr_t>(address) & ~uintptr_t{4095});
    info->RegionSize = 4096;
    info->State = MEM_FREE;
    return size;
  }
  info->BaseAddress = reinterpret_cast<PVOID>(m.start);
  info->AllocationBase = reinterpret_cast<PVOID>(m.start);
  info->RegionSize = m.end - m.start;
  info->State = MEM_COMMIT;
  info->Protect = m.protect;
  return size;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR path, DWORD size) {
  const Mapping m = mapping_at(reinterpret_cast<uintptr_t>(module));
  if (m.end == 0 || m.path.empty() || m.path.size() >= size)
    return 0;
  memcpy(path, m.path.c_str(), m.path.size() + 1);
  return static_cast<DWORD>(m.path.size());
}

DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size) {
  const char *value = getenv(name);
  if (value == nullptr)
    return 0;
  const size_t length = strlen(value);
  if (length >= size)
    return static_cast<DWORD>(length + 1);
  memcpy(buffer, value, length + 1);
  return static_cast<DWORD>(length);
}
}
