// Files by UTF-8 path with 64-bit offsets: the file calls that differ between Linux and Windows.
#pragma once

#include <cstdint>
#include <cstdio>

namespace midas2orvo {

// Opens the file at a UTF-8 path for reading bytes, or returns null when it cannot be opened or is not a
// regular file (a directory, FIFO, socket or device is refused at once, never waited on). size is set
// to its length in bytes. On Windows a path that is not valid UTF-8 is taken in the ANSI code page, as
// older hosts pass their paths.
std::FILE* OpenRegularFile(const char* path, std::int64_t& size);

// Moves the file to a byte offset, also past 2 GB; false when it cannot.
bool SeekFile(std::FILE* file, std::int64_t offset);

} // namespace midas2orvo
