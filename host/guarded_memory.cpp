#include "guarded_memory.h"

#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace weltor {

unsigned char* allocateGuarded(std::size_t size) {
#if defined(_WIN32)
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  const std::size_t page = info.dwPageSize;
#else
  const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
#endif
  const std::size_t usable = (size + page - 1) / page * page;
#if defined(_WIN32)
  auto* base = static_cast<unsigned char*>(
      VirtualAlloc(nullptr, usable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  if (base == nullptr) std::abort();
  DWORD previous = 0;
  VirtualProtect(base + usable, page, PAGE_NOACCESS, &previous);
#else
  void* mapped = mmap(nullptr, usable + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) std::abort();
  auto* base = static_cast<unsigned char*>(mapped);
  mprotect(base + usable, page, PROT_NONE);
#endif
  return base + usable - size;
}

}  // namespace weltor
