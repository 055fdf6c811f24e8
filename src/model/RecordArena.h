// RecordArena: the memory the host model's records are made in.
#pragma once

#include <cstddef>

namespace midas2orvo {

// Records of up to kLargestRecord bytes are carved, one after the other, out of large chunks of memory
// that each thread takes for itself: 64 KiB at first, doubling with every chunk up to 32 MiB, so building
// millions of records costs no heap block, header or lock per record. Each chunk counts its records alive; the record deleted last (on any thread)
// gives the chunk back. Larger records, and every record in builds with AddressSanitizer (so that it
// sees each one), come from the general heap.
class RecordArena {
public:
    static constexpr std::size_t kLargestRecord = 1024;

    static void* Allocate(std::size_t bytes);
    // Frees a record of Allocate; bytes must be the size it was allocated with.
    static void Free(void* record, std::size_t bytes) noexcept;
    // Chunks held now in the whole process, and whether records are carved from chunks at all (not in
    // builds with AddressSanitizer).
    static std::size_t ChunksHeld();
    static bool Carves();
};

} // namespace midas2orvo
