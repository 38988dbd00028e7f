// Address space reserved up front and backed by memory only as it is
// committed: a buffer whose final size is not known can grow in place, never
// copied and never holding more than it was given.
#pragma once

#include <cstddef>

namespace morvane::platform {

// bytes of address space, none of it usable yet; nullptr when none is free.
void* reserveAddressSpace(std::size_t bytes);
// Makes the first bytes of a reservation usable (rounded up to whole pages).
bool commitAddressSpace(void* base, std::size_t bytes);
// Gives the whole reservation back; reserved is what reserveAddressSpace got.
void releaseAddressSpace(void* base, std::size_t reserved);

}  // namespace morvane::platform
