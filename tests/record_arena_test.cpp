// The host's records live in shared chunks: each is deleted on its own, on any thread, after the
// translator that made it, and a chunk goes back once the last record in it is gone.
#include <algorithm>
#include <random>
#include <thread>

#include "TestSupport.h"
#include "ModelDump.h"
#include "model/RecordArena.h"
#include "platform/MappedMemory.h"

using midas2orvo::RecordArena;

TEST(RecordArena, RecordsMadeOnOneThreadAreDeletedOneByOneOnAnother)
{
    struct alignas(64) Aligned : Node_Orvo {};  // over-aligned: the general heap, aligned as asked
    std::unique_ptr<Aligned> aligned(new Aligned);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(aligned.get()) % 64, 0u);
    if (!RecordArena::Carves())
        GTEST_SKIP() << "records come from the general heap in this build";
    struct Wide : Line_Orvo { char spare[2000]; };  // beyond the arena's record size: general heap
    const std::size_t before = RecordArena::ChunksHeld();
    std::vector<CObjectBase*> records;
    std::thread maker([&] {  // its chunk is retired when it ends
        for (int i = 0; i < 30000; ++i)
            records.push_back(i % 3 ? static_cast<CObjectBase*>(new LineLoad_Orvo) : new Line_Orvo);
        records.push_back(new Wide);
    });
    maker.join();
    EXPECT_GT(RecordArena::ChunksHeld(), before + 3);  // 64 KiB, 128 KiB, ... : several chunks for 4 MB
    std::shuffle(records.begin(), records.end(), std::mt19937(7));
    const std::size_t half = records.size() / 2;
    for (std::size_t i = 0; i < half; ++i)
        delete records[i];
    EXPECT_GT(RecordArena::ChunksHeld(), before);  // scattered survivors keep their chunks
    for (std::size_t i = half; i < records.size(); ++i)
        delete records[i];
    EXPECT_EQ(RecordArena::ChunksHeld(), before);
}

TEST(RecordArena, ModelOutlivesItsTranslator)
{
    const std::string path = MIDAS2ORVO_SOURCE_DIR "/examples/portal-frame.mgt";
    ModalData_Orvo model;
    {
        MIDAStranslatetoOrvo translator;
        ASSERT_TRUE(translator.ReadMidasFile(path.c_str()) && translator.TranMidastoOrvo(model));
    }
    Translated again(path, kClassic, true);
    ASSERT_EQ(model.m_Nodes.GetSize(), again.model.m_Nodes.GetSize());
    for (int i = 0; i < model.m_Nodes.GetSize(); ++i)
        EXPECT_EQ(model.m_Nodes[i]->X + model.m_Nodes[i]->Z, again.model.m_Nodes[i]->X + again.model.m_Nodes[i]->Z);
    ASSERT_EQ(model.m_LineLoads.GetSize(), again.model.m_LineLoads.GetSize());
    for (int i = 0; i < model.m_LineLoads.GetSize(); ++i)
        EXPECT_EQ(model.m_LineLoads[i]->Value1, again.model.m_LineLoads[i]->Value1);
}

// A frame of n nodes on a line, n - 1 members and a load on each, enough records for several pool segments.
static std::string Frame(int n)
{
    std::string text = "*UNIT\n KN, M, KJ, C\n\n*NODE\n";
    for (int i = 1; i <= n; ++i) text += " " + std::to_string(i) + ", " + std::to_string(i) + ", 0, " + std::to_string(i % 3) + "\n";
    text += "\n*ELEMENT\n";
    for (int i = 1; i < n; ++i) text += " " + std::to_string(i) + ", BEAM, 1, 1, " + std::to_string(i) + ", " + std::to_string(i + 1) + ", 0, 0\n";
    text += "\n*MATERIAL\n 1, STEEL, Q345, 0, 0, , C, NO, 1, GB03(S), Q345\n\n*SECTION\n"
            " 1, DBUSER, G, CC, 0, 0, 0, 0, 0, 0, YES, H, 2, 0.4, 0.2, 0.008, 0.013, 0, 0, 0, 0, 0, 0\n\n"
            "*STLDCASE\n DL, D, dead\n\n*USE-STLD, DL\n\n*CONLOAD\n";
    for (int i = 1; i <= n; i += 2) text += " " + std::to_string(i) + ", 0, 0, -" + std::to_string(i) + ", 0, 0, 0,\n";
    text += "\n*BEAMLOAD\n";
    for (int i = 1; i < n; ++i) text += " " + std::to_string(i) + ", BEAM, UNILOAD, GZ, NO, 0, -" + std::to_string(i) + ", 1, -1, 0, 0, 0, 0,\n";
    return text + "\n; End of data for load case [DL]\n\n*ENDDATA\n";
}

