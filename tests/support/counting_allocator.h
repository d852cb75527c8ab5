#pragma once
// Wine cannot be made to refuse a heap allocation of a few bytes, so test programs that need
// that link this object in place of the module's AllocateBuffer and FreeBuffer. It counts,
// remembers every buffer handed out and freed, in order, and refuses from a chosen allocation on.

#include <climits>
#include <vector>

namespace counting_allocator {

void Reset(int allowed = INT_MAX);
const std::vector<void*>& Allocated();
const std::vector<void*>& Freed();

}  // namespace counting_allocator
