// The ledger: every data line of a file is counted once, under its keyword line, and each line passed
// over is explained by a finding that names a line of its block.
#include "TestSupport.h"

namespace {

struct Collected : MidasDiagnostics {
    std::vector<MidasFindingInfo> findings;
    std::vector<MidasLedgerEntry> ledger;
    void Report(const MidasFindingInfo& f) override { findings.push_back(f); }
    void LedgerEntry(const MidasLedgerEntry& e) override { ledger.push_back(e); }
};

Collected Translate(const std::string& path, MidasReadingProfile profile, ModalData_Orvo& model)
{
    Collected sink;
    MIDAStranslatetoOrvo t;
    t.SetReadingProfile(profile);
    t.SetDiagnostics(&sink);
    if (t.ReadMidasFile(path.c_str()))
        t.TranMidastoOrvo(model);
    return sink;
}

// Data lines as today's layout counts them: logical lines ("\" joins), neither blank, nor a comment,
// nor a keyword line.
int DataLines(const std::string& path)
{
    std::ifstream in(Utf8Path(path), std::ios::binary);
    std::string line, logical;
    int count = 0;
    while (std::getline(in, line)) {
        logical += line;
        const auto end = logical.find_last_not_of(" \t\r");
        if (end != std::string::npos && logical[end] == '\\') {
            logical.resize(end);
            continue;
        }
        const auto first = logical.find_first_not_of(" \t\r\v\f");
        count += first != std::string::npos && logical[first] != ';' && logical[first] != '*';
        logical.clear();
    }
    return count;
}

std::string Keywords(const std::vector<MidasLedgerEntry>& ledger)
{
    std::string text;
    for (const auto& e : ledger)
        text += e.keyword + ":" + std::to_string(e.line) + ":" + std::to_string(e.dataLines) + "/" + std::to_string(e.used) + " ";
    return text;
}

} // namespace

TEST(Ledger, CountsEachLineOnceUnderItsKeywordLine)
{
    const std::string text = "title line\n*UNIT\nKN, M\n*NODE\n1, 0, 0, 0\n; comment\n\n2, 1, 0, 0\n*SPRING\n1, LINEAR\n"
                             "*ELEMENT\n1, BEAM, 1, 1, 1, 2, 0\n2, PLATE, 1, 1, 1, 2, 1, 2, 0\n"
                             "*STLDCASE\nDL, D,\n*USE-STLD, DL\n*CONLOAD\n1, 0, 0, -1, 0, 0, 0,\n9, 0, 0, -1, 0, 0, 0,\n"
                             "; End of data\n*ENDDATA\n";
    TempFile file(text);
    ModalData_Orvo model;
    const Collected current = Translate(file.path(), MidasReadingProfile::Current, model);
    EXPECT_EQ(Keywords(current.ledger), ":0:1/0 *UNIT:2:1/1 *NODE:4:2/2 *SPRING:9:1/0 *ELEMENT:11:2/2 *STLDCASE:14:1/1 "
                                        "*USE-STLD:16:0/0 *CONLOAD:17:2/1 *ENDDATA:21:0/0 ");
    for (const auto& e : current.ledger)
        EXPECT_EQ(e.reasons.empty(), e.passedOver == 0) << e.keyword;
}

TEST(Ledger, RealFilesAccountForEveryDataLine)
{
    const std::string dir = SharedModelsDir();
    if (dir.empty())
        GTEST_SKIP() << "no ../shared/real-models beside the checkout";
    for (const auto& entry : std::filesystem::directory_iterator(Utf8Path(dir))) {
        if (entry.path().extension() != ".mgt")
            continue;
        const std::string path = Utf8Text(entry.path());
        SCOPED_TRACE(path);
        ModalData_Orvo model;
        const Collected sink = Translate(path, MidasReadingProfile::Current, model);
        int sum = 0;
        for (std::size_t k = 0; k < sink.ledger.size(); ++k) {
            const MidasLedgerEntry& e = sink.ledger[k];
            sum += e.dataLines;
            EXPECT_EQ(e.passedOver, e.dataLines - e.used);
            if (e.passedOver == 0)
                continue;
            // A finding at one of the entry's lines: at or after its keyword line, before the next entry's.
            const long long end = k + 1 < sink.ledger.size() ? sink.ledger[k + 1].offset : LLONG_MAX;
            const bool named = std::any_of(sink.findings.begin(), sink.findings.end(), [&](const auto& f) {
                return f.offset >= e.offset && f.offset < end &&
                       std::find(e.reasons.begin(), e.reasons.end(), f.kind) != e.reasons.end();
            });
            EXPECT_TRUE(named) << e.keyword << " at line " << e.line;
        }
        EXPECT_EQ(sum, DataLines(path));
    }
}
