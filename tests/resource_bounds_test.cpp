// Resource bounds: huge lines, runs of blank lines, the ID budget of a file, a model cut off at every byte.
// Each input gives a defined outcome in bounded time and memory. The quick suite runs small sizes;
// MIDAS2ORVO_LONG_TESTS the full ones (100 MB lines, ten million blank lines, 2^26 IDs, every byte).
#include <algorithm>

#include "ModelDump.h"
#include "TestSupport.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define MIDAS2ORVO_SANITIZED
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define MIDAS2ORVO_SANITIZED
#endif
#endif

namespace {

constexpr std::size_t kMiB = 1 << 20;
constexpr bool kLong = MIDAS2ORVO_LONG_TESTS;
const std::string kUnits = "*UNIT\nKN, MM, KJ, C\n\n";

// A file of head, then bytes bytes of pattern repeated (the last copy cut short), then tail.
std::unique_ptr<TempFile> Repeated(const std::string& head, const std::string& pattern, std::size_t bytes, const std::string& tail)
{
    auto file = std::make_unique<TempFile>(head);
    std::string chunk;
    while (chunk.size() < kMiB) chunk += pattern;  // whole copies only, so the pattern runs on across chunks
    std::ofstream out(file->path(), std::ios::binary | std::ios::app);
    for (std::size_t left = bytes; left > 0; left -= std::min(left, chunk.size()))
        out.write(chunk.data(), std::streamsize(std::min(left, chunk.size())));
    out << tail;
    return file;
}

// Kilobytes of a /proc/self/status entry.
[[maybe_unused]] long long Status(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, key.size(), key) == 0) return std::atoll(line.c_str() + key.size());
    return 0;
}

// Translates the file at path, checking that the peak resident memory grows by less than limit MiB where a
// plain run measures it (sanitizers quarantine freed memory, valgrind keeps copies of its own).
std::unique_ptr<Translated> Measured(const std::string& path, MidasReadingProfile profile, long long limit)
{
#ifdef MIDAS2ORVO_SANITIZED
    (void)limit;
    return std::make_unique<Translated>(path, profile, true);
#else
    const bool measures = !std::getenv("LD_PRELOAD") && std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak
    const long long start = Status("VmRSS:");
    auto run = std::make_unique<Translated>(path, profile, true);
    EXPECT_LT(measures ? Status("VmHWM:") - start : 0, limit << 10) << "peak memory grew beyond " << limit << " MiB";
    return run;
#endif
}

} // namespace

