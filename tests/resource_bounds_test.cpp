// Resource bounds: a 100 MB line without a line feed, ten million blank lines, ID ranges up to 2^31,
// release records that never end, paths that are not regular files, and a model cut off at every byte.
// Each input must give a defined outcome in bounded time and memory; the big inputs are made in a
// scratch directory at test time and deleted afterwards.
#include "TestSupport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <future>
#include <sstream>
#include <string_view>

namespace fs = std::filesystem;

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

constexpr MidasReadingProfile kProfiles[] = {MidasReadingProfile::Classic, MidasReadingProfile::Current};

const char* ProfileName(MidasReadingProfile profile)
{
    return profile == MidasReadingProfile::Current ? "current" : "classic";
}

// A directory of its own under the system's temporary directory, removed with everything in it.
class ScratchDir {
public:
    ScratchDir()
    {
        static std::atomic<int> counter{0};
        m_Path = fs::temp_directory_path() /
                 ("midas2orvo_bounds_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
        fs::create_directories(m_Path);
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        fs::remove_all(m_Path, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string operator/(const std::string& name) const { return (m_Path / name).string(); }

private:
    fs::path m_Path;
};

// Writes head, then bytes bytes of pattern repeated (the last copy cut short), then tail.
void WriteRepeated(const std::string& path, std::string_view head, std::string_view pattern, std::size_t bytes,
                   std::string_view tail)
{
    std::string chunk;
    while (chunk.size() < (std::size_t(1) << 20))
        chunk += pattern;  // whole copies only, so the pattern runs on across chunks
    std::ofstream out(path, std::ios::binary);
    out << head;
    for (std::size_t left = bytes; left > 0;) {
        const std::size_t n = std::min(left, chunk.size());
        out.write(chunk.data(), std::streamsize(n));
        left -= n;
    }
    out << tail;
}

// Growth of the process's peak resident memory since construction, in bytes. Sanitizer builds hold
// freed memory in quarantine and valgrind keeps its own copies, so only plain runs measure.
class PeakMemory {
public:
    PeakMemory()
    {
        const char* preload = std::getenv("LD_PRELOAD");
        const bool underValgrind = preload && std::strstr(preload, "vgpreload");
        m_bMeasures = !kSanitized && !underValgrind &&
                      bool(std::ofstream("/proc/self/clear_refs") << "5");  // resets the peak
        m_nStart = Status("VmRSS:");
    }
    bool Measures() const { return m_bMeasures && m_nStart >= 0; }
    long long Growth() const { return Status("VmHWM:") - m_nStart; }
    // Checks the growth against limit where this build measures it.
    void ExpectBelow(long long limit) const
    {
        if (Measures()) {
            EXPECT_LT(Growth(), limit) << "peak memory grew by " << Growth() / (1 << 20) << " MiB";
        }
    }

private:
    static long long Status(std::string_view key)
    {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.compare(0, key.size(), key) == 0)
                return std::atoll(line.c_str() + key.size()) * 1024;
        return -1;
    }
    bool m_bMeasures = false;
    long long m_nStart = -1;
};

constexpr long long kMiB = 1 << 20;

// One translation of a file or a text into its own host model.
struct Translated {
    Translation translator;
    ModalData_Orvo model;
    bool read = false;
    bool translated = false;

    static std::unique_ptr<Translated> OfFile(const std::string& path, MidasReadingProfile profile)
    {
        auto run = std::make_unique<Translated>();
        run->translator.SetReadingProfile(profile);
        run->read = run->translator.ReadMidasFile(path.c_str());
        run->translated = run->read && run->translator.TranMidastoOrvo(run->model);
        return run;
    }
    static std::unique_ptr<Translated> OfText(const std::string& text, MidasReadingProfile profile)
    {
        auto run = std::make_unique<Translated>();
        run->translator.SetReadingProfile(profile);
        TranslatorAccess::ReadText(run->translator, text);
        run->read = true;
        run->translated = run->translator.TranMidastoOrvo(run->model);
        return run;
    }
};

const std::string kUnits = "*UNIT\nKN, MM, KJ, C\n\n";

} // namespace

// ---- a line of 100 MB without a line feed ----

constexpr std::size_t kHugeLine = 100 * kMiB;

TEST(HugeLine, InsideANodeBlockIsReadInBoundedPieces)
{
    // The classic layout reads 511-byte pieces, each a node line "id, x, y, z" of its own; the current
    // layout keeps the first MiB of a whole line and passes over the rest, so the line is one node.
    ScratchDir dir;
    const std::string path = dir / "in-node-block.mgt";
    WriteRepeated(path, kUnits + "*NODE\n", "1,2,3,4,", kHugeLine, "");
    const std::size_t pieces = (kHugeLine + LineStream::kPhysicalLine - 1) / LineStream::kPhysicalLine;
    for (MidasReadingProfile profile : kProfiles) {
        SCOPED_TRACE(ProfileName(profile));
        PeakMemory memory;
        const auto run = Translated::OfFile(path, profile);
        ASSERT_TRUE(run->read);
        ASSERT_TRUE(run->translated);
        const OwnedArray<Node_Orvo>& nodes = run->model.m_Nodes;
        EXPECT_EQ(nodes.GetSize(), profile == MidasReadingProfile::Classic ? int(pieces) : 1);
        ASSERT_GT(nodes.GetSize(), 0);
        EXPECT_EQ(nodes[0]->X, 2.0);
        EXPECT_EQ(nodes[0]->Y, 3.0);
        EXPECT_EQ(nodes[0]->Z, 4.0);
        memory.ExpectBelow(96 * kMiB);  // the 100 MB line is never held whole
    }
}

TEST(HugeLine, OutsideAnyBlockIsPassedOver)
{
    // After a complete model, outside any block, with no keyword in it.
    ScratchDir dir;
    const std::string path = dir / "outside-blocks.mgt";
    WriteRepeated(path, kUnits + "*NODE\n1, 0, 0, 0\n2, 1000, 0, 0\n\n*ELEMENT\n1, BEAM, 1, 1, 1, 2, 0, 0\n\n",
                  "abcdefghij", kHugeLine, "");
    for (MidasReadingProfile profile : kProfiles) {
        SCOPED_TRACE(ProfileName(profile));
        PeakMemory memory;
        const auto run = Translated::OfFile(path, profile);
        ASSERT_TRUE(run->translated);
        EXPECT_EQ(run->model.m_Nodes.GetSize(), 2);
        ASSERT_EQ(run->model.m_Lines.GetSize(), 1);
        EXPECT_EQ(run->model.m_Lines[0]->EndNode, 2);
        memory.ExpectBelow(16 * kMiB);
    }
}

TEST(ResourceBounds, ContinuedLinesJoinOnlyUpToTheWholeLineLimit)
{
    // Current layout: each line "1, 2, \" continues on the next and adds 6 bytes to the joined line. A
    // join stops once the line reaches the whole-line limit, so every node takes the same number of
    // lines instead of the whole file becoming one line.
    constexpr std::size_t kLines = 4 * kMiB / 8;
    const std::size_t linesPerNode = (LineStream::kMaxWholeLine - 1 + 5) / 6;
    ScratchDir dir;
    const std::string path = dir / "continued.mgt";
    WriteRepeated(path, kUnits + "*NODE\n", "1, 2, \\\n", kLines * 8, "");
    PeakMemory memory;
    const auto run = Translated::OfFile(path, MidasReadingProfile::Current);
    ASSERT_TRUE(run->translated);
    EXPECT_EQ(std::size_t(run->model.m_Nodes.GetSize()), (kLines + linesPerNode - 1) / linesPerNode);
    memory.ExpectBelow(32 * kMiB);
}

// ---- ten million blank lines ----

class EachProfile : public ::testing::TestWithParam<MidasReadingProfile> {};

INSTANTIATE_TEST_SUITE_P(ResourceBounds, EachProfile, ::testing::ValuesIn(kProfiles),
                         [](const auto& info) { return std::string(ProfileName(info.param)); });

TEST_P(EachProfile, TenMillionBlankLinesBetweenTwoBlocks)
{
    // Classic: the first blank line ends the node block and the rest are passed over one by one.
    // Current: blank lines inside a block are passed over until the *ELEMENT keyword line ends it.
    ScratchDir dir;
    const std::string path = dir / "blank-lines.mgt";
    WriteRepeated(path, kUnits + "*NODE\n1, 0, 0, 0\n2, 0, 0, 3000\n", "\n", 10'000'000,
                  "*ELEMENT\n1, TRUSS, 1, 1, 1, 2, 0\n");
    PeakMemory memory;
    const auto run = Translated::OfFile(path, GetParam());
    ASSERT_TRUE(run->translated);
    EXPECT_EQ(run->model.m_Nodes.GetSize(), 2);
    ASSERT_EQ(run->model.m_Lines.GetSize(), 1);
    EXPECT_EQ(run->model.m_Lines[0]->StartNode, 1);
    EXPECT_EQ(run->model.m_Lines[0]->EndNode, 2);
    memory.ExpectBelow(16 * kMiB);
}

// ---- ID ranges up to 2^31 ----

namespace {

// Three nodes 1, 2, 3 and three beams 1-2, 2-3, 3-1, then the block under test.
std::string ThreeNodeModel(const std::string& blocks)
{
    return kUnits +
           "*NODE\n1, 0, 0, 0\n2, 1000, 0, 0\n3, 2000, 0, 0\n\n"
           "*ELEMENT\n1, BEAM, 1, 1, 1, 2, 0, 0\n2, BEAM, 1, 1, 2, 3, 0, 0\n3, BEAM, 1, 1, 3, 1, 0, 0\n\n" +
           blocks;
}

// What a model shows of its ID lists: restrained nodes, grouped lines, loaded nodes.
std::string Addressed(const ModalData_Orvo& model)
{
    std::ostringstream out;
    for (const Node_Orvo* node : model.m_Nodes)
        out << (node->Restraint ? "R" : "") << node->PointLoads.GetSize() << ' ';
    for (const Line_Orvo* line : model.m_Lines)
        out << '[' << line->GroupName << ']';
    return out.str();
}

} // namespace

TEST(ResourceBounds, IdRangesUpTo2To31HaveDefinedOutcomes)
{
    // A range of more than 16,777,216 IDs adds nothing; the IDs of the other items still count. The
    // classic group and load lists take no ranges: "1to2147483647" there is the single number 1.
    const std::string kHuge = "1to2147483647 -2147483648to2147483647 1to2147483647by1 2147483647to1by-1";
    struct Case {
        const char* name;
        std::string blocks;
        const char* classic;
        const char* current;
    };
    const Case cases[] = {
        {"constraint", "*CONSTRAINT\n" + kHuge + " 3 1to2147483647by0, 111111,\n\n", "0 0 R0 [][][]", "0 0 R0 [][][]"},
        // -2^31 to 2^31-1 by 2^31-1 is the three IDs -2^31, -1, 2^31-2 (no overflow), none a node
        {"constraint, wide step", "*CONSTRAINT\n-2147483648to2147483647by2147483647 2, 111111,\n\n",
         "0 R0 0 [][][]", "0 R0 0 [][][]"},
        {"constraint, ends of the range",
         "*CONSTRAINT\n2147483647to2147483647 -2147483648to-2147483648 1, 111111,\n\n", "R0 0 0 [][][]",
         "R0 0 0 [][][]"},
        // classic: the members 1, -2^31 (no member), 1, then 2^31-1, beyond the last member, which ends
        // the group step before member 2
        {"group", "*GROUP\nG, , " + kHuge + " 2\n\n", "0 0 0 [G][][]", "0 0 0 [][G][]"},
        {"nodal load", "*STLDCASE\nDL, D,\n\n*USE-STLD, DL\n\n*CONLOAD\n" + kHuge + ", 0, 0, -1, 0, 0, 0,\n\n",
         "1 0 0 [][][]", "0 0 0 [][][]"},
    };
    for (const Case& c : cases) {
        for (MidasReadingProfile profile : kProfiles) {
            SCOPED_TRACE(std::string(c.name) + ", " + ProfileName(profile));
            const auto run = Translated::OfText(ThreeNodeModel(c.blocks), profile);
            ASSERT_TRUE(run->translated);
            EXPECT_EQ(Addressed(run->model), profile == MidasReadingProfile::Classic ? c.classic : c.current);
        }
    }
}

TEST(ResourceBounds, IdRangesOfOneFileShareABudget)
{
    // A file may expand its ranges to 2^26 IDs plus 16 per byte of the file. Four full ranges of 2^24
    // IDs take that budget; the five after them add nothing, single IDs still do.
    ScratchDir dir;
    const std::string path = dir / "budget.mgt";
    std::string list;
    for (int i = 0; i < 9; ++i)
        list += "1to16777216 ";
    std::ofstream(path, std::ios::binary) << ThreeNodeModel("*CONSTRAINT\n" + list + "2 3, 111111,\n\n");
    Translation translator;
    PeakMemory memory;
    ASSERT_TRUE(translator.ReadMidasFile(path.c_str()));
    const ConstraintBlock* constraints = TranslatorAccess::Constraint(translator);
    ASSERT_NE(constraints, nullptr);
    ASSERT_EQ(constraints->GetCount(), 1);
    const ValueArray<int>& ids = constraints->GetRecord(0)->m_NodeIDs;
    ASSERT_EQ(ids.GetSize(), 4 * 16777216 + 2);
    EXPECT_EQ(ids[4 * 16777216 - 1], 16777216);
    EXPECT_EQ(ids[4 * 16777216], 2);
    EXPECT_EQ(ids[4 * 16777216 + 1], 3);
    memory.ExpectBelow(2 * 4 * 16777216LL * sizeof(int) + 64 * kMiB);  // the budget's IDs, twice over
}

// ---- a release block whose records never end with a comma ----

TEST(ResourceBounds, ReleaseRecordsThatNeverEndWithAComma)
{
    // Classic: a record joins lines until one ends with ","; none does, so each record stops at 2047
    // bytes, which takes exactly 64 of these lines (31 bytes, then 63 times "," and 31 more). The join
    // after the last record runs into the *STLDCASE keyword line, which the driver then reads.
    // Current: a record is two lines.
    constexpr int kLines = 64 * 1000 + 17;
    ScratchDir dir;
    const std::string path = dir / "releases.mgt";
    std::string elements = "*ELEMENT\n";
    for (int i = 1; i <= 5; ++i)
        elements += std::to_string(i) + ", BEAM, 1, 1, 1, 2, 0, 0\n";
    WriteRepeated(path, kUnits + "*NODE\n1, 0, 0, 0\n2, 1000, 0, 0\n\n" + elements + "\n*FRAME-RLS\n",
                  "   5, NO, 000011, 0, 0, 0, 0, 0, 0\n", std::size_t(kLines) * 35, "\n*STLDCASE\nDL, D,\n\n");
    for (MidasReadingProfile profile : kProfiles) {
        SCOPED_TRACE(ProfileName(profile));
        Translation translator;
        translator.SetReadingProfile(profile);
        ASSERT_TRUE(translator.ReadMidasFile(path.c_str()));
        const FrameReleaseBlock* releases = TranslatorAccess::FrameRelease(translator);
        ASSERT_NE(releases, nullptr);
        // Classic: the 17 lines left over join with the blank line after them into one more record.
        EXPECT_EQ(releases->GetCount(), profile == MidasReadingProfile::Classic ? kLines / 64 + 1 : (kLines + 1) / 2);
        for (int i = 0; i < releases->GetCount(); ++i) {
            ASSERT_EQ(releases->GetRecord(i)->m_nElementID, 5) << i;
            ASSERT_EQ(releases->GetRecord(i)->m_strEndIFlags, "000011") << i;
        }
        const LoadCaseBlock* cases = TranslatorAccess::LoadCase(translator);
        ASSERT_NE(cases, nullptr) << "the keyword line after the releases was not read";
        EXPECT_EQ(cases->GetCount(), 1);
        ModalData_Orvo model;
        ASSERT_TRUE(translator.TranMidastoOrvo(model));
        ASSERT_EQ(model.m_Lines.GetSize(), 5);
        EXPECT_EQ(model.m_Lines[4]->StartRelease, kFreeRY | kFreeRZ);
        EXPECT_EQ(model.m_Lines[3]->StartRelease, 0);
    }
}

// ---- paths that are not regular files ----

TEST(ResourceBounds, OnlyRegularFilesAreRead)
{
    ScratchDir dir;
    const std::string model = dir / "model.mgt";
    std::ofstream(model, std::ios::binary) << ThreeNodeModel("");
    const std::string link = dir / "link.mgt";
    fs::create_symlink(model, link);
    const std::string fifo = dir / "fifo.mgt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string locked = dir / "locked.mgt";
    std::ofstream(locked, std::ios::binary) << ThreeNodeModel("");
    fs::permissions(locked, fs::perms::none);

    struct Case {
        std::string path;
        bool read;
    };
    std::vector<Case> cases = {
        {model, true},
        {link, true},                   // a link to a regular file is that file
        {dir / "", false},              // a directory
        {fifo, false},                  // a FIFO without a writer: refused at once, not waited on
        {"/dev/zero", false},           // a device that never ends
        {"/dev/null", false},           // a device, even an empty one
        {dir / "missing.mgt", false},
    };
    if (fs::exists("/proc/self/mem"))
        cases.push_back({"/proc/self/mem", false});  // a regular file whose first read fails (EIO)
    if (::geteuid() != 0)
        cases.push_back({locked, false});  // no read permission (root reads it all the same)
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        auto reading = std::async(std::launch::async, [&] {
            MIDAStranslatetoOrvo translator;
            const bool read = translator.ReadMidasFile(c.path.c_str());
            return read == translator.HaveReadFile() ? int(read) : -1;
        });
        if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            // Release the blocked reader (opening the FIFO's other end lets its open return) and fail.
            ::close(::open(c.path.c_str(), O_WRONLY | O_NONBLOCK));
            reading.wait();
            FAIL() << "ReadMidasFile blocked";
        }
        EXPECT_EQ(reading.get(), int(c.read));
    }
}

