// Fuzz target: a whole model text read from memory (and, on some inputs, from a file through
// ReadMidasFile), then translated into a fresh host model. Both routes must give the same host model (as
// the tool's JSON, which must be well-formed), findings and messages. Whatever the text: records are numbered by position, the host holds
// no more of them than the text could give, every load number a node or member lists names a load that
// was made, codes are in range, and a refused translation hands over nothing.
#include <algorithm>
#include <functional>

#include "../cli/Utf8.h"
#include "ModelDump.h"
#include "fuzz_common.h"

namespace {

constexpr unsigned kFreedomBits = kFreeTX | kFreeTY | kFreeTZ | kFreeRX | kFreeRY | kFreeRZ;
bool IsShape(int code)  // of a beam section in the host
{
    constexpr int kShapeCodes[] = {3, 5, 6, 17, 21, 22, 24, 25, 28, 29};
    return std::find(std::begin(kShapeCodes), std::end(kShapeCodes), code) != std::end(kShapeCodes);
}
// A load's case: its position among the load cases and its kind, or 0 and -1 when none named it.
bool IsCase(int id, int kind) { return id >= 0 && kind >= -1 && kind <= 2 && (id == 0) == (kind == -1); }

void CheckModel(const ModalData_Orvo& m, int physical, long long bytes, bool classic)
{
    // A node comes from one *NODE record, a member from at most two physical lines.
    FUZZ_CHECK(m.m_Nodes.GetSize() <= physical && m.m_Lines.GetSize() <= 2 * physical);
    FUZZ_CHECK(m.m_LSections.GetSize() <= physical && m.m_Materials.GetSize() <= physical);
    // An area comes from one PLATE or WALL line, in the current profile only, numbered by position.
    FUZZ_CHECK(m.m_ASections.GetSize() <= physical && m.m_Areas.GetSize() <= (classic ? 0 : physical));
    for (int i = 0; i < m.m_Areas.GetSize(); ++i) {
        const Area_Orvo& a = *m.m_Areas[i];
        FUZZ_CHECK(a.ID == i + 1 && (a.Kind == 1 || a.Kind == 2) && a.Nodes.Count >= 3 && a.Nodes.Count <= 4);
    }
    long long attached = 0;  // a nodal load is attached to one node at most
    for (int i = 0; i < m.m_Nodes.GetSize(); ++i) {
        FUZZ_CHECK(m.m_Nodes[i]->ID == i + 1 && (m.m_Nodes[i]->Restraint & ~kFreedomBits) == 0);
        for (int load : m.m_Nodes[i]->PointLoads)
            FUZZ_CHECK(load >= 1 && load <= m.m_PointLoads.GetSize());
        attached += m.m_Nodes[i]->PointLoads.Count;
    }
    FUZZ_CHECK(attached <= m.m_PointLoads.GetSize());
    // Member load numbers are handed out 1, 2, 3, ... one per load attached: none exceeds their count.
    long long listed = 0, largest = 0;
    for (int i = 0; i < m.m_Lines.GetSize(); ++i) {
        const Line_Orvo& l = *m.m_Lines[i];
        FUZZ_CHECK(l.ID == i + 1 && ((l.StartRelease | l.EndRelease) & ~kFreedomBits) == 0);
        FUZZ_CHECK(l.SectionShape == 0 || IsShape(l.SectionShape));  // 0: left unlinked
        for (int load : l.LineLoads) {
            FUZZ_CHECK(load >= 1);
            largest = std::max<long long>(largest, load);
        }
        listed += l.LineLoads.Count;
    }
    FUZZ_CHECK(largest <= listed && (!classic || listed <= physical));
    // Sections are numbered 1, 2, 3, ... within each shape code, in file order; each code reaches the
    // host once, every section's among them (a code may come without a section: an unknown catalogue
    // name ends the section step after its code was listed).
    int numbered[32] = {}, shapes[32] = {};
    for (int code : m.m_SectionShapes)
        FUZZ_CHECK(IsShape(code) && ++shapes[code] == 1);
    for (const LSection_Orvo* s : m.m_LSections) {
        FUZZ_CHECK(IsShape(s->ShapeCode) && shapes[s->ShapeCode] && s->ID == ++numbered[s->ShapeCode]);
        FUZZ_CHECK(s->Properties.Count == 13);
    }
    for (const Material_Orvo* material : m.m_Materials) {
        const int grade = material->Property.Grade;
        FUZZ_CHECK(grade == -1 || (grade >= 1 && grade <= 4) || (grade >= 7 && grade <= 21));
    }
    // In the classic layout a load line names one node or member. Today's takes lists with ranges, whose
    // items (a byte or more each) reach each node or member that exists at most once.
    const long long nodes = classic ? 1 : m.m_Nodes.GetSize(), members = classic ? 1 : m.m_Lines.GetSize();
    const long long lines = classic ? physical : bytes;
    FUZZ_CHECK(m.m_PointLoads.GetSize() <= nodes * lines && m.m_LineLoads.GetSize() <= 4 * members * lines);
    for (const PointLoad_Orvo* load : m.m_PointLoads)
        FUZZ_CHECK(IsCase(load->CaseID, load->CaseKind));
    for (const LineLoad_Orvo* load : m.m_LineLoads)
        FUZZ_CHECK(IsCase(load->CaseID, load->CaseKind) && load->LoadType >= 1 && load->LoadType <= 4 &&
                   load->Direction >= -1 && load->Direction <= 5);
}

// JSON as RFC 8259 has it, in UTF-8: Value reads one value from s[i] on and moves i past it.
struct Json {
    std::string_view s;
    std::size_t i = 0;
    bool Take(char c) { return i < s.size() && s[i] == c && ++i; }
    bool Next(char c) { return i = std::min(s.find_first_not_of(" \t\r\n", i), s.size()), Take(c); }  // after blanks
    bool End() { return !Next(' ') && i == s.size(); }  // nothing but blanks left
    bool Digits() { const std::size_t from = i; return (i = std::min(s.find_first_not_of("0123456789", i), s.size())) > from; }
    bool String()  // after the opening quote: UTF-8, no control byte, escapes \" \\ \/ \b \f \n \r \t \uXXXX
    {
        while (i < s.size() && s[i] != '"') {
            const unsigned char c = static_cast<unsigned char>(s[i]);
            const std::string_view rest = s.substr(i + 1);
            std::size_t n = c >= 0x80 ? Utf8SequenceLength(s, i) : c >= 0x20 && c != '\\';
            if (c == '\\' && rest.substr(0, 1) == "u")
                n = rest.size() >= 5 && rest.substr(1, 4).find_first_not_of("0123456789abcdefABCDEF") == rest.npos ? 6 : 0;
            else if (c == '\\')
                n = !rest.empty() && std::string_view("\"\\/bfnrt").find(rest[0]) != rest.npos ? 2 : 0;
            if (n == 0)
                return false;
            i += n;
        }
        return Take('"');
    }
    bool Value()
    {
        for (const char open : {'{', '['}) {  // an object or array: members (a key, ':', a value) or values
            if (!Next(open))
                continue;
            const char close = open == '{' ? '}' : ']';
            if (Next(close))
                return true;
            do if (!((open == '[' || (Next('"') && String() && Next(':'))) && Value())) return false;
            while (Next(','));
            return Next(close);
        }
        if (Next('"'))
            return String();
        for (std::string_view word : {"true", "false", "null"})
            if (s.substr(i, word.size()) == word)
                return i += word.size(), true;
        Take('-');  // a number: no leading zero, digits after a point and in an exponent
        if ((!Take('0') && !Digits()) || (Take('.') && !Digits()))
            return false;
        if (!Take('e') && !Take('E'))
            return true;
        if (!Take('+'))
            Take('-');
        return Digits();
    }
};

// Findings point into the text and count something; each is written down, to compare two readings.
struct CheckingSink : MidasDiagnostics {
    long long size;
    std::string findings;
    explicit CheckingSink(long long n) : size(std::max(n, 1LL)) {}
    void Report(const MidasFindingInfo& f) override
    {
        FUZZ_CHECK(f.offset >= -1 && f.offset < size && f.count >= 0);
        findings += std::to_string(int(f.kind)) + ',' + std::to_string(f.offset) + ',' + std::to_string(f.count) + ',';
        findings += f.detail + '\n';
    }
    void LedgerEntry(const MidasLedgerEntry& e) override
    {
        FUZZ_CHECK(e.used >= 0 && e.used <= e.dataLines && e.passedOver == e.dataLines - e.used);
        findings += e.keyword + ',' + std::to_string(e.offset) + ',' + std::to_string(e.dataLines) + ',' + std::to_string(e.used) + '\n';
    }
};

// One translation, checked: its messages, findings, ledger and host model as JSON. With threads, blocks are
// read in pieces of chunk bytes after lead records.
std::string Translate(std::string_view text, int physical, MidasReadingProfile profile, bool fromFile, int threads = 1,
                      std::size_t chunk = 0, int lead = 0)
{
    ModalData_Orvo model;
    Translation translator;
    translator.SetReadingProfile(profile);
    translator.SetReadingThreads(threads);
    if (chunk)
        translator.SetChunking(chunk, lead);
    CheckingSink sink(static_cast<long long>(text.size()));
    translator.SetDiagnostics(&sink);
    if (fromFile)
        FUZZ_CHECK(translator.ReadMidasFile(fuzz::ScratchFile(text)));
    else
        fuzz::ReadText(translator, text);
    const int before = fuzz::g_Messages;
    const bool translated = translator.TranMidastoOrvo(model);
    const int messages = fuzz::g_Messages - before;
    // A refused unit is said once and refuses the translation, which then hands over nothing.
    FUZZ_CHECK(messages <= 1 && (messages == 0 || !translated) && model.m_bUpdated == translated);
    if (translated)
        CheckModel(model, physical, static_cast<long long>(text.size()), profile == MidasReadingProfile::Classic);
    else
        FUZZ_CHECK(model.m_Nodes.GetSize() + model.m_Lines.GetSize() + model.m_LSections.GetSize() + model.m_Areas.GetSize() +
                       model.m_SectionShapes.Count + model.m_ASections.GetSize() + model.m_Materials.GetSize() +
                       model.m_PointLoads.GetSize() + model.m_LineLoads.GetSize() == 0);
    const std::string json = ModelToJson(TranslationOutcome{true, translated, {}}, model);
    Json checker{json};
    FUZZ_CHECK(fromFile || (checker.Value() && checker.End()));  // the file route's is compared with it
    return std::to_string(messages) + '\n' + sink.findings + json;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > fuzz::kMaxModel)
        return 0;
    fuzz::Quiet();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int physical = fuzz::PhysicalLines(text);
    // fuzz_read compares the two reading routes record by record; here the file route's findings, ledger
    // and host model, and those of a reading in pieces on several threads, are compared on one input in
    // eight (every input when replaying), which leaves most of the time to the translation itself.
    const std::size_t hash = std::hash<std::string_view>{}(text);
    bool compare = hash % 8 == 0;
#ifdef MIDAS2ORVO_FUZZ_REPLAY
    compare = true;
#endif
    for (MidasReadingProfile profile : fuzz::ProfilesFor(size)) {
        const std::string fromMemory = Translate(text, physical, profile, false);
        if (!compare)
            continue;
        FUZZ_CHECK(fromMemory == Translate(text, physical, profile, true));
        const int threads = 2 + int(hash / 8 % 3), lead = int(hash / 32 % 3);
        FUZZ_CHECK(fromMemory == Translate(text, physical, profile, hash / 128 % 2, threads, 1 + hash / 256 % 97, lead));
    }
    return 0;
}
