// Aligned blocks of memory for the record arenas and pools; large ones mapped on their own.
#pragma once

#include <cstddef>

namespace midas2orvo {

// Blocks of this size and more are mapped on their own (Linux), 2 MiB aligned, in whole multiples of it.
// They are not advised to large pages: on the virtual machines measured, a fresh 2 MiB page cost as
// much as 512 small ones or more, and a 1M-node import took 6.0 s with the advice against 3.7 s without.
constexpr std::size_t kMappedBlock = std::size_t(2) << 20;

// A block of bytes aligned to alignment (a power of two, at least 16), or null when memory ran out.
// Blocks of kMappedBlock bytes and more go back to the system as soon as they are freed (but see
// ReusedMemory); elsewhere, and on Windows, they are ordinary heap memory.
void* AllocateAligned(std::size_t bytes, std::size_t alignment);
// Frees a block of AllocateAligned (null: nothing); bytes as it was allocated with.
void FreeAligned(void* block, std::size_t bytes);
// For memory that may come in any size: a block of at most bytes (a whole number of kMappedBlock
// bytes), 2 MiB aligned, taken from the blocks ReusedMemory keeps (the largest that fits, or the front of
// a larger one), with its size in taken; null when none is kept. FreeAligned frees it with that size.
void* TakeReused(std::size_t bytes, std::size_t& taken);

// While one is alive (on any thread), blocks of kMappedBlock bytes and more that are freed are kept mapped and
// handed out again, instead of going back to the system and coming back as fresh pages, which the system
// must clear first: a reading frees each load section's records before it reads the next. When the
// last one ends, the blocks kept go back.
class ReusedMemory {
public:
    ReusedMemory();
    ~ReusedMemory();
    ReusedMemory(const ReusedMemory&) = delete;
    ReusedMemory& operator=(const ReusedMemory&) = delete;
    // Keeps at most bytes from now on (blocks kept beyond go back at once, blocks freed beyond go back
    // as they are freed), until the last ReusedMemory ends: for memory that only serves a known need.
    static void KeepAtMost(std::size_t bytes);
};

} // namespace midas2orvo