// ---- a model cut off anywhere ----

namespace {

// Rows of each host collection, one string per record, so two models can be compared record by record.
std::string Row(std::initializer_list<double> values, const std::string& text = "")
{
    std::ostringstream out;
    out.precision(17);
    for (double value : values)
        out << value << ',';
    return out.str() + text;
}

template <class T, class F>
std::vector<std::string> Rows(const OwnedArray<T>& records, F row)
{
    std::vector<std::string> rows;
    for (const T* record : records)
        rows.push_back(row(*record));
    return rows;
}

std::string List(const ValueArray<int>& values)
{
    std::string text;
    for (int value : values)
        text += std::to_string(value) + ' ';
    return text;
}

std::string NodeGeometry(const Node_Orvo& n) { return Row({double(n.ID), n.X, n.Y, n.Z}); }
std::string LineGeometry(const Line_Orvo& l) { return Row({double(l.ID), double(l.StartNode), double(l.EndNode)}); }

// Every collection with the blocks that fill it: once the cut passes the end of all of them, the
// collection must equal the full model's.
struct Collection {
    const char* name;
    std::vector<std::string_view> blocks;
    std::function<std::vector<std::string>(const ModalData_Orvo&)> rows;
};

const std::vector<Collection>& Collections()
{
    static const std::vector<Collection> collections = {
        {"nodes", {"*NODE", "*CONSTRAINT", "*CONLOAD"},
         [](const ModalData_Orvo& m) {
             return Rows(m.m_Nodes, [](const Node_Orvo& n) {
                 return NodeGeometry(n) + Row({double(n.Restraint)}, List(n.PointLoads));
             });
         }},
        {"lines", {"*ELEMENT", "*MATERIAL", "*SECTION", "*GROUP", "*FRAME-RLS", "*BEAMLOAD"},
         [](const ModalData_Orvo& m) {
             return Rows(m.m_Lines, [](const Line_Orvo& l) {
                 return LineGeometry(l) + Row({double(l.SectionShape), double(l.SectionID), double(l.MaterialID),
                                               double(l.StartRelease), double(l.EndRelease), l.RefX, l.RefY, l.RefZ},
                                              l.GroupName + '|' + List(l.LineLoads));
             });
         }},
        {"materials", {"*MATERIAL"},
         [](const ModalData_Orvo& m) {
             return Rows(m.m_Materials, [](const Material_Orvo& x) {
                 const MaterialProperty& p = x.Property;
                 return Row({double(p.Grade), p.Elastic, p.Poisson, p.Thermal, p.Extra, p.Density});
             });
         }},
        {"beam sections", {"*SECTION"},
         [](const ModalData_Orvo& m) {
             return Rows(m.m_LSections, [](const LSection_Orvo& s) {
                 std::string row = Row({double(s.ID), double(s.ShapeCode)}, s.Name);
                 for (double value : s.Properties)
                     row += ',' + Row({value});
                 return row;
             });
         }},
        {"thicknesses", {"*THICKNESS"},
         [](const ModalData_Orvo& m) {
             return Rows(m.m_ASections, [](const ASection_Orvo& a) { return Row({double(a.ID), a.Thickness}); });
         }},
        {"point loads", {"*STLDCASE", "*CONLOAD"},
         [](const ModalData_Orvo& m) {
             return Rows(m.m_PointLoads, [](const PointLoad_Orvo& p) {
                 return Row({double(p.CaseKind), double(p.CaseID), p.FX, p.FY, p.FZ, p.MX, p.MY, p.MZ});
             });
         }},
        {"line loads", {"*STLDCASE", "*BEAMLOAD"},
         [](const ModalData_Orvo& m) {
             return Rows(m.m_LineLoads, [](const LineLoad_Orvo& l) {
                 return Row({double(l.CaseKind), double(l.CaseID), double(l.LoadType), double(l.Direction), l.Value1,
                             l.Value2, l.Position1, l.Position2});
             });
         }},
    };
    return collections;
}

// Offset just past the blank line that ends the last block opened by keyword (at a line start).
std::size_t BlockEnd(const std::string& text, std::string_view keyword, std::string_view newline)
{
    const std::size_t start = text.rfind(std::string(newline) + std::string(keyword));
    const std::string blank = std::string(newline) + std::string(newline);
    const std::size_t end = start == std::string::npos ? start : text.find(blank, start + newline.size());
    return end == std::string::npos ? text.size() : end + blank.size();
}

} // namespace

