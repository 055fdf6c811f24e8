// Segments of the record pools: aligned blocks, on large pages from 2 MiB on where the system offers them.
#include "PooledArray.h"

#include "platform/LargePageMemory.h"

namespace midas2orvo {

void* AllocateSegment(std::size_t bytes) { return AllocateAligned(bytes, 16); }

void FreeSegment(void* segment, std::size_t bytes) { FreeAligned(segment, bytes); }

} // namespace midas2orvo
