// ID lists of today's layout reach only records that exist, so a short file cannot make millions of loads.
#include "TestSupport.h"

#ifndef _WIN32  // the bound is checked in a child process under an address-space cap (POSIX)
#include <sys/resource.h>
#include <sys/wait.h>
#endif

namespace {

// Ten nodes numbered 1..10 on a line, members 21..29 between them, in kN and m.
std::string TenNodes(const std::string& rest)
{
    std::string text = "*UNIT\nKN, M, KJ, C\n*NODE\n";
    for (int n = 1; n <= 10; ++n)
        text += std::to_string(n) + ", " + std::to_string(n) + ", 0, 0\n";
    text += "*ELEMENT\n";
    for (int e = 21; e <= 29; ++e)
        text += std::to_string(e) + ", BEAM, 1, 1, " + std::to_string(e - 20) + ", " + std::to_string(e - 19) + ", 0\n";
    return text + "*STLDCASE\nDL, D,\n" + rest;
}

const std::string kEveryListHuge =
    "*CONSTRAINT\n1to2147483647, 111111,\n*GROUP\nALL, 1to2147483647, 1to2147483647, 0\n"
    "*FRAME-RLS\n1to2147483647, NO, 000011, 0, 0, 0, 0, 0, 0\n     000011, 0, 0, 0, 0, 0, 0, \n"
    "*USE-STLD, DL\n*CONLOAD\n1to2147483647, 0, 0, -1, 0, 0, 0,\n"
    "*BEAMLOAD\n1to2147483647, BEAM, UNILOAD, GZ, NO, NO, aDir[1], , , , 0, -1, 1, -1, 0, 0, 0, 0, , NO, 0, 0, NO,\n";

// Counts findings of one kind: how many reports, and the numbers they stand for.
struct Counter : MidasDiagnostics {
    MidasFinding kind;
    int reports = 0;
    long long numbers = 0;
    explicit Counter(MidasFinding k) : kind(k) {}
    void Report(const MidasFindingInfo& f) override { reports += f.kind == kind, numbers += f.kind == kind ? f.count : 0; }
};

} // namespace

TEST(BoundedLists, RangesWalkTheRecordsThatExistInListOrder)
{
    // Steps up and down, single numbers, and numbers beyond the model: loads only where a node or member is.
    const std::string loads = "*USE-STLD, DL\n*CONLOAD\n9to1by-4, 0, 0, -1, 0, 0, 0,\n0 4 40to2000000000by3, 0, 0, -2, 0, 0, 0,\n"
                              "*BEAMLOAD\n20to30by2 7, BEAM, CONLOAD, GZ, NO, NO, aDir[1], , , , 0.5, -3, 0, 0, 0, 0, 0, 0,\n";
    Translation t;
    t.SetReadingProfile(MidasReadingProfile::Current);
    Counter nodes(MidasFinding::LoadOnMissingNode);
    t.SetDiagnostics(&nodes);
    TempFile file(TenNodes("*GROUP\nEVEN, , 22to100by2 5to1\n*CONSTRAINT\n2to6by2 99, 111000,\n" + loads));
    ModalData_Orvo model;
    ASSERT_TRUE(t.ReadMidasFile(file.path().c_str()) && t.TranMidastoOrvo(model));
    std::string listed;
    for (const Node_Orvo* node : model.m_Nodes)
        listed += std::to_string(node->PointLoads.Count) + (node->Restraint == 0xE0 ? "R " : " ");
    EXPECT_EQ(listed, "1 0R 0 1R 1 0R 0 0 1 0 ");  // 9, 5, 1 by -4; 4; 40.. names nothing; supports 2 4 6
    EXPECT_EQ(model.m_PointLoads.GetSize(), 4);
    EXPECT_EQ(nodes.numbers, 1 + 666666654);  // node 0, and the numbers 40..2000000000 by 3 that name nothing
    EXPECT_EQ(nodes.reports, 1);               // one line of the block
    std::string members;
    for (const Line_Orvo* line : model.m_Lines)
        members += std::to_string(line->LineLoads.Count) + line->GroupName.substr(0, 1) + " ";
    EXPECT_EQ(members, "0 1E 0 1E 0 1E 0 1E 0 ");  // 22..28 by 2 loaded and grouped; 20, 30, 7 and 5to1 are not members
    EXPECT_EQ(model.m_LineLoads.GetSize(), 4 * 4);  // four entries per concentrated load

}

#ifndef _WIN32
// Each input translates in both profiles in a child process whose address space is capped at 256 MiB.
TEST(BoundedLists, TinyFilesWithHugeListsStayUnder256MiB)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "sanitizers reserve more address space than the cap";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
    GTEST_SKIP() << "sanitizers reserve more address space than the cap";
#endif
#endif
    const std::string million16 = "1to16000000, 0, 0, -1, 0, 0, 0,\n";
    std::vector<std::string> inputs = {TenNodes(kEveryListHuge), TenNodes("*USE-STLD, DL\n*CONLOAD\n" + million16 + million16 +
                                                                          million16 + million16)};
    const std::string finding = MIDAS2ORVO_SOURCE_DIR "/fuzz/corpus/model/current-load-ranges-past-last-node.mgt";
    if (std::ifstream in{finding, std::ios::binary})
        inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    for (const std::string& text : inputs) {
        TempFile file(text);
        for (MidasReadingProfile profile : {MidasReadingProfile::Classic, MidasReadingProfile::Current}) {
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                const rlimit cap{256u << 20, 256u << 20};
                setrlimit(RLIMIT_AS, &cap);
                bool passed = false;
                {  // freed before _exit: a leak checker tracing the child sees no live model
                    Translation t;
                    t.SetReadingProfile(profile);
                    ModalData_Orvo model;
                    const bool ok = t.ReadMidasFile(file.path().c_str()) && t.TranMidastoOrvo(model);
                    // Current profile: every point load is made on a node that lists it.
                    int listed = 0;
                    for (const Node_Orvo* node : model.m_Nodes)
                        listed += node->PointLoads.Count;
                    passed = ok && (profile == MidasReadingProfile::Classic || listed == model.m_PointLoads.GetSize());
                }
                _exit(passed ? 0 : 3);
            }
            int status = 0;
            waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status << " profile " << int(profile);
        }
    }
}
#endif
