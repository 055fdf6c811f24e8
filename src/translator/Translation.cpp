// The translator: lifetime, reading, the translation driver, renumbering and the hand-over to the host.
#include "Translation.h"
#include "NumberIndex.h"

#include "platform/MappedMemory.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <unordered_set>

#include "LoadTargets.h"

Translation::Translation() : m_GroupNames(std::make_unique<TextPool>()) {}

// The working records go first, then the blocks (each deleting its own records), then the group names.
Translation::~Translation()
{
    ReleasePoint();
    m_Blocks = ModelBlocks{};
}

void Translation::ReleasePoint()
{
    m_NodeArray.DeleteAll();
    m_LineArray.DeleteAll();
    m_LSectionArray.DeleteAll();
    m_AreaArray.DeleteAll();
    m_ASectionArray.DeleteAll();
    m_MaterialArray.DeleteAll();
    m_PointLoadArray.DeleteAll();
    m_LineLoadArray.DeleteAll();
    m_SectionTypes.RemoveAll();
}

void Translation::SetDiagnostics(MidasDiagnostics* sink)
{
    m_Tap.host = sink;
    m_pDiagnostics = sink ? &m_Tap : nullptr;
}

void Translation::SetReadingProfile(MidasReadingProfile profile)
{
    m_eProfile = profile;
    m_pRules = &TranslationRules::For(profile);
}

bool Translation::ReadMidasFile(const char* path)
{
    LineStream stream;
    if (!stream.Open(path))
        return false;
    ReadStream(stream);
    m_bHaveReadFile = true;
    if (m_pDiagnostics)
        m_pDiagnostics->PhaseFinished(MidasPhase::Read);
    return true;
}

void Translation::ReadStream(LineStream& stream)
{
    const midas2orvo::ReusedMemory reuse;  // each load section's records serve the next
    // Offsets of another file say nothing about this one.
    m_Claims.nodesBuiltTo = m_Claims.linesBuiltTo = -1;
    m_NamedCaseTypes.clear();
    m_Ledger.Clear();
    if (m_pDiagnostics)
        m_Ledger.TurnOn();
    // A text of fewer than eight pieces is read on this thread alone (16 MiB with the usual pieces).
    const int threads = ChunkedReading::ThreadsFor(m_nReadingThreads, stream.Size(), 8 * std::int64_t(m_nChunkBytes));
    std::unique_ptr<ChunkedReading> chunks(threads > 1 ? new ChunkedReading(threads, m_nChunkBytes, m_nLeadRecords) : nullptr);
    const ThreadsInUse inUse(*this, chunks.get());
    struct EndWalk {
        Translation& translation;
        ~EndWalk() { translation.m_pMemberWalk.reset(); }  // the reading let go of the blocks it walked
    } endWalk{*this};
    ReadModel(stream, ReadingLayout::For(m_eProfile), m_Blocks, *this, m_pDiagnostics, &m_Ledger, chunks.get());
    m_pTargets.reset();
}

void Translation::EmitLedger(bool refused)
{
    if (!m_pDiagnostics || !m_Ledger.IsOn())
        return;
    for (LedgerRow& row : m_Ledger.Rows()) {
        int used = 0;
        if (row.loadCases && row.block && !refused) {
            for (int r = row.firstRecord; r < row.endRecord; ++r)
                used += row.block->LinesOf(r);
        } else if (row.read || !refused) {
            used = Ledger::UsedLines(row);
        }
        used = std::min(used, row.dataLines);
        const int passedOver = row.dataLines - used;
        if (passedOver > 0 && row.reasons == 0) {
            // Lines no finding explains: named here, at the first record nothing of which arrived.
            long long offset = row.firstDataOffset;
            for (int r = row.firstRecord; row.block && r < row.endRecord; ++r) {
                if (!row.block->IsUsed(r)) {
                    offset = row.block->RecordOffset(r) >= 0 ? row.block->RecordOffset(r) : offset;
                    break;
                }
            }
            Note(m_pDiagnostics, MidasFinding::PassedOverLines, offset >= 0 ? offset : row.offset,
                 row.keyword.empty() ? "before the first keyword" : row.keyword, passedOver);
            row.reasons |= std::uint64_t(1) << unsigned(MidasFinding::PassedOverLines);
        }
        MidasLedgerEntry entry{row.keyword, row.line, row.offset, row.dataLines, used, passedOver, {}};
        for (unsigned k = 0; k < 64; ++k)
            if (passedOver > 0 && (row.reasons >> k & 1))
                entry.reasons.push_back(MidasFinding(k));
        m_pDiagnostics->LedgerEntry(entry);
    }
}