class CutOffModel : public ::testing::TestWithParam<std::tuple<MidasReadingProfile, bool>> {};

INSTANTIATE_TEST_SUITE_P(ResourceBounds, CutOffModel,
                         ::testing::Combine(::testing::ValuesIn(kProfiles), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(ProfileName(std::get<0>(info.param))) +
                                    (std::get<1>(info.param) ? "_CRLF" : "_LF");
                         });

TEST_P(CutOffModel, AtEveryByteGivesAPrefixOfTheModel)
{
    // The example has every block the reader knows. Cut at every byte (mid-line, between CR and LF, on
    // line and block boundaries), each piece is read and translated: nothing arrives that the whole file
    // does not hold, a collection is complete once the cut passes its blocks, and nodes and members come
    // in file order with only the last one possibly cut short.
    const auto [profile, crlf] = GetParam();
    std::ifstream in(MIDAS2ORVO_SOURCE_DIR "/examples/portal-frame.mgt", std::ios::binary);
    const std::string lf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(lf.size(), 2000u);
    std::string text;
    for (char c : lf)
        text += c == '\n' && crlf ? std::string("\r\n") : std::string(1, c);
    const std::string newline = crlf ? "\r\n" : "\n";

    const auto full = Translated::OfText(text, profile);
    ASSERT_TRUE(full->translated);
    ASSERT_EQ(full->model.m_Nodes.GetSize(), 7);
    ASSERT_GT(full->model.m_LineLoads.GetSize(), 0);
    const std::vector<std::string> fullNodes = Rows(full->model.m_Nodes, NodeGeometry);
    const std::vector<std::string> fullLines = Rows(full->model.m_Lines, LineGeometry);
    const std::size_t unitEnd = BlockEnd(text, "*UNIT", newline);
    // Per collection: its rows in the whole model, and the offset from which it must be complete.
    std::vector<std::pair<std::vector<std::string>, std::size_t>> wholes;
    for (const Collection& collection : Collections()) {
        std::size_t complete = 0;
        for (std::string_view keyword : collection.blocks)
            complete = std::max(complete, BlockEnd(text, keyword, newline));
        wholes.emplace_back(collection.rows(full->model), complete);
    }

    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        MessageCapture messages;
        const auto piece = Translated::OfText(text.substr(0, cut), profile);
        const ModalData_Orvo& model = piece->model;
        if (!piece->translated) {
            // Only a missing unit block, or a unit word cut short ("KN" to "K"), may be refused, with at
            // most one message, and then the host model stays empty.
            ASSERT_LT(cut, unitEnd);
            ASSERT_LE(messages.texts.size(), 1u) << "cut at " << cut;
            ASSERT_EQ(model.m_Nodes.GetSize() + model.m_Materials.GetSize() + model.m_LineLoads.GetSize(), 0);
            continue;
        }
        for (std::size_t c = 0; c < wholes.size(); ++c) {
            const std::vector<std::string> rows = Collections()[c].rows(model);
            const auto& [expected, complete] = wholes[c];
            ASSERT_LE(rows.size(), expected.size()) << Collections()[c].name << ", cut at " << cut;
            if (cut >= complete) {
                ASSERT_EQ(rows, expected) << Collections()[c].name << ", cut at " << cut;
            }
        }
        if (cut < unitEnd)
            continue;  // a cut unit word may scale the coordinates differently
        const std::vector<std::string> nodes = Rows(model.m_Nodes, NodeGeometry);
        const std::vector<std::string> lines = Rows(model.m_Lines, LineGeometry);
        for (std::size_t i = 0; i + 1 < nodes.size(); ++i)
            ASSERT_EQ(nodes[i], fullNodes[i]) << "node " << i << ", cut at " << cut;
        for (std::size_t i = 0; i + 1 < lines.size(); ++i)
            ASSERT_EQ(lines[i], fullLines[i]) << "line " << i << ", cut at " << cut;
    }
}
