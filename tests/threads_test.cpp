// Two translators on two threads, each reading its own file into its own host model, must give what the
// same translations give one after the other. Run under ThreadSanitizer (MIDAS2ORVO_TSAN) this also
// shows that they share no state without synchronisation.
#include "TestSupport.h"

#include <latch>
#include <mutex>
#include <sstream>
#include <thread>

#include "ModelDump.h"

namespace {

// A row of portal bays in kN (or forceUnit) and m: columns from the ground nodes 1..bays+1 to the top
// nodes, girders between the tops; a steel grade, a catalogue column section and a welded girder, a
// plate thickness, two groups, fixed supports, a released girder end, and a dead and a live load section.
std::string RowOfBays(int bays, const std::string& forceUnit)
{
    const int columns = bays + 1;
    std::ostringstream mgt;
    mgt << "*UNIT\n" << forceUnit << ", M, KJ, C\n\n*NODE\n";
    for (int i = 1; i <= columns; ++i)
        mgt << i << ", " << 6.0 * (i - 1) << ", 0, 0\n";
    for (int i = 1; i <= columns; ++i)
        mgt << columns + i << ", " << 6.0 * (i - 1) << ", 0, 4.5\n";
    // One line or item per number first, first + 1, ...: the number, then rest.
    auto numbered = [&mgt](int first, int count, const char* rest) {
        for (int n = first; n < first + count; ++n)
            mgt << n << rest;
    };
    mgt << "\n*ELEMENT\n";
    for (int i = 1; i <= columns; ++i)
        mgt << i << ", BEAM, 1, 1, " << i << ", " << columns + i << ", 0, 0\n";
    for (int j = 1; j <= bays; ++j)
        mgt << columns + j << ", BEAM, 1, 2, " << columns + j << ", " << columns + j + 1 << ", 0, 0\n";
    mgt << "\n*MATERIAL\n1, STEEL, Q345, 0, 0, , C, NO, 1, GB03(S), Q345\n\n"
           "*SECTION\n1, DBUSER, Column, CC, 0, 0, 0, 0, 0, 0, YES, H, 1, GB-YB05, HW300x300x10/15\n"
           "2, DBUSER, Girder, CC, 0, 0, 0, 0, 0, 0, YES, H, 2, 0.4, 0.2, 0.008, 0.013, 0, 0, 0, 0, 0, 0\n\n"
           "*THICKNESS\n1, VALUE, YES, 0.12, 0\n\n*GROUP\nColumns, , ";
    numbered(1, columns, " ");
    mgt << ", 0\nGirders, , ";
    numbered(columns + 1, bays, " ");
    mgt << ", 0\n\n*CONSTRAINT\n1to" << columns << ", 111111,\n\n*FRAME-RLS\n";
    numbered(columns + 1, bays, ", NO, 000000, 0, 0, 0, 0, 0, 0\n   000011, 0, 0, 0, 0, 0, 0,\n");
    mgt << "\n*STLDCASE\nDL, D, dead\nLL, L, live\n\n*USE-STLD, DL\n\n*CONLOAD\n";
    numbered(columns + 1, columns, ", 0, 0, -25, 0, 0, 0,\n");
    mgt << "\n*BEAMLOAD\n";
    numbered(columns + 1, bays, ", BEAM, UNILOAD, GZ, NO, 0, -3.5, 1, -3.5, 0, 0, 0, 0,\n");
    mgt << "\n; End of data for load case [DL] ---\n\n*USE-STLD, LL\n\n*BEAMLOAD\n";
    numbered(columns + 1, bays, ", BEAM, CONLOAD, GZ, NO, 0.5, -12, 0, 0, 0, 0, 0, 0,\n");
    mgt << "\n; End of data for load case [LL] ---\n\n*ENDDATA\n";
    return mgt.str();
}

// The texts of the message box from every thread, while alive.
class SharedMessages {
public:
    SharedMessages() { m_Previous = SetMessageBoxHandler(&Record, this); }
    ~SharedMessages() { SetMessageBoxHandler(m_Previous, nullptr); }
    std::vector<std::string> Texts()
    {
        std::lock_guard<std::mutex> lock(m_Lock);
        return m_Texts;
    }

private:
    static void Record(const char* text, void* self)
    {
        auto* messages = static_cast<SharedMessages*>(self);
        std::lock_guard<std::mutex> lock(messages->m_Lock);
        messages->m_Texts.push_back(text);
    }
    MessageBoxHandler m_Previous;
    std::mutex m_Lock;
    std::vector<std::string> m_Texts;
};

struct Job {
    std::string path;
    MidasReadingProfile profile;
};

// What one translation gives: whether it succeeded and the host model as JSON. A Material_Orvo's ID is
// the number of Material_Orvo objects alive in the whole process when it was made, so it depends on
// what other threads hold at that moment; it is set to 0 before the comparison. Everything else must
// match exactly.
struct Result {
    bool ok = false;
    std::string model;
    bool operator==(const Result&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Result& result)
{
    return out << (result.ok ? "translated: " : "refused: ") << result.model.substr(0, 2000);
}

Result Translate(const Job& job)
{
    MIDAStranslatetoOrvo translator;
    translator.SetReadingProfile(job.profile);
    ModalData_Orvo model;
    TranslationOutcome outcome;
    outcome.read = translator.ReadMidasFile(job.path.c_str());
    outcome.ok = outcome.read && translator.TranMidastoOrvo(model);
    for (Material_Orvo* material : model.m_Materials) {
        if (material->ID < 1)
            return {false, "material ID " + std::to_string(material->ID) + " below 1"};
        material->ID = 0;
    }
    return {outcome.ok, ModelToJson(outcome, model)};
}

} // namespace

TEST(Threads, TwoTranslationsAtOnceGiveWhatEachGivesAlone)
{
    constexpr int kRounds = 12;
    const char* const kRefusal = "KGF Can't Convert,Please use KN,mm Unit!";
    const TempFile bays(RowOfBays(150, "KN"), "bays.mgt");
    const TempFile refused(RowOfBays(20, "KGF"), "refused.mgt");
    // Thread A: the example, classic layout. Thread B: a larger model read in the current layout, and in
    // turn a model whose force unit the classic layout refuses with a message.
    const std::vector<Job> jobsA = {{MIDAS2ORVO_SOURCE_DIR "/examples/portal-frame.mgt", MidasReadingProfile::Classic}};
    const std::vector<Job> jobsB = {{bays.path(), MidasReadingProfile::Current},
                                    {refused.path(), MidasReadingProfile::Classic}};

    SharedMessages messages;
    const int materialsAlive = Material_Orvo::LiveCount();
    const int sectionsAlive = LSection_Orvo::LiveCount();
    std::vector<Result> expectedA, expectedB;
    for (const Job& job : jobsA)
        expectedA.push_back(Translate(job));
    for (const Job& job : jobsB)
        expectedB.push_back(Translate(job));
    ASSERT_TRUE(expectedA[0].ok);
    ASSERT_TRUE(expectedB[0].ok);
    ASSERT_FALSE(expectedB[1].ok);
    ASSERT_EQ(messages.Texts(), std::vector<std::string>{kRefusal});

    std::latch start(2);
    auto run = [&](const std::vector<Job>& jobs, std::vector<Result>& results) {
        start.arrive_and_wait();
        for (int round = 0; round < kRounds; ++round)
            results.push_back(Translate(jobs[std::size_t(round) % jobs.size()]));
    };
    std::vector<Result> resultsA, resultsB;
    std::thread a(run, std::cref(jobsA), std::ref(resultsA));
    std::thread b(run, std::cref(jobsB), std::ref(resultsB));
    a.join();
    b.join();

    ASSERT_EQ(resultsA.size(), std::size_t(kRounds));
    ASSERT_EQ(resultsB.size(), std::size_t(kRounds));
    for (int round = 0; round < kRounds; ++round) {
        EXPECT_EQ(resultsA[std::size_t(round)], expectedA[std::size_t(round) % expectedA.size()]) << "A, round " << round;
        EXPECT_EQ(resultsB[std::size_t(round)], expectedB[std::size_t(round) % expectedB.size()]) << "B, round " << round;
    }
    // One refusal per translation of the refused model, none from the other thread.
    EXPECT_EQ(messages.Texts(), std::vector<std::string>(1 + kRounds / 2, kRefusal));
    // Every material and beam section made on either thread has been destroyed with its model.
    EXPECT_EQ(Material_Orvo::LiveCount(), materialsAlive);
    EXPECT_EQ(LSection_Orvo::LiveCount(), sectionsAlive);
}