MidasDiagnostics::~MidasDiagnostics() = default;

void MidasDiagnostics::Progress(long long, long long) {}
void MidasDiagnostics::PhaseFinished(MidasPhase) {}
void MidasDiagnostics::LedgerEntry(const MidasLedgerEntry&) {}

int Translation::Write()
{
    // The steps report what they cannot place only here, not when the load reader runs them early.
    m_bWriting = true;
    if (m_pDiagnostics)
        NotePositionalAddressing();
    MIDAStranslatetoOrvo_Node();
    MIDAStranslatetoOrvo_Element();
    MIDAStranslatetoOrvo_Material();
    MIDAStranslatetoOrvo_Section();
    MIDAStranslatetoOrvo_Areasec();
    m_bWriting = false;
    return 0;
}

// Supports, releases and groups find the n-th record; when the file does not number its nodes or
// elements 1..N in order, what they reach may differ from the numbers written.
void Translation::NotePositionalAddressing() const
{
    if (m_pRules->addressesByNumber)
        return;
    auto inOrder = [this](const auto& block) {
        std::atomic<bool> ordered{true};
        InParts(block.GetCount(), [&](int, int first, int end) {
            for (int i = first; i < end && ordered.load(std::memory_order_relaxed); ++i)
                if (block.GetRecord(i)->m_nID != i + 1)
                    ordered = false;
        });
        return ordered.load();
    };
    if (m_Blocks.constraint && m_Blocks.node && !inOrder(*m_Blocks.node))
        Note(m_pDiagnostics, MidasFinding::PositionalAddressing, -1, "*NODE");
    if ((m_Blocks.frameRelease || m_Blocks.group) && m_Blocks.element && !inOrder(*m_Blocks.element))
        Note(m_pDiagnostics, MidasFinding::PositionalAddressing, -1, "*ELEMENT");
}

int Translation::InitialObjectID()
{
    // Old node number -> new ID of its first occurrence, as a walk of the old numbers in order finds it.
    NumberIndex newID;
    newID.Build(m_NodeArray);
    for (int i = 0; i < m_NodeArray.GetSize(); ++i)
        if (WorkNode* node = m_NodeArray[i])
            node->ID = i + 1;
    // A member end whose number names no node keeps the file's number; such members are marked, to be
    // noted in order.
    std::vector<unsigned char> unmatched(std::size_t(m_LineArray.GetSize()), 0);
    InParts(m_LineArray.GetSize(), [&](int, int first, int end) {
        for (int j = first; j < end; ++j) {
            WorkLine* line = m_LineArray[j];
            if (!line)
                continue;
            for (int* nodeEnd : {&line->StartNode, &line->EndNode}) {
                if (const int position = newID.Find(*nodeEnd).first; position >= 0)
                    *nodeEnd = position + 1;
                else
                    unmatched[std::size_t(j)] |= nodeEnd == &line->StartNode ? 1 : 2;
            }
        }
    });
    for (int j = 0; m_pDiagnostics && j < m_LineArray.GetSize(); ++j) {
        const WorkLine* line = m_LineArray[j];
        for (int k = 0; k < 2; ++k)
            if (unmatched[std::size_t(j)] >> k & 1)
                Note(m_pDiagnostics, MidasFinding::UnmatchedMemberEnd, -1,
                     "member " + std::to_string(line->ID) + " node " + std::to_string(k ? line->EndNode : line->StartNode));
    }
    for (int j = 0; j < m_LineArray.GetSize(); ++j)
        if (WorkLine* line = m_LineArray[j])
            line->ID = j + 1;
    RenumberAreas(newID);
    return 0;
}

