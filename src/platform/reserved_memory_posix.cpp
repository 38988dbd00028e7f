#include <sys/mman.h>
#include <unistd.h>

#include "platform/reserved_memory.h"

namespace morvane::platform {

void* reserveAddressSpace(std::size_t bytes) {
  void* base = ::mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  return base == MAP_FAILED ? nullptr : base;
}

bool commitAddressSpace(void* base, std::size_t bytes) {
  const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t rounded = (bytes + page - 1) / page * page;
  return ::mprotect(base, rounded, PROT_READ | PROT_WRITE) == 0;
}

void releaseAddressSpace(void* base, std::size_t reserved) {
  if (base != nullptr) ::munmap(base, reserved);
}

}  // namespace morvane::platform
