// Aligned blocks of memory for the record arenas and pools, with large pages where the system has them.
#pragma once

#include <cstddef>

namespace midas2orvo {

// Size of a large page (2 MiB on x86-64 Linux): blocks of this size and more are advised to be backed by
// large pages, one page fault per 2 MiB instead of one per 4 KiB.
constexpr std::size_t kLargePage = std::size_t(2) << 20;

// A block of bytes aligned to alignment (a power of two, at least 16), or null when memory ran out.
// Blocks of kLargePage bytes and more are asked for large pages where the system offers them (Linux:
// transparent huge pages in madvise or always mode), and their memory goes back to the system as soon
// as they are freed; elsewhere they are ordinary memory.
void* AllocateAligned(std::size_t bytes, std::size_t alignment);
// Frees a block of AllocateAligned (null: nothing); bytes as it was allocated with.
void FreeAligned(void* block, std::size_t bytes);

// While one is alive (on any thread), blocks of a large page and more that are freed are kept mapped and
// handed out again, instead of going back to the system and coming back as fresh pages, which the system
// must clear first: a reading frees each load section's records before it reads the next. When the
// last one ends, the blocks kept go back.
class ReusedMemory {
public:
    ReusedMemory();
    ~ReusedMemory();
    ReusedMemory(const ReusedMemory&) = delete;
    ReusedMemory& operator=(const ReusedMemory&) = delete;
};

} // namespace midas2orvo
