// Reading the data lines of a large block in pieces on several threads.
#include "ChunkedReading.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <memory>

#include "MidasBlock.h"
#include "TextUtils.h"

int ChunkedReading::ThreadsFor(int requested, std::int64_t amount, std::int64_t least)
{
    const int threads = requested > 0 ? requested : int(std::thread::hardware_concurrency());
    return amount < least ? 1 : std::clamp(threads, 1, 64);
}

ChunkedReading::ChunkedReading(int threads, std::size_t chunkBytes, int leadRecords)
    : m_nThreads(std::clamp(threads, 1, 64)), m_nChunkBytes(std::max<std::size_t>(chunkBytes, 1)),
      m_nLeadRecords(std::max(leadRecords, 0))
{
}

ChunkedReading::~ChunkedReading()
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_bStop = true;
    }
    m_Start.notify_all();
    for (std::thread& worker : m_Workers)
        worker.join();
}

void ChunkedReading::Run(int count, const std::function<void(int)>& task)
{
    count = std::min(count, m_nThreads);
    if (count <= 0)
        return;
    if (count > 1) {
        std::unique_lock<std::mutex> lock(m_Mutex);
        while (int(m_Workers.size()) < m_nThreads - 1)
            m_Workers.emplace_back(&ChunkedReading::Work, this, int(m_Workers.size()) + 1);
        m_pTask = &task;
        m_nCount = count;
        m_nPending = count - 1;
        ++m_nRound;
        lock.unlock();
        m_Start.notify_all();
    }
    task(0);
    if (count > 1) {
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_Done.wait(lock, [this] { return m_nPending == 0; });
        m_pTask = nullptr;
    }
}

void ChunkedReading::Work(int worker)
{
    unsigned seen = 0;
    for (;;) {
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_Start.wait(lock, [&] { return m_bStop || m_nRound != seen; });
        if (m_bStop)
            return;
        seen = m_nRound;
        if (worker >= m_nCount)
            continue;
        const std::function<void(int)>* task = m_pTask;
        lock.unlock();
        (*task)(worker);
        lock.lock();
        if (--m_nPending == 0)
            m_Done.notify_one();
    }
}

namespace {

// Whether the line feed at lf ends a line of the layout. Every line feed does in 511-byte pieces. Where
// whole lines are read, the physical line must end in a byte other than a blank or "\" (so it continues
// no line) and hold no NUL (which would cut its text short); a line longer than a few KiB is not taken.
bool EndsLine(std::string_view text, std::size_t lf, bool wholeLines)
{
    if (!wholeLines)
        return true;
    constexpr std::size_t kLongest = 4096;
    const std::size_t from = lf > kLongest ? lf - kLongest : 0;
    std::size_t start = from;
    for (std::size_t k = lf; k > from; --k)
        if (text[k - 1] == '\n') {
            start = k;
            break;
        }
    if (start == from && from > 0 && text[from - 1] != '\n')
        return false;
    if (std::memchr(text.data() + start, '\0', lf - start))
        return false;
    std::size_t end = lf;
    if (end > start && text[end - 1] == '\r')
        --end;
    while (end > start && IsBlank(static_cast<unsigned char>(text[end - 1])))
        --end;
    return end > start && text[end - 1] != '\\';
}

} // namespace

std::size_t LineCut(std::string_view text, std::size_t from, bool wholeLines, bool backward)
{
    if (backward) {
        for (std::size_t k = std::min(from, text.size()); k > 0; --k)
            if (text[k - 1] == '\n' && EndsLine(text, k - 1, wholeLines))
                return k;
        return std::string_view::npos;
    }
    for (std::size_t k = from; k < text.size(); ++k) {
        const void* lf = std::memchr(text.data() + k, '\n', text.size() - k);
        if (!lf)
            break;
        k = std::size_t(static_cast<const char*>(lf) - text.data());
        if (EndsLine(text, k, wholeLines))
            return k + 1;
    }
    return std::string_view::npos;
}

namespace {

// Keeps the findings of a piece, to be told in file order once the pieces are joined.
class KeptFindings : public MidasDiagnostics {
public:
    void Report(const MidasFindingInfo& finding) override { findings.push_back(finding); }
    std::vector<MidasFindingInfo> findings;
};

// One piece of the lines ahead and what reading it gave.
struct Piece {
    std::size_t begin = 0;  // bytes of the slab
    std::size_t end = 0;
    // Counted first: the lines to parse (neither passed over nor ending the block) before the first
    // line that ends the block, and whether there is such a line.
    int candidates = 0;
    bool endsBlock = false;
    // Then parsed: the records made in places first, first + 1, ...
    int first = 0;
    int made = 0;
    bool stopped = false;    // at a line that ends the block or was rejected: the block may end here
    bool abandoned = false;  // an earlier piece stopped, or making records failed
    std::size_t stop = 0;    // bytes of the slab up to the line it stopped at (end when none)
    std::int64_t lineFeeds = 0;
    long long counted = 0;   // data lines for the ledger
    long long firstCounted = -1;
    std::int64_t countedTo = 0;
    bool lastCounted = false;  // the last line read was counted
    long long idsTaken = 0;
    bool idsRefused = false;
    KeptFindings findings;
    std::vector<std::pair<int, unsigned char>> spans;  // records read from other than one counted line
};

// The lines of text the classic layout parses: it reads pieces of at most 511 bytes, each up to and
// with a line feed, ends no block and passes over a piece that starts with ";" (an empty piece, a line
// feed alone, is parsed). Counted where the text stands, without reading the pieces.
int CountClassicLines(std::string_view text)
{
    int count = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t most = std::min(LineStream::kPhysicalLine, text.size() - at);
        const void* lf = std::memchr(text.data() + at, '\n', most);
        count += text[at] != ';';
        at = lf ? std::size_t(static_cast<const char*>(lf) - text.data()) + 1 : at + most;
    }
    return count;
}

