// Fuzz target: read a model text in each reading profile, from memory and from a file through
// ReadMidasFile, translate it, then check that both routes give the same host model and what always
// holds of that model whatever the text: nodes and members numbered by position, no more records than
// the text could give, every load number a node or member lists naming a load that was made, case and
// type codes in range, and nothing handed over when the translation is refused.
#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "ModelDump.h"
#include "fuzz_common.h"

namespace {

// Shape codes a beam section can have in the host.
const std::set<int> kShapeCodes = {3, 5, 6, 17, 21, 22, 24, 25, 28, 29};

// Only the six freedom bits of a restraint or release byte may be set.
constexpr unsigned char kFreedomBits = kFreeTX | kFreeTY | kFreeTZ | kFreeRX | kFreeRY | kFreeRZ;

bool IsEmpty(const ModalData_Orvo& model)
{
    return model.m_Nodes.GetSize() == 0 && model.m_Lines.GetSize() == 0 && model.m_LSections.GetSize() == 0 &&
           model.m_SectionShapes.Count == 0 && model.m_ASections.GetSize() == 0 &&
           model.m_Materials.GetSize() == 0 && model.m_PointLoads.GetSize() == 0 &&
           model.m_LineLoads.GetSize() == 0 && model.m_Areas.GetSize() == 0;
}

// A load's case: position among the load cases (0: none named it) and kind (-1: none named it).
void CheckCase(int caseID, int caseKind)
{
    FUZZ_CHECK(caseID >= 0);
    FUZZ_CHECK(caseKind >= -1 && caseKind <= 2);
    FUZZ_CHECK((caseID == 0) == (caseKind == -1));
}

// Load numbers are handed out 1, 2, 3, ... within each load section run, one per load attached, so
// none exceeds the count of numbers handed out in all.
void CheckLoadNumbers(long long listed, int largest)
{
    FUZZ_CHECK(largest <= listed);
}

void CheckNodes(const ModalData_Orvo& model, int physical)
{
    // Each node comes from one *NODE record, and each record from one physical line.
    FUZZ_CHECK(model.m_Nodes.GetSize() <= physical);
    long long listed = 0;
    int largest = 0;
    for (int i = 0; i < model.m_Nodes.GetSize(); ++i) {
        const Node_Orvo* node = model.m_Nodes[i];
        FUZZ_CHECK(node->ID == i + 1);
        FUZZ_CHECK((node->Restraint & ~kFreedomBits) == 0);
        for (int load : node->PointLoads) {
            FUZZ_CHECK(load >= 1 && load <= model.m_PointLoads.GetSize());
            largest = std::max(largest, load);
        }
        listed += node->PointLoads.Count;
    }
    // Each nodal load is attached to one node at most.
    FUZZ_CHECK(listed <= model.m_PointLoads.GetSize());
    CheckLoadNumbers(listed, largest);
}

void CheckLines(const ModalData_Orvo& model, int physical, bool classic)
{
    FUZZ_CHECK(model.m_Lines.GetSize() <= 2 * physical);
    long long listed = 0;
    int largest = 0;
    for (int i = 0; i < model.m_Lines.GetSize(); ++i) {
        const Line_Orvo* line = model.m_Lines[i];
        FUZZ_CHECK(line->ID == i + 1);
        FUZZ_CHECK((line->StartRelease & ~kFreedomBits) == 0 && (line->EndRelease & ~kFreedomBits) == 0);
        // Linked to a section of the file, or left unlinked with shape 0.
        FUZZ_CHECK(line->SectionShape == 0 || kShapeCodes.count(line->SectionShape));
        for (int load : line->LineLoads) {
            FUZZ_CHECK(load >= 1);
            largest = std::max(largest, load);
        }
        listed += line->LineLoads.Count;
    }
    CheckLoadNumbers(listed, largest);
    // In the classic layout each member-load record is one physical line naming one member.
    if (classic)
        FUZZ_CHECK(listed <= physical);
}

void CheckSections(const ModalData_Orvo& model, int physical)
{
    FUZZ_CHECK(model.m_LSections.GetSize() <= physical);
    FUZZ_CHECK(model.m_Materials.GetSize() <= physical);
    FUZZ_CHECK(model.m_ASections.GetSize() <= physical);
    // Sections are numbered 1, 2, 3, ... within each shape code, in file order.
    std::map<int, int> numbered;
    for (const LSection_Orvo* section : model.m_LSections) {
        FUZZ_CHECK(kShapeCodes.count(section->ShapeCode));
        FUZZ_CHECK(section->ID == ++numbered[section->ShapeCode]);
        FUZZ_CHECK(section->Properties.Count == 13);
    }
    // Each shape code reaches the host once, and every section's code is among them. (A code can come
    // without a section: it is listed before a catalogue name is looked up, and an unknown name ends
    // the section step.)
    std::set<int> shapes;
    for (int code : model.m_SectionShapes) {
        FUZZ_CHECK(kShapeCodes.count(code));
        FUZZ_CHECK(shapes.insert(code).second);
    }
    for (const auto& entry : numbered)
        FUZZ_CHECK(shapes.count(entry.first));
    for (const Material_Orvo* material : model.m_Materials) {
        const int grade = material->Property.Grade;
        FUZZ_CHECK(grade == -1 || (grade >= 1 && grade <= 4) || (grade >= 7 && grade <= 21));
    }
}

void CheckLoads(const ModalData_Orvo& model, int physical, bool classic)
{
    // In the classic layout a load line names one node or member; a concentrated member load makes
    // four entries, a uniform one a single entry. Today's layout takes lists with ranges.
    if (classic) {
        FUZZ_CHECK(model.m_PointLoads.GetSize() <= physical);
        FUZZ_CHECK(model.m_LineLoads.GetSize() <= 4 * physical);
    }
    for (const PointLoad_Orvo* load : model.m_PointLoads)
        CheckCase(load->CaseID, load->CaseKind);
    for (const LineLoad_Orvo* load : model.m_LineLoads) {
        CheckCase(load->CaseID, load->CaseKind);
        FUZZ_CHECK(load->LoadType >= 1 && load->LoadType <= 4);
        FUZZ_CHECK(load->Direction >= -1 && load->Direction <= 5);
    }
}

// Findings point into the text and count something; the sink itself must change nothing. Each finding
// is also written down, so that two readings of the same bytes can be compared.
class CheckingSink : public MidasDiagnostics {
public:
    explicit CheckingSink(long long size) : m_nSize(size) {}
    void Report(const MidasFindingInfo& finding) override
    {
        FUZZ_CHECK(finding.offset >= -1 && finding.offset < std::max(m_nSize, 1LL));
        FUZZ_CHECK(finding.count >= 0);
        m_strFindings += std::to_string(int(finding.kind)) + ',' + std::to_string(finding.offset) + ',' +
                         std::to_string(finding.count) + ',' + finding.detail + '\n';
    }
    const std::string& Findings() const { return m_strFindings; }

private:
    long long m_nSize;
    std::string m_strFindings;
};

// One translation of the text: the host's model, written out in full, and what was said on the way.
struct Outcome {
    bool translated = false;
    int messages = 0;
    std::string findings;
    std::string model;
};

// Reads the text (from memory, or from a file through ReadMidasFile), translates it into a fresh host
// model and checks what always holds of that model.
Outcome TranslateAndCheck(const std::string& text, int physical, MidasReadingProfile profile, bool fromFile)
{
    const bool classic = profile == MidasReadingProfile::Classic;
    ModalData_Orvo model;
    Translation translator;
    translator.SetReadingProfile(profile);
    CheckingSink sink(static_cast<long long>(text.size()));
    translator.SetDiagnostics(&sink);
    if (fromFile)
        FUZZ_CHECK(translator.ReadMidasFile(fuzz::ScratchFile(text)));
    else
        TranslatorAccess::ReadText(translator, text);
    const int messagesBefore = fuzz::g_Messages;
    Outcome outcome;
    outcome.translated = translator.TranMidastoOrvo(model);
    outcome.messages = fuzz::g_Messages - messagesBefore;
    outcome.findings = sink.Findings();
    outcome.model = ModelToJson(TranslationOutcome{true, outcome.translated, {}}, model);

    // A refused unit is said once, and refuses the translation.
    FUZZ_CHECK(outcome.messages <= 1);
    if (outcome.messages == 1)
        FUZZ_CHECK(!outcome.translated);
    if (!outcome.translated) {
        FUZZ_CHECK(IsEmpty(model) && !model.m_bUpdated);
        return outcome;
    }
    FUZZ_CHECK(model.m_bUpdated);
    FUZZ_CHECK(model.m_Areas.GetSize() == 0);  // plates are not translated
    CheckNodes(model, physical);
    CheckLines(model, physical, classic);
    CheckSections(model, physical);
    CheckLoads(model, physical, classic);
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::SilenceMessageBox();
    const std::string text = fuzz::TextOf(data, size);
    const int physical = fuzz::PhysicalLines(text);
    for (MidasReadingProfile profile : fuzz::kProfiles) {
        // The file route reads through a buffer and steps back by seeking where the load reader looks
        // ahead; it must end in the very model, findings and messages the text in memory gives.
        const Outcome inMemory = TranslateAndCheck(text, physical, profile, false);
        const Outcome fromFile = TranslateAndCheck(text, physical, profile, true);
        FUZZ_CHECK(fromFile.translated == inMemory.translated);
        FUZZ_CHECK(fromFile.messages == inMemory.messages);
        FUZZ_CHECK(fromFile.findings == inMemory.findings);
        FUZZ_CHECK(fromFile.model == inMemory.model);
    }
    return 0;
}