bool Translation::TranMidastoOrvo(ModalData_Orvo& model)
{
    auto finished = [this](MidasPhase phase) {
        if (m_pDiagnostics)
            m_pDiagnostics->PhaseFinished(phase);
    };
    // Threads for a large model: the translation steps and the hand-over share its collections out.
    const std::int64_t large = std::int64_t(m_NodeArray.GetSize()) + m_LineArray.GetSize() + m_LineLoadArray.GetSize() +
                               (m_Blocks.element ? m_Blocks.element->GetCount() : 0);
    const int threadCount = ChunkedReading::ThreadsFor(m_nReadingThreads, large, 1 << 17);
    std::unique_ptr<ChunkedReading> threads(threadCount > 1 ? new ChunkedReading(threadCount) : nullptr);
    const ThreadsInUse inUse(*this, threads.get());
    if (Write() < 0 || InitialObjectID() < 0)
        return false;
    finished(MidasPhase::Translate);
    if (!TranslateUnit()) {
        EmitLedger(true);
        return false;
    }
    finished(MidasPhase::Scale);
    // The memory of the parsed records released here, and of the working records as the hand-over
    // consumes them, serves the host's records: their chunks take what is kept first, in any size.
    {
        const midas2orvo::ReusedMemory reuse;
        if (m_bReleaseAfterHandOver)
            m_Blocks.ReleaseRecords();  // every step has read them; the ledger keeps what it needs
        HandOver(model);
    }
    finished(MidasPhase::HandOver);
    EmitLedger(false);
    if (m_bReleaseAfterHandOver) {
        ReleasePoint();
        m_Blocks = ModelBlocks{};
        m_Claims = Claims{};
        m_bHaveReadFile = false;
    }
    return true;
}

namespace {

// Makes count host records, make(i) the i-th, and appends them to records in order, in batches; each
// batch is made on the threads where there are several, and after each, done(end) learns how many are
// made. Fresh records cost mostly the first touch of their memory, which threads share out.
template <class Record, class Make, class Done>
void MakeRecords(OwnedArray<Record>& records, int count, ChunkedReading* threads, Make make, Done done)
{
    constexpr int kBatch = 1 << 16;
    std::vector<Record*> made;
    for (int first = 0; first < count; first += kBatch) {
        const int n = std::min(kBatch, count - first);
        made.assign(std::size_t(n), nullptr);
        const int parts = threads && n >= 4096 ? threads->Threads() : 1;
        std::exception_ptr failure;
        std::mutex failureMutex;
        auto makePart = [&](int part) {
            try {
                for (int i = int(std::int64_t(n) * part / parts); i < int(std::int64_t(n) * (part + 1) / parts); ++i)
                    made[std::size_t(i)] = make(first + i);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureMutex);
                failure = std::current_exception();
            }
        };
        if (parts > 1)
            threads->Run(parts, makePart);
        else
            makePart(0);
        // After a failure the host gets the records up to the first not made, as a one-thread hand-over
        // would have made them; those made after it by another thread are deleted.
        std::size_t k = 0;
        for (; k < made.size() && made[k]; ++k)
            records.Add(made[k]);
        for (; k < made.size(); ++k)
            delete made[k];
        if (failure)
            std::rethrow_exception(failure);
        done(first + n);
    }
}

} // namespace

