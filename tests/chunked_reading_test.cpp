// Large blocks read in pieces on several threads give the reading on one thread: the same host model,
// findings and ledger, byte for byte, from memory and from a file, in both profiles. Small pieces of
// small texts put the cuts everywhere: in blocks, at their ends, among comments, long and continued lines.
#include <random>
#include <sstream>

#include "../bench/ModelGenerator.h"
#include "ModelDump.h"
#include "TestSupport.h"

namespace {

struct Everything : MidasDiagnostics {
    std::string text;
    void Report(const MidasFindingInfo& f) override
    {
        text += "F" + std::to_string(int(f.kind)) + " " + std::to_string(f.offset) + " " + std::to_string(f.count) + " " + f.detail + "\n";
    }
    void LedgerEntry(const MidasLedgerEntry& e) override
    {
        text += "L" + e.keyword + " " + std::to_string(e.line) + " " + std::to_string(e.offset) + " " + std::to_string(e.dataLines) +
                " " + std::to_string(e.used) + "\n";
    }
};

// threads 1: the one-thread reading; else pieces of chunk bytes after lead records of each block.
std::string Read(const std::string& source, bool isPath, MidasReadingProfile profile, int threads, std::size_t chunk = 0, int lead = 0)
{
    Translation t;
    Everything sink;
    t.SetReadingProfile(profile);
    t.SetDiagnostics(&sink);
    t.SetReadingThreads(threads);
    if (chunk)
        t.SetChunking(chunk, lead);
    const MessageCapture quiet;
    isPath ? void(t.ReadMidasFile(source.c_str())) : ReadText(t, source);
    ModalData_Orvo model;
    const bool ok = t.TranMidastoOrvo(model);
    return sink.text + ModelToJson(TranslationOutcome{true, ok, {}}, model);
}

// A model of random blocks: mostly lines of the block's own kind, now and then a line of another kind,
// a comment, a blank line, a line over 511 bytes, a "\" continuation or a NUL; LF or CR LF ends.
std::string RandomModel(unsigned seed)
{
    std::mt19937 random(seed);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    auto n = [&](int most) { return std::to_string(1 + pick(most)); };
    const std::vector<std::pair<std::string, std::function<std::string()>>> kinds = {
        {"*NODE", [&] { return n(60) + ", " + n(9) + "." + n(99) + ", 0, " + n(5); }},
        {"*ELEMENT", [&] { return pick(6) ? n(80) + ", BEAM, 1, " + n(3) + ", " + n(60) + ", " + n(60) + ", 0" : n(80) + ", PLATE, 1, 1, 1, 2, 3, 4, 1, 0"; }},
        {"*CONSTRAINT", [&] { return n(20) + "to" + n(60) + "by" + n(3) + " " + n(9) + ", 1" + std::to_string(pick(2)) + "1100,"; }},
        {"*GROUP", [&] { return "G" + n(4) + ", " + n(9) + "to" + n(30) + ", " + n(40) + " " + n(40) + ", 0"; }},
        {"*CONLOAD", [&] { return n(60) + ", 0, 0, -" + n(30) + ", 0, 0, 0,"; }},
        {"*BEAMLOAD", [&] { return n(80) + ", BEAM, UNILOAD, GZ, NO, NO, aDir[1], , , , 0, -" + n(9) + ", 1, -" + n(9) + ", 0, 0, 0, 0, , NO, 0, 0, NO,"; }},
        {"*FRAME-RLS", [&] { return n(80) + ", NO, 000011, 0, 0, 0, 0, 0, 0\n000011, 0, 0, 0, 0, 0, 0,"; }},
    };
    std::string text = "*UNIT\nKN, M, KJ, C\n\n*MATERIAL\n1, STEEL, S1, 0, 0, C, NO, 0.02, 2, 2.1e8, 0.3, 1.2e-5, 77\n\n"
                       "*SECTION\n1, DBUSER, B1, CC, 0, 0, 0, 0, 0, 0, YES, NO, SB, 2, 0.4, 0.2\n\n*STLDCASE\nDL, D, \nLL, L, \n\n";
    for (int block = 0; block < 14; ++block) {
        const auto& [keyword, line] = kinds[std::size_t(pick(int(kinds.size())))];
        const bool load = keyword == "*CONLOAD" || keyword == "*BEAMLOAD";
        if (load)
            text += std::string("*USE-STLD, ") + (pick(2) ? "DL" : "LL") + "\n";
        // A classic load section header that opens a block too: its lines are read twice, counted once.
        text += (pick(8) ? "" : "*USE-STLD, LL ") + keyword + (pick(4) ? "\n" : "    ; the data\n");
        for (int k = pick(120); k > 0; --k) {
            const int noise = pick(60);
            std::string data = noise == 0   ? ""
                               : noise == 1 ? "; comment"
                               : noise == 2 ? "   ; indented comment"
                               : noise == 3 ? line() + std::string(520, ' ') + ", 9"
                               : noise == 4 ? "2, 1.5, \\\n 0, 3"
                               : noise == 5 ? line() + std::string(1, '\0') + "7, 8"
                               : noise == 8 ? "3, 2.5, \\" + std::string(1, '\0') + "4"
                               : noise == 6 ? "*NODE"
                               : noise == 7 ? kinds[std::size_t(pick(int(kinds.size())))].second()
                                            : line();
            text += data + (pick(5) ? "\n" : "\r\n");
        }
        text += pick(3) ? "\n" : "";
        if (load)
            text += pick(3) ? "; End of data for load case [DL] -------------------------\n" : "";
    }
    return text;
}

} // namespace