// Lowers a shared minimum to value.
void Lower(std::atomic<int>& minimum, int value)
{
    int now = minimum.load();
    while (value < now && !minimum.compare_exchange_weak(now, value)) {
    }
}

} // namespace

void MidasBlock::ReadInChunks(LineSource& lines, ChunkedReading& chunks)
{
    const ReadingLayout& layout = Layout();
    LineStream& stream = lines.Stream();
    const int threads = chunks.Threads();
    const bool ledger = lines.LedgerOf() != nullptr;
    std::vector<Piece> pieces;
    while (!lines.HasPending()) {
        // The lines ahead, cut into one piece per thread where a line starts; the bytes after the last
        // cut (and a text too short for two pieces) are left to the one-thread reading.
        const std::string_view slab = stream.Ahead(std::size_t(threads) * chunks.ChunkBytes());
        const std::int64_t slabOffset = stream.Tell();
        if (slab.size() < 2 * chunks.ChunkBytes())
            return;
        const std::size_t last = LineCut(slab, slab.size(), layout.current, true);
        if (last == std::string_view::npos)
            return;
        pieces.clear();
        for (std::size_t begin = 0; begin < last && int(pieces.size()) < threads;) {
            const std::size_t target = begin + std::max<std::size_t>(1, (last - begin) / std::size_t(threads - int(pieces.size())));
            std::size_t end = int(pieces.size()) + 1 == threads ? last : LineCut(slab, target - 1, layout.current);
            if (end == std::string_view::npos || end > last)
                end = last;
            pieces.emplace_back();
            pieces.back().begin = begin;
            pieces.back().end = end;
            begin = end;
        }
        if (pieces.size() < 2)
            return;

        // Count each piece's lines to parse, as ReadDataLine delivers them, up to a line ending the block.
        std::atomic<bool> failed{false};
        chunks.Run(int(pieces.size()), [&](int k) {
            Piece& piece = pieces[std::size_t(k)];
            try {
                if (!layout.current) {
                    piece.candidates = CountClassicLines(slab.substr(piece.begin, piece.end - piece.begin));
                    return;
                }
                LineStream view;
                view.OpenView(slab.data() + piece.begin, piece.end - piece.begin, 0, 0);
                std::string line;
                while (layout.ReadLine(view, line)) {
                    if (layout.EndsBlock(line)) {
                        piece.endsBlock = true;
                        break;
                    }
                    if (!layout.PassesOver(line))
                        ++piece.candidates;
                }
            } catch (...) {
                failed = true;
            }
        });
        if (failed)
            return;
        // The pieces up to the first that ends the block are parsed, into the places their records get.
        int parsed = 0;
        long long next = RecordCount();
        for (Piece& piece : pieces) {
            piece.first = int(std::min<long long>(next, INT_MAX));
            next += piece.candidates;
            ++parsed;
            if (piece.endsBlock)
                break;
        }
        // Places are reserved for every line to parse; a text of lines shorter than kShortestLine bytes on
        // average (blank lines, say) is no large model's block and is read on one thread.
        constexpr long long kShortestLine = 12;
        if (next >= INT_MAX || next - RecordCount() > (long long)slab.size() / kShortestLine ||
            !m_pRecordClass->reserve(m_Records, int(next)))
            return;
        if (m_pDiagnostics)
            m_RecordOffsets.resize(std::size_t(next), -1);

        const long long idsLeft = IdBudget::Left();
        const std::int64_t countedFrom = lines.CountedTo();
        std::atomic<int> firstStop{INT_MAX};
        chunks.Run(parsed, [&](int k) {
            Piece& piece = pieces[std::size_t(k)];
            const std::int64_t pieceOffset = slabOffset + std::int64_t(piece.begin);
            // The IDs this piece's ranges take come from a budget of its own, as large as the one left.
            std::unique_ptr<IdBudget> budget(idsLeft >= 0 ? new IdBudget(idsLeft) : nullptr);
            MidasDiagnostics* sink = m_pDiagnostics ? &piece.findings : nullptr;
            LineStream view;
            view.OpenView(slab.data() + piece.begin, piece.end - piece.begin, pieceOffset, 0);
            std::int64_t countedTo = countedFrom;
            std::string line;
            piece.stop = piece.end;
            int making = -1;  // the place of a record made and not yet kept or destroyed
            try {
                for (;;) {
                    const std::int64_t offset = view.Tell();
                    const std::int64_t lineFeeds = view.LineFeedsBefore();
                    if (!layout.ReadLine(view, line))
                        break;
                    const bool stops = layout.EndsBlock(line);
                    // Counted by the ledger as the line is delivered, unless it is the one the block ends at.
                    const bool fresh = !stops && ledger && offset >= countedTo;
                    const bool counts = fresh && IsDataLine(line);
                    const std::int64_t countedAfter = fresh ? view.Tell() : countedTo;
                    if (!stops && layout.PassesOver(line)) {
                        countedTo = countedAfter;
                        piece.lastCounted = false;
                        continue;
                    }
                    if (!stops && (piece.made & 63) == 0 && firstStop.load(std::memory_order_relaxed) < k) {
                        piece.abandoned = true;
                        break;
                    }
                    const long long idsBefore = IdBudget::Left();
                    MidasRecord* record = stops ? nullptr : m_pRecordClass->makeAt(m_Records, piece.first + piece.made);
                    making = record ? piece.first + piece.made : -1;
                    if (!record || !record->Parse(line.c_str())) {
                        if (record)
                            m_Records.DestroyAt(piece.first + piece.made);
                        making = -1;
                        IdBudget::Restore(idsBefore);  // the line is read again, by the one-thread reading
                        piece.stopped = true;
                        piece.stop = std::size_t(offset - slabOffset);
                        piece.lineFeeds = lineFeeds;
                        Lower(firstStop, k);
                        break;
                    }
                    making = -1;
                    countedTo = countedAfter;
                    piece.lastCounted = counts;
                    const int index = piece.first + piece.made++;
                    if (sink) {
                        Inspect(sink, line.c_str(), *record, offset);
                        m_RecordOffsets[std::size_t(index)] = offset;
                    }
                    if (counts) {
                        if (piece.counted++ == 0)
                            piece.firstCounted = offset;
                    } else if (ledger) {
                        piece.spans.emplace_back(index, 0);
                    }
                }
            } catch (...) {
                if (making >= 0)
                    m_Records.DestroyAt(making);
                piece.abandoned = true;  // read again on the calling thread, which meets the failure itself
            }
            if (!piece.stopped)
                piece.lineFeeds = view.LineFeedsBefore();
            piece.countedTo = countedTo;
            piece.idsTaken = idsLeft >= 0 ? idsLeft - IdBudget::Left() : 0;
            piece.idsRefused = IdBudget::Refused();
        });

        // Join the pieces in file order up to the one the block may end in; undo the rest.
        std::size_t joined = 0;
        long long idsTaken = 0;
        bool redo = false;
        for (; joined < std::size_t(parsed); ++joined) {
            const Piece& piece = pieces[joined];
            idsTaken += piece.idsTaken;
            redo = redo || piece.abandoned || piece.idsRefused;
            if (piece.stopped || piece.abandoned)
                break;
        }
        joined = std::min(joined + 1, std::size_t(parsed));
        // IDs the pieces took that the budget did not hold: the one-thread reading refuses some range,
        // at a line no piece knows; it reads the lines again.
        redo = redo || (idsLeft >= 0 && idsTaken > idsLeft);
        for (std::size_t k = redo ? 0 : joined; k < std::size_t(parsed); ++k)
            for (int i = 0; i < pieces[k].made; ++i)
                m_Records.DestroyAt(pieces[k].first + i);
        if (redo) {
            if (m_pDiagnostics)
                m_RecordOffsets.resize(std::size_t(RecordCount()));
            return;
        }
        IdBudget::Take(idsTaken);
        const Piece& end = pieces[joined - 1];
        m_Records.AppendMade(end.first + end.made);
        if (m_pDiagnostics)
            m_RecordOffsets.resize(std::size_t(RecordCount()));
        std::int64_t lineFeeds = 0;
        long long counted = 0;
        long long firstCounted = -1;
        for (std::size_t k = 0; k < joined; ++k) {
            const Piece& piece = pieces[k];
            for (const MidasFindingInfo& finding : piece.findings.findings)
                m_pDiagnostics->Report(finding);
            for (const auto& span : piece.spans) {
                m_LinesOf.resize(std::size_t(span.first), 1);
                m_LinesOf.push_back(span.second);
            }
            lineFeeds += piece.lineFeeds;
            if (firstCounted < 0)
                firstCounted = piece.firstCounted;
            counted += piece.counted;
        }
        lines.Consume(end.stop, lineFeeds, counted, firstCounted, std::max(countedFrom, end.countedTo),
                      !end.stopped && end.lastCounted);
        if (end.stopped || end.abandoned || joined < pieces.size())
            return;
    }
}