void Translation::HandOver(ModalData_Orvo& model)
{
    // Lines and beam sections are read back by position: address them from what the host held before.
    const int lineBase = model.m_Lines.GetSize();
    ChunkedReading* const threads = m_pThreads;
    auto none = [](int) {};

    // Each host line is made whole: linked to its section, with the reference point of the section's
    // shape. The links are found beside the making of the host nodes, which touches no line.
    std::vector<unsigned char> linked;
    struct Linking {
        Translation& translation;
        ~Linking()
        {
            try {
                translation.SectionDone();
            } catch (...) {
            }
        }
    } linking{*this};
    Beside(m_LineArray.GetSize(), [this, &linked] { linked = GetBeamSectionID(); });
    MakeRecords(model.m_Nodes, m_NodeArray.GetSize(), threads, [this](int i) {
        const WorkNode* work = m_NodeArray.GetAt(i);
        auto* node = new Node_Orvo;
        node->ID = work->ID;
        node->X = work->X;
        node->Y = work->Y;
        node->Z = work->Z;
        for (int load : work->PointLoads)
            node->PointLoads.Add(load);
        node->Restraint = work->Restraint;
        return node;
    }, none);
    SectionDone();
    MakeRecords(model.m_Lines, m_LineArray.GetSize(), threads, [this, &linked](int i) {
        WorkLine* work = m_LineArray.GetAt(i);
        if (linked[std::size_t(i)])
            SetReferencePoint(*work, work->SectionShape);
        auto* line = new Line_Orvo;
        line->ID = work->ID;
        line->StartNode = work->StartNode;
        line->EndNode = work->EndNode;
        line->MaterialID = work->MaterialID;
        line->SectionShape = work->SectionShape;
        line->SectionID = work->SectionID;
        line->StartRelease = work->StartRelease;
        line->EndRelease = work->EndRelease;
        line->GroupName = work->GroupName;
        line->RefX = work->RefX;
        line->RefY = work->RefY;
        line->RefZ = work->RefZ;
        line->RefSpare = work->RefSpare;
        for (int load : work->LineLoads)
            line->LineLoads.Add(load);
        return line;
    }, none);
    for (const WorkMaterial* work : m_MaterialArray) {
        auto* material = new Material_Orvo;
        material->Property = work->Property;
        model.m_Materials.Add(material);
    }
    LinkMaterials(model, lineBase);
    for (const WorkLSection* work : m_LSectionArray) {
        auto* section = new LSection_Orvo;
        section->ShapeCode = work->ShapeCode;
        section->ID = work->ID;
        section->Name = work->Name;
        for (int k = 0; k < 13 && k < work->Properties.Count; ++k)
            section->Properties[k] = work->Properties[k];
        model.m_LSections.Add(section);
    }
    AppendShapeCodes(model);

    Consumed(m_NodeArray, m_NodeArray.GetSize());
    if (model.m_Lines.GetSize() - lineBase < m_LineArray.GetSize())
        return;  // a missing line ends the hand-over early, m_bUpdated untouched
    Consumed(m_LineArray, m_LineArray.GetSize());

    for (const WorkASection* work : m_ASectionArray) {
        auto* section = new ASection_Orvo;
        section->ID = work->ID;
        section->Kind = work->Kind;
        section->Thickness = work->Thickness;
        model.m_ASections.Add(section);
    }
    HandOverAreas(model);
    for (int i = 0; i < m_PointLoadArray.GetSize(); ++i) {
        const WorkPointLoad* work = m_PointLoadArray.GetAt(i);
        auto* load = new PointLoad_Orvo;
        load->CaseKind = work->CaseKind;
        load->CaseID = work->CaseID;
        load->FX = work->FX;
        load->FY = work->FY;
        load->FZ = work->FZ;
        load->MX = work->MX;
        load->MY = work->MY;
        load->MZ = work->MZ;
        model.m_PointLoads.Add(load);
        Consumed(m_PointLoadArray, i + 1);
    }
    // The memory kept from here on serves only the host's member loads still to come: no more of it is
    // kept than they need, so that what the last working loads free does not wait unused.
    const int lineLoads = m_LineLoadArray.GetSize();
    auto keepForLoads = [lineLoads](int made) {
        midas2orvo::ReusedMemory::KeepAtMost(std::size_t(lineLoads - made) * sizeof(LineLoad_Orvo));
    };
    keepForLoads(0);
    MakeRecords(model.m_LineLoads, lineLoads, threads, [this](int i) {
        const WorkLineLoad* work = m_LineLoadArray.GetAt(i);
        auto* load = new LineLoad_Orvo;
        load->CaseKind = work->CaseKind;
        load->CaseID = work->CaseID;
        load->LoadType = work->LoadType;
        load->Direction = work->Direction;
        load->Value1 = work->Value1;
        load->Value2 = work->Value2;
        load->Position1 = work->Position1;
        load->Position2 = work->Position2;
        return load;
    }, [this, &keepForLoads](int end) {
        keepForLoads(end);
        Consumed(m_LineLoadArray, end);
    });
    model.m_bUpdated = true;
}

void Translation::AppendShapeCodes(ModalData_Orvo& model) const
{
    // Each shape code reaches the host once; the first is appended without a check.
    std::unordered_set<int> held(model.m_SectionShapes.begin(), model.m_SectionShapes.end());
    for (int i = 0; i < m_SectionTypes.Count; ++i) {
        const int code = m_SectionTypes[i];
        if (i == 0 || !held.count(code)) {
            model.m_SectionShapes.Add(code);
            held.insert(code);
        }
    }
}
