// ChunkedReading: the threads that parse the data lines of large keyword blocks in pieces.
//
// A block's lines ahead are cut into pieces where the one-thread reading would start a line; one thread
// counts and parses each piece into the places of the block's records its lines will have, and the
// pieces are joined in file order. A piece after the one where the block ends was parsed for nothing
// and is undone; the line that may end the block is left to the one-thread reading, so the records,
// findings and ledger counts are those the one-thread reading gives. The translator's hand-over makes
// the host's large collections on such threads too.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

class ChunkedReading {
public:
    // Bytes of text each thread takes at a time.
    static constexpr std::size_t kChunkBytes = std::size_t(2) << 20;

    // The threads for work of a given amount (bytes of text, records to make): requested (0 or less: the
    // hardware threads), but 1 below least, where starting threads costs more than they save.
    static int ThreadsFor(int requested, std::int64_t amount, std::int64_t least);

    // Records a block reads on one thread before it goes on in pieces: blocks of a few lines are read
    // as they stand.
    static constexpr int kLeadRecords = 1024;

    ChunkedReading(int threads, std::size_t chunkBytes = kChunkBytes, int leadRecords = kLeadRecords);
    ~ChunkedReading();
    ChunkedReading(const ChunkedReading&) = delete;
    ChunkedReading& operator=(const ChunkedReading&) = delete;

    int Threads() const { return m_nThreads; }
    std::size_t ChunkBytes() const { return m_nChunkBytes; }
    int LeadRecords() const { return m_nLeadRecords; }

    // Runs task(0) .. task(count - 1), count at most Threads(), each on a thread of its own (task 0 on
    // the calling thread), and returns when all have returned. A task must not throw.
    void Run(int count, const std::function<void(int)>& task);

private:
    void Work(int worker);

    int m_nThreads;
    std::size_t m_nChunkBytes;
    int m_nLeadRecords;
    std::vector<std::thread> m_Workers;  // started at the first Run
    std::mutex m_Mutex;
    std::condition_variable m_Start;
    std::condition_variable m_Done;
    const std::function<void(int)>* m_pTask = nullptr;
    int m_nCount = 0;
    int m_nPending = 0;
    unsigned m_nRound = 0;
    bool m_bStop = false;
};

// Where a piece of the text may end: after a line feed at or after from (at or before from with
// backward) that ends a line of the layout, so that the next byte starts a line wherever the reading
// started before it. npos when there is none.
std::size_t LineCut(std::string_view text, std::size_t from, bool wholeLines, bool backward = false);
