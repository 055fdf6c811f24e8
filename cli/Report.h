// The translation report: what did not reach the host model, collected from the library's findings.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "MIDAStranslatetoOrvo.h"

class JsonWriter;

// Collects findings by kind and by what they name, keeping counts and the first few file offsets, and
// the ledger of data lines used and passed over, one entry per keyword line.
class ReportCollector : public MidasDiagnostics {
public:
    static constexpr std::size_t kExamples = 5;

    struct Entry {
        MidasFinding kind;
        std::string key;                   // what the entry names (a keyword, a type word), or empty
        long long count = 0;               // lines or records it stands for
        std::vector<long long> offsets;    // first few byte offsets in the file
        std::vector<std::string> examples; // first few details (numbers, lines)
    };

    void Report(const MidasFindingInfo& finding) override;
    void Progress(long long bytesRead, long long bytesTotal) override;
    void PhaseFinished(MidasPhase phase) override;
    void LedgerEntry(const MidasLedgerEntry& entry) override;

    // Called with reading progress (bytes read, bytes in all), e.g. to draw a progress line.
    std::function<void(long long, long long)> onProgress;
    // Called as each stage of the import finishes.
    std::function<void(MidasPhase)> onPhase;

    const std::vector<Entry>& Entries() const { return m_Entries; }
    bool Has(MidasFinding kind) const;
    long long Count(MidasFinding kind) const;
    const std::vector<MidasLedgerEntry>& Ledger() const { return m_Ledger; }

private:
    std::vector<Entry> m_Entries;
    std::vector<MidasLedgerEntry> m_Ledger;
    std::map<std::pair<int, std::string>, std::size_t> m_Index;
};

// Maps byte offsets of a file to 1-based line numbers.
class LineNumbers {
public:
    explicit LineNumbers(const std::string& path);
    long long LineOf(long long offset) const;  // 0 when unknown

private:
    std::vector<long long> m_LineStarts;
};

// The report as text: a converter turns names of the file into UTF-8 for display.
std::string ReportText(const ReportCollector& report, const LineNumbers& lines, MidasReadingProfile profile,
                       const std::function<std::string(std::string_view)>& toUtf8);
// The report as the "report" object of the JSON dump.
void ReportJson(JsonWriter& json, const ReportCollector& report, const LineNumbers& lines,
                MidasReadingProfile profile, const std::function<std::string(std::string_view)>& toUtf8);
// Why a refused translation was refused, from its RefusedUnit and UnitWords findings: "no *UNIT block",
// "length unit XX unknown", "force unit TONF cannot be converted in the classic profile (try --profile
// current)"; several causes joined by "; ".
std::string RefusalCause(const ReportCollector& report, MidasReadingProfile profile);
