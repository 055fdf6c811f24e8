// Fuzz target: a whole model text through the reader, from memory and, on one input in four (every input
// when replaying), from a file (read through a buffer, stepping back where the load reader looks ahead).
// Both routes must keep as many records in every block and build the very same working nodes, members and
// loads (fuzz_translate compares what reaches the host); no block may hold more records than the text has
// physical lines. Inputs stay within one buffer of the file route, whose chunk edges the long sweeps of
// the tests cross; the second reading here mostly checks the step back. In the classic
// profile every kept record must meet its block's contract, and no more loads are made than lines read
// (a load line names one node or member; a concentrated member load makes four entries).
#include <functional>
#include <type_traits>

#include "fuzz_common.h"

namespace {

// The bytes of the numbers given, in order: two accounts are equal only when every number is.
struct Account {
    std::string bytes;
    template <class... T>
    void Add(const T&... v)
    {
        const auto add = [this](const auto& x) {
            if constexpr (std::is_arithmetic_v<std::decay_t<decltype(x)>>)
                bytes.append(reinterpret_cast<const char*>(&x), sizeof x);
            else  // a list of numbers
                for (int k = 0; k < x.Count; ++k)
                    bytes.append(reinterpret_cast<const char*>(&x[k]), sizeof x[k]);
        };
        (add(v), ...);
    }
};

// Checks what the reader left in t and gives its account.
std::string Check(const Translation& t, int physical, bool classic)
{
    Account a;
    const auto visit = [&](const auto& block) {
        a.Add(block ? block->GetCount() : -1);
        FUZZ_CHECK(!block || block->GetCount() <= physical);
        for (int i = 0; block && classic && i < block->GetCount(); ++i)
            fuzz::CheckKept(*block->GetRecord(i));  // today's layout reads ID ranges: only counts are bounded
    };
    const ModelBlocks& b = t.m_Blocks;
    visit(b.version), visit(b.unit), visit(b.node), visit(b.element), visit(b.material), visit(b.section);
    visit(b.thickness), visit(b.group), visit(b.constraint), visit(b.frameRelease), visit(b.loadCase);
    for (const WorkNode* n : t.m_NodeArray)
        a.Add(n->ID, n->PointLoads.Count, n->PointLoads);
    for (const WorkLine* l : t.m_LineArray)
        a.Add(l->ID, l->LineLoads.Count, l->LineLoads);
    for (const WorkPointLoad* p : t.m_PointLoadArray)
        a.Add(p->CaseID, p->FX, p->FY, p->FZ, p->MX, p->MY, p->MZ);
    for (const WorkLineLoad* l : t.m_LineLoadArray)
        a.Add(l->CaseID, l->LoadType, l->Value1, l->Value2, l->Position1, l->Position2);
    FUZZ_CHECK(!classic || (t.m_PointLoadArray.GetSize() <= physical && t.m_LineLoadArray.GetSize() <= 4 * physical));
    return a.bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > fuzz::kMaxModel)
        return 0;
    fuzz::Quiet();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int physical = fuzz::PhysicalLines(text);
    bool bothRoutes = std::hash<std::string_view>{}(text) % 4 == 0;
#ifdef MIDAS2ORVO_FUZZ_REPLAY
    bothRoutes = true;
#endif
    for (MidasReadingProfile profile : fuzz::ProfilesFor(size)) {
        Translation fromMemory;
        fromMemory.SetReadingProfile(profile);
        fuzz::ReadText(fromMemory, text);
        const bool classic = profile == MidasReadingProfile::Classic;
        const std::string memoryAccount = Check(fromMemory, physical, classic);
        if (!bothRoutes)
            continue;
        Translation fromFile;
        fromFile.SetReadingProfile(profile);
        FUZZ_CHECK(fromFile.ReadMidasFile(fuzz::ScratchFile(text)) && fromFile.HaveReadFile());
        FUZZ_CHECK(memoryAccount == Check(fromFile, physical, classic));
    }
    return 0;
}
