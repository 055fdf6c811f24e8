// Large pages for the heap of mgt2orvo, so that building the host model of a large file does not take
// one page fault per 4 KiB.
#pragma once

#include <cstdint>

// Readies the heap for an import of a file of the given size: on Linux, reserves room for the records
// it will make and asks the system to back that room with large pages (2 MiB) as it is first used.
// Nothing is touched, so resident memory grows only as records are made. Does nothing for small files
// or where the system has no such pages.
void PrepareHeapForImport(std::int64_t fileBytes);
