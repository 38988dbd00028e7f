#include <windows.h>

#include "platform/reserved_memory.h"

namespace morvane::platform {

void* reserveAddressSpace(std::size_t bytes) {
  return ::VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_NOACCESS);
}

bool commitAddressSpace(void* base, std::size_t bytes) {
  return ::VirtualAlloc(base, bytes, MEM_COMMIT, PAGE_READWRITE) != nullptr;
}

void releaseAddressSpace(void* base, std::size_t) {
  if (base != nullptr) ::VirtualFree(base, 0, MEM_RELEASE);
}

}  // namespace morvane::platform