TEST(ReleaseAfterHandOver, GivesTheSameModelAndLeavesNothingBehind)
{
    const std::string text = Frame(700);
    for (MidasReadingProfile profile : {kClassic, kCurrent}) {
        std::string json[2];
        for (bool release : {false, true}) {
            Translation translator;
            translator.SetReadingProfile(profile);
            translator.SetReleaseAfterHandOver(release);
            ReadText(translator, text);
            TranslationOutcome outcome;
            ModalData_Orvo model;
            outcome.read = true, outcome.ok = translator.TranMidastoOrvo(model);
            json[release] = ModelToJson(outcome, model);
            ModalData_Orvo second;  // with release on, nothing is left to hand over
            translator.TranMidastoOrvo(second);
            EXPECT_EQ(second.m_Nodes.GetSize() == 0, release);
            EXPECT_EQ(second.m_LineLoads.GetSize() == 0, release);
        }
        EXPECT_EQ(json[0], json[1]);
        EXPECT_NE(json[0].find("\"ok\": true"), std::string::npos);
    }
}

#ifdef __linux__
// Whether the address lies in a mapping of this process.
static bool Mapped(const void* address)
{
    std::ifstream maps("/proc/self/maps");
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    for (std::string line; std::getline(maps, line);) {
        const std::size_t dash = line.find('-');
        if (at >= std::stoull(line.substr(0, dash), nullptr, 16) && at < std::stoull(line.substr(dash + 1), nullptr, 16)) return true;
    }
    return false;
}

// While a reading runs, a freed large block is handed out again (cut to the size asked) instead of fresh
// pages; when it ends, the blocks kept go back to the system, as do blocks freed afterwards.
TEST(MappedMemory, FreedBlocksServeAgainWhileAReadingRuns)
{
    using namespace midas2orvo;
    constexpr std::size_t kBlock = 3 * kMappedBlock;
    void* first = nullptr;
    {
        const ReusedMemory reuse;
        first = AllocateAligned(kBlock, 16);
        ASSERT_NE(first, nullptr);
        static_cast<char*>(first)[kBlock - 1] = 1;
        FreeAligned(first, kBlock);
        void* again = AllocateAligned(kMappedBlock, 16);
        EXPECT_EQ(again, first);
        FreeAligned(again, kMappedBlock);
        EXPECT_TRUE(Mapped(first));
    }
    EXPECT_FALSE(Mapped(first)) << "a block kept during the reading stays mapped after it";
    void* block = AllocateAligned(kMappedBlock, 16);
    FreeAligned(block, kMappedBlock);
    EXPECT_FALSE(Mapped(block)) << "a block freed after the reading stays mapped";

    // Memory of any size (the host's chunks) takes the largest kept block that fits, else the front of a
    // larger one, whose tail stays kept for the next.
    const ReusedMemory reuse;
    char* large = static_cast<char*>(AllocateAligned(kBlock, 16));
    void* small = AllocateAligned(kMappedBlock, 16);
    FreeAligned(large, kBlock);
    FreeAligned(small, kMappedBlock);
    std::size_t taken = 0;
    EXPECT_EQ(TakeReused(2 * kMappedBlock, taken), small);
    EXPECT_EQ(taken, kMappedBlock);
    EXPECT_EQ(TakeReused(2 * kMappedBlock, taken), large);
    EXPECT_EQ(taken, 2 * kMappedBlock);
    EXPECT_EQ(TakeReused(2 * kMappedBlock, taken), large + 2 * kMappedBlock);
    EXPECT_EQ(taken, kMappedBlock);
    EXPECT_EQ(TakeReused(2 * kMappedBlock, taken), nullptr);
    FreeAligned(small, kMappedBlock);
    FreeAligned(large, 2 * kMappedBlock);
    FreeAligned(large + 2 * kMappedBlock, kMappedBlock);
    // With a limit, what is kept beyond it goes back: blocks kept before, and the tail of a block freed.
    ReusedMemory::KeepAtMost(kMappedBlock);
    EXPECT_TRUE(Mapped(small) != Mapped(large)) << "one 2 MiB block stays kept";
    char* freed = static_cast<char*>(AllocateAligned(kBlock, 16));
    ReusedMemory::KeepAtMost(2 * kMappedBlock);
    FreeAligned(freed, kBlock);
    EXPECT_TRUE(Mapped(freed + kMappedBlock - 1));
    EXPECT_FALSE(Mapped(freed + kMappedBlock));
    ReusedMemory::KeepAtMost(0);
    EXPECT_FALSE(Mapped(small) || Mapped(large) || Mapped(freed));
}
#endif
