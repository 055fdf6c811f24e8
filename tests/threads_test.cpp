// Two translators on two threads, each reading into its own host model, give what each gives alone. Run
// under ThreadSanitizer (MIDAS2ORVO_TSAN) this also shows that they share no state unsynchronised.
#include <atomic>
#include <thread>

#include "ModelDump.h"
#include "TestSupport.h"

// One translation of the file at path as JSON. Material IDs count the materials alive in the whole
// process, so they depend on the other thread (two of one model may even be equal): they are left out, and
// so are the links of today's members and areas to them.
static std::string Translate(const std::string& path, MidasReadingProfile profile)
{
    Translated run(path, profile, true);
    ModalData_Orvo& model = run.model;
    for (Material_Orvo* material : model.m_Materials) material->ID = material->ID >= 1 ? 0 : -1;
    for (Line_Orvo* line : model.m_Lines) line->MaterialID = profile == kCurrent ? 0 : line->MaterialID;
    for (Area_Orvo* area : model.m_Areas) area->MaterialID = 0;
    TranslationOutcome outcome;
    outcome.read = true, outcome.ok = run.ok;
    return ModelToJson(outcome, model);
}

TEST(Threads, TwoTranslationsAtOnceGiveWhatEachGivesAlone)
{
    const std::string text = MIDAS2ORVO_SOURCE_DIR "/examples/portal-frame.mgt";
    const int materialsAlive = Material_Orvo::LiveCount(), sectionsAlive = LSection_Orvo::LiveCount();
    const std::string alone[] = {Translate(text, kClassic), Translate(text, kCurrent)};
    ASSERT_TRUE(alone[0].find("\"ok\": true") != std::string::npos && alone[1].find("\"ok\": true") != std::string::npos);
    constexpr int kRounds = 12;
    std::vector<std::string> together[2];
    std::atomic<int> ready = 0;  // a start gate that spins: libstdc++ 12's std::latch can miss its wake-up on Windows
    auto run = [&](int k) {      // thread k starts with profile k and alternates
        for (++ready; ready < 2;) std::this_thread::yield();
        for (int round = 0; round < kRounds; ++round) together[k].push_back(Translate(text, (k + round) % 2 ? kCurrent : kClassic));
    };
    std::thread a(run, 0), b(run, 1);
    a.join(), b.join();
    for (int k = 0; k < 2; ++k)
        for (int round = 0; round < kRounds; ++round)
            ASSERT_EQ(together[k][round], alone[(k + round) % 2]) << "thread " << k << ", round " << round;
    // Every material and beam section made on either thread has been destroyed with its model.
    EXPECT_EQ(Material_Orvo::LiveCount() * 1000 + LSection_Orvo::LiveCount(), materialsAlive * 1000 + sectionsAlive);
}