TEST(ChunkedReading, PiecesGiveTheOneThreadReading)
{
    std::vector<std::pair<std::string, std::string>> texts;  // (name, text)
    for (unsigned seed = 1; seed <= 24; ++seed)
        texts.emplace_back("random model " + std::to_string(seed), RandomModel(seed));
    // Two blocks opened by one line, the first read in pieces to the end of the text: the second's row
    // takes back the last line counted.
    texts.emplace_back("two blocks on one line", ",00\n*VERSION*SECTION2, NO, 0, 0\n.10, 0, 0, 0, 0\nS\xff\xff\xff, 1, 2, 3, 4\n");
    // Consecutive load sections, each translated beside the reading of the next: the findings of both
    // (a member that does not exist; a line that ends a block early, a load block no step reads) keep
    // the one-thread order.
    std::string sections = "*UNIT\nKN, M, KJ, C\n\n*NODE\n1, 0, 0, 0\n2, 1, 0, 0\n\n*ELEMENT\n1, BEAM, 1, 1, 1, 2, 0\n\n"
                           "*STLDCASE\nDL, D, \nLL, L, \n\n";
    for (int k = 0; k < 40; ++k) {
        const std::string load = ", BEAM, UNILOAD, GZ, NO, NO, aDir[1], , , , 0, -1, 1, -1, 0, 0, 0, 0, , NO, 0, 0, NO,\n";
        sections += std::string("*USE-STLD, ") + (k % 2 ? "LL" : "DL") + "\n*SELFWEIGHT\n0, 0, -1\n*BEAMLOAD\n1" + load +
                    std::to_string(k + 5) + load + (k % 3 ? "" : "aDir[1], 2\n") + "\n; End of data for load case\n\n";
    }
    texts.emplace_back("consecutive load sections", sections);
    for (const char* example : {"/examples/portal-frame.mgt"}) {
        std::ifstream in(MIDAS2ORVO_SOURCE_DIR + std::string(example), std::ios::binary);
        texts.emplace_back(example, std::string(std::istreambuf_iterator<char>(in), {}));
    }
    for (const auto& [name, text] : texts) {
        const TempFile file(text);
        for (MidasReadingProfile profile : {kClassic, kCurrent}) {
            SCOPED_TRACE(name + (profile == kClassic ? ", classic" : ", current"));
            const std::string one = Read(text, false, profile, 1);
            ASSERT_NE(one.find("\"ok\""), std::string::npos);
            int round = 0;
            for (std::size_t chunk : {1, 13, 3, 5, 200, 1500}) {
                const int threads = 2 + round % 3, lead = round++ % 4 == 3 ? 3 : 0;
                EXPECT_EQ(Read(text, false, profile, threads, chunk, lead), one) << threads << " threads, pieces of " << chunk;
                EXPECT_EQ(Read(file.path(), true, profile, threads, chunk, lead), one) << "file, pieces of " << chunk;
            }
        }
    }
}

TEST(ChunkedReading, RealModelsInPiecesGiveTheOneThreadReading)
{
    const std::string dir = SharedModelsDir();
    if (dir.empty()) GTEST_SKIP() << "no ../shared/real-models in this checkout";
    for (const auto& entry : std::filesystem::directory_iterator(Utf8Path(dir))) {
        if (entry.path().extension() != ".mgt") continue;
        const std::string path = Utf8Text(entry.path());
        for (MidasReadingProfile profile : {kClassic, kCurrent}) {
            SCOPED_TRACE(path + (profile == kClassic ? ", classic" : ", current"));
            EXPECT_EQ(Read(path, true, profile, 2, 4096, 16), Read(path, true, profile, 1));
        }
    }
}

// A frame large enough for the default pieces and for the hand-over's threads (records made in batches).
TEST(ChunkedReading, AFrameOnTwoThreadsGivesTheOneThreadReading)
{
    const std::string text = bench::GenerateModel(bench::ModelShape{25, 25, 20});
    for (MidasReadingProfile profile : {kClassic, kCurrent})
        EXPECT_EQ(Read(text, false, profile, 2, ChunkedReading::kChunkBytes / 8, 64), Read(text, false, profile, 1));

    // The same frame with faults the threaded steps must note in order: every 997th member ends at a node
    // that does not exist, the first node is numbered 7, and a late member names a section the file lacks.
    std::istringstream in(text);
    std::string faulty, line, block;
    for (int row = 0; std::getline(in, line); ++row) {
        if (line.rfind("*", 0) == 0)
            block = line.substr(0, line.find_first_of(" ;"));
        std::vector<std::string> fields;
        for (std::istringstream split(line); std::getline(split, fields.emplace_back(), ',');) {
        }
        if (block == "*ELEMENT" && fields.size() > 5 && row % 997 == 0)
            fields[5] = "999999";
        if (block == "*ELEMENT" && fields.size() > 5 && row % 20011 == 0)
            fields[3] = "77";
        if (block == "*NODE" && fields.size() > 3 && fields[0] == "     1")
            fields[0] = "7";
        for (std::size_t k = 0; k + 1 < fields.size(); ++k)
            faulty += fields[k] + (k + 2 < fields.size() ? "," : "");
        faulty += "\n";
    }
    const std::string oneThread = Read(faulty, false, kClassic, 1);
    for (const char* finding : {"F8 ", "F9 ", "F10 "})
        EXPECT_NE(oneThread.find(finding), std::string::npos) << finding;
    EXPECT_EQ(Read(faulty, false, kClassic, 2, ChunkedReading::kChunkBytes / 8, 64), oneThread);
}
