// Segments of the record pools: aligned blocks, mapped on their own from 2 MiB on.
#include "PooledArray.h"

#include "platform/MappedMemory.h"

namespace midas2orvo {

void* AllocateSegment(std::size_t bytes) { return AllocateAligned(bytes, 16); }

void FreeSegment(void* segment, std::size_t bytes) { FreeAligned(segment, bytes); }

} // namespace midas2orvo