TEST(ResourceBounds, HugeLinesAndRunsOfBlankLines)
{
    // In a node block the classic layout reads 511-byte pieces, each a node "id, x, y, z"; today's keeps the
    // first MiB of the whole line: one node. After a model, outside any block, the line changes nothing. The
    // first blank line ends a classic node block; today's layout passes blank lines over until *ELEMENT.
    const std::size_t bytes = kLong ? 100 * kMiB : 3 * kMiB;
    const auto inBlock = Repeated(kUnits + "*NODE\n", "1,2,3,4,", bytes, "");
    const auto outside = Repeated(kUnits + "*NODE\n1, 0, 0, 0\n2, 1000, 0, 0\n\n*ELEMENT\n1, BEAM, 1, 1, 1, 2, 0, 0\n\n", "abcdefghij", bytes, "");
    const auto blank = Repeated(kUnits + "*NODE\n1, 0, 0, 0\n2, 0, 0, 3000\n", "\n", kLong ? 10'000'000 : 100'000, "*ELEMENT\n1, TRUSS, 1, 1, 1, 2, 0\n");
    for (MidasReadingProfile profile : {kClassic, kCurrent}) {
        const auto run = Measured(inBlock->path(), profile, 96);  // the 100 MB line is never held whole
        ASSERT_TRUE(run->ok && run->model.m_Nodes.GetSize() > 0);
        EXPECT_EQ(run->model.m_Nodes.GetSize(), profile == kClassic ? int((bytes + 510) / 511) : 1);
        EXPECT_EQ(Num(run->model.m_Nodes[0]->X) + Num(run->model.m_Nodes[0]->Y) + Num(run->model.m_Nodes[0]->Z), "234");
        for (const auto* file : {outside.get(), blank.get()}) {
            const auto other = Measured(file->path(), profile, 16);
            ASSERT_TRUE(other->ok && other->model.m_Lines.GetSize() == 1);
            EXPECT_EQ(other->model.m_Nodes.GetSize() * 100 + other->model.m_Lines[0]->StartNode * 10 + other->model.m_Lines[0]->EndNode, 212);
        }
    }
    // Today's "\" continuations join only up to the whole-line limit, so every node takes the same number
    // of 8-byte lines (each adds 6 bytes) instead of the whole file becoming one line.
    constexpr std::size_t kLines = 4 * kMiB / 8, linesPerNode = (LineStream::kMaxWholeLine - 1 + 5) / 6;
    const auto run = Measured(Repeated(kUnits + "*NODE\n", "1, 2, \\\n", kLines * 8, "")->path(), kCurrent, 32);
    EXPECT_TRUE(run->ok && std::size_t(run->model.m_Nodes.GetSize()) == (kLines + linesPerNode - 1) / linesPerNode);
}

TEST(ResourceBounds, IdRangesOfOneFileShareABudget)
{
    // A file may expand its ranges to 2^26 IDs plus 16 per byte of it: four full ranges of 2^24 IDs take
    // that budget, the five after them add nothing.
    SKIP_UNLESS_LONG_TESTS();
    const TempFile file(kUnits + "*NODE\n1, 0, 0, 0\n\n*CONSTRAINT\n" + Times(9, "1to16777216 ") + "2 3, 111111,\n\n");
    const auto run = Measured(file.path(), kClassic, 2 * 4 * 16777216 * sizeof(int) / kMiB + 64);  // the budget's IDs, twice over
    ASSERT_TRUE(run->ok && run->translator.m_Blocks.constraint->GetCount() == 1);
    const ValueArray<int>& ids = run->translator.m_Blocks.constraint->GetRecord(0)->m_NodeIDs;
    ASSERT_EQ(ids.GetSize(), 4 * 16777216 + 2);
    EXPECT_EQ(std::vector<int>(ids.end() - 3, ids.end()), (std::vector<int>{16777216, 2, 3}));
}

namespace {

// The records of one collection of the host model, as the model's JSON dump writes them.
std::vector<std::string> Records(const std::string& json, const std::string& key)
{
    const std::size_t begin = json.find('"' + key + "\": [") + key.size() + 5;
    std::size_t end = begin;
    for (int depth = 1; depth > 0; ++end) depth += json[end] == '[' ? 1 : json[end] == ']' ? -1 : 0;
    std::vector<std::string> records;
    for (std::size_t at = begin, next; at + 1 < end; at = next + 3)
        records.push_back(json.substr(at, (next = std::min(json.find("}, {", at), end - 2)) - at));
    return records;
}

// The first fields of a record: a node's number and coordinates, a member's number and end nodes.
std::string Head(const std::string& record, int fields)
{
    std::size_t end = 0;
    for (int k = 0; k < fields && end != std::string::npos; ++k) end = record.find(',', end + (k > 0));
    return record.substr(0, end);
}

// Offset just past the blank line that ends the last block opened by keyword (at a line start).
std::size_t BlockEnd(const std::string& text, const std::string& keyword, const std::string& newline)
{
    const std::size_t start = text.rfind(newline + keyword);
    const std::size_t end = start == std::string::npos ? start : text.find(newline + newline, start + newline.size());
    return end == std::string::npos ? text.size() : end + 2 * newline.size();
}

} // namespace

TEST(ResourceBounds, ACutAtAnyByteGivesAPrefixOfTheModel)
{
    // The example has every block the reader knows. Cut anywhere (mid-line, between CR and LF, at block ends;
    // every 31st byte in the quick suite), nothing arrives that the whole file does not hold, a collection is
    // complete once the cut passes its blocks, and nodes and members keep file order, the last maybe cut short.
    const std::pair<const char*, std::vector<std::string>> collections[] = {  // each host collection and the blocks that fill it
        {"Nodes", {"*NODE", "*CONSTRAINT", "*CONLOAD"}}, {"Lines", {"*ELEMENT", "*MATERIAL", "*SECTION", "*GROUP", "*FRAME-RLS", "*BEAMLOAD"}},
        {"Materials", {"*MATERIAL"}}, {"LSections", {"*SECTION"}}, {"ASections", {"*THICKNESS"}}, {"PointLoads", {"*STLDCASE", "*CONLOAD"}},
        {"LineLoads", {"*STLDCASE", "*BEAMLOAD"}}};
    std::ifstream in(MIDAS2ORVO_SOURCE_DIR "/examples/portal-frame.mgt", std::ios::binary);
    const std::string lf{std::istreambuf_iterator<char>(in), {}};
    for (const std::string newline : {"\n", "\r\n"})
        for (MidasReadingProfile profile : {kClassic, kCurrent}) {
            SCOPED_TRACE(std::string(profile == kClassic ? "classic" : "current") + (newline.size() == 2 ? ", CR LF" : ", LF"));
            std::string text;
            for (char c : lf) text += c == '\n' ? newline : std::string(1, c);
            const std::size_t unitEnd = BlockEnd(text, "*UNIT", newline);
            std::vector<std::pair<std::vector<std::string>, std::size_t>> wholes;  // records, and where they are complete
            {  // gone before the pieces are made, so that their materials are numbered alike
                const Translated full(text, profile);
                ASSERT_TRUE(full.ok && full.model.m_LineLoads.GetSize() > 0);
                for (const auto& [key, keywords] : collections) {
                    std::size_t complete = 0;
                    for (const std::string& keyword : keywords) complete = std::max(complete, BlockEnd(text, keyword, newline));
                    wholes.emplace_back(Records(ModelToJson({}, full.model), key), complete);
                }
            }
            ASSERT_EQ(wholes[0].first.size(), 7u);
            for (std::size_t cut = 0; cut <= text.size(); cut += kLong ? 1 : 31) {
                const MessageCapture messages;
                const Translated piece(text.substr(0, cut), profile);
                const ModalData_Orvo& m = piece.model;
                // Only a missing or cut unit block may be refused, with at most one message and nothing made.
                ASSERT_TRUE(piece.ok || (cut < unitEnd && messages.texts.size() <= 1 &&
                                         m.m_Nodes.GetSize() + m.m_Materials.GetSize() + m.m_LineLoads.GetSize() == 0)) << "cut at " << cut;
                const std::string json = ModelToJson({}, m);
                for (std::size_t c = 0; piece.ok && c < wholes.size(); ++c) {
                    const std::vector<std::string> records = Records(json, collections[c].first);
                    const auto& [whole, complete] = wholes[c];
                    ASSERT_TRUE(records.size() <= whole.size() && (cut < complete || records == whole)) << c << ", cut at " << cut;
                    // Past the unit block (a cut unit word scales otherwise) nodes and members are the whole model's.
                    for (std::size_t i = 0; c < 2 && cut >= unitEnd && i + 1 < records.size(); ++i)
                        ASSERT_EQ(Head(records[i], 4 - int(c)), Head(whole[i], 4 - int(c))) << c << ", " << i << ", cut at " << cut;
                }
            }
        }
}
