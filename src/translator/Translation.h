// Translation: the translator behind the exported MIDAStranslatetoOrvo. It owns the blocks the reader
// fills and the working records its steps build, and turns them into the host's records.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "TranslationRules.h"
#include "WorkRecords.h"
#include "platform/MappedMemory.h"
#include "reader/ChunkedReading.h"
#include "reader/ModelReader.h"
#include "reader/PooledArray.h"
#include "midas2orvo/OrvoModel.h"
#include "midas2orvo/OwnedArray.h"

struct LoadTargets;
struct LoadCase;
class MemberLoadWalk;
class MissingNumbers;
class NumberIndex;

// Members are public: the exported class is its only user besides the tests, which look inside.
class Translation : private LoadSectionSink {
public:
    Translation();
    ~Translation() override;
    Translation(const Translation&) = delete;
    Translation& operator=(const Translation&) = delete;

    // The operations of the exported class.
    bool ReadMidasFile(const char* path);
    bool HaveReadFile() const { return m_bHaveReadFile; }
    void SetReadingProfile(MidasReadingProfile profile);
    MidasReadingProfile GetReadingProfile() const { return m_eProfile; }
    void SetDiagnostics(MidasDiagnostics* sink);
    bool TranMidastoOrvo(ModalData_Orvo& model);
    int Write();
    // With release on, a hand-over frees the parsed records before it starts and the working records as
    // it consumes them; afterwards the translator holds nothing, as if no file had been read.
    void SetReleaseAfterHandOver(bool release) { m_bReleaseAfterHandOver = release; }
    bool ReleasesAfterHandOver() const { return m_bReleaseAfterHandOver; }

    // Threads that parse large blocks (0: the hardware threads; 1: the calling thread alone); the bytes
    // each takes at a time and the records a block reads before (tests take small pieces of small texts).
    void SetReadingThreads(int threads) { m_nReadingThreads = threads; }
    int GetReadingThreads() const { return m_nReadingThreads; }
    void SetChunking(std::size_t bytes, int leadRecords)
    {
        m_nChunkBytes = bytes;
        m_nLeadRecords = leadRecords;
    }

    // Reads an open stream into the blocks (ReadMidasFile without the file).
    void ReadStream(LineStream& stream);

    // The translation steps.
    bool GetUnitType();
    bool TranslateUnit();
    void ScaleByDimension(WorkMaterial& material, bool modulusOnly) const;
    int InitialObjectID();
    int MIDAStranslatetoOrvo_Node();
    int MIDAStranslatetoOrvo_Element();
    double GetElementLength(int index);
    int MIDAStranslatetoOrvo_Material();
    // During the hand-over, once the materials are handed over: the host ID of the material the file
    // numbers fileNumber (the first of several), 0 when the file defines none.
    int HostMaterialID(int fileNumber) const;
    // Whether working material index has only its modulus in the file's units (a grade the table does not
    // hold: modulus from the line, the other constants typical of its TYPE, already in kN and mm).
    bool ModulusFromLine(int index) const;
    int MIDAStranslatetoOrvo_Section();
    // Links the working lines to the sections the hand-over appends: their SectionShape and SectionID;
    // a line marked in the result gets the reference point of its shape as its host line is made.
    std::vector<unsigned char> GetBeamSectionID();
    int MIDAStranslatetoOrvo_Areasec();
    int GetAreaSectionID();
    int MIDAStranslatetoOrvo_Constraint();
    int MIDAStranslatetoOrvo_FrameRelease();
    int MIDAStranslateOrvo_Group();
    void ReleasePoint();

    bool m_bHaveReadFile = false;
    MidasReadingProfile m_eProfile = MidasReadingProfile::Classic;
    const TranslationRules* m_pRules = &TranslationRules::For(MidasReadingProfile::Classic);
    MidasDiagnostics* m_pDiagnostics = nullptr;  // the tap below while a host sink is set
    bool m_bWriting = false;
    bool m_bReleaseAfterHandOver = false;
    int m_nReadingThreads = 0;
    std::size_t m_nChunkBytes = ChunkedReading::kChunkBytes;
    int m_nLeadRecords = ChunkedReading::kLeadRecords;
    PooledArray<WorkNode> m_NodeArray;
    PooledArray<WorkLine> m_LineArray;
    OwnedArray<WorkLSection> m_LSectionArray;
    ValueArray<int> m_SectionTypes;
    OwnedArray<WorkArea> m_AreaArray;
    OwnedArray<WorkASection> m_ASectionArray;
    OwnedArray<WorkMaterial> m_MaterialArray;
    std::vector<int> m_MaterialNumbers;  // the file's number of each working material, in order
    std::vector<bool> m_ModulusFromLine;  // of each working material, as ModulusFromLine answers
    PooledArray<WorkPointLoad> m_PointLoadArray;
    PooledArray<WorkLineLoad> m_LineLoadArray;
    int m_nLengthUnit = 0;
    int m_nForceUnit = 0;
    double m_dLengthFactor = 0.0;
    double m_dForceFactor = 0.0;
    ModelBlocks m_Blocks;
    Ledger m_Ledger;

    // Hands the ledger to the host's sink, one entry per row: after the translation, or when it is refused
    // (then only *VERSION and *UNIT lines count as used).
    void EmitLedger(bool refused);

private:
    // Passes every finding on to the host's sink, and tells the ledger which lines it explains. While a
    // load section is translated beside the reading, the findings and progress of both are held, and passed
    // on when the section is done: the section's first, then the reading's, as one thread tells them.
    class FindingTap final : public MidasDiagnostics {
    public:
        FindingTap(Ledger& ledger) : m_Ledger(ledger) {}
        void Report(const MidasFindingInfo& finding) override;
        void Progress(long long read, long long total) override;
        void PhaseFinished(MidasPhase phase) override { host->PhaseFinished(phase); }
        void LedgerEntry(const MidasLedgerEntry& entry) override { host->LedgerEntry(entry); }
        void Hold() { m_bHolding = true; }
        void PassHeld();
        MidasDiagnostics* host = nullptr;

    private:
        struct Held {
            MidasFindingInfo finding;
            bool progress = false;
            long long read = 0;
            long long total = 0;
        };
        Ledger& m_Ledger;
        bool m_bHolding = false;
        std::vector<Held> m_SectionHeld;  // told by the section's thread
        std::vector<Held> m_ReadingHeld;  // told by the reading
    } m_Tap{m_Ledger};

    // Load sections, as the reader meets them (LoadSections.cpp). Where the reading has threads, the
    // working nodes and lines of a large model, and each large section, are made on a thread of their own
    // while the reader reads on (Beside); SectionDone waits for it. The hand-over links members to their
    // sections so too.
    void StartLoadSections(const ModelBlocks& blocks) override;
    void LoadSection(const ModelBlocks& blocks, const ::LoadSection& section) override;
    void SectionDone() override;
    void Beside(long long records, const std::function<void()>& work);
    static bool OnSectionThread();
    void BuildLoadTargets();
    std::thread m_SectionThread;
    std::exception_ptr m_SectionFailure;
    // Records from which work is done beside the reading: sixteen times the records a block reads on one
    // thread before it goes on in pieces.
    long long OverlappedLoads() const { return 16LL * m_nLeadRecords; }
    void CreateSectionLoads(const ::LoadSection& section, const LoadTargets& targets);
    // On one thread, a member load block of a section is walked as it is read (m_pMemberWalk); the walk
    // of a block that a later one replaces is undone.
    void MemberLoadBlock(const std::string& caseName, BeamLoadBlock* replaced, BeamLoadBlock& block) override;
    void UndoMemberWalk();
    friend class MemberLoadWalk;
    std::unique_ptr<MemberLoadWalk> m_pMemberWalk;
    // Makes the member loads of record index of block (one per load type entry and member it names), marks
    // the record used, and notes what cannot be placed; loaded (when given) learns the line of each.
    void WalkMemberLoad(BeamLoadBlock& block, int index, const BeamLoadRecord& record, const LoadCase& loadCase,
                        const LoadTargets& targets, MidasDiagnostics* sink, MissingNumbers& missing,
                        std::vector<int>* loaded);
    // Working nodes and lines built from record firstRecord of the node or element block on.
    void BuildWorkNodes(int firstRecord);
    void BuildWorkLines(int firstRecord);
    // The claims of Write on what the load reader built (LoadSections.cpp): how many records of the node
    // (element) block it already built nodes (lines) from, -1 for none; the load reader's claim ends.
    int TakeLoadReaderNodes();
    int TakeLoadReaderLines();
    // Takes over the lines the load reader built: they get their releases and groups.
    void ClaimLoadReaderLines();
    // Working areas of the PLATE and WALL records, where the rules translate them; built afresh by each
    // Write. Renumbered with the nodes (newID: file number -> position of its first node), then handed over with their
    // thickness and material linked (NodesAndElements.cpp).
    void BuildWorkAreas();
    void RenumberAreas(const NumberIndex& newID);
    void HandOverAreas(ModalData_Orvo& model);
    // The member's length in the file's unit; axis (when given) gets the vector from start to end.
    double MeasureLine(const WorkLine& line, const LoadTargets& targets, double* axis = nullptr) const;
    bool SetReferencePoint(WorkLine& line, int shapeCode) const;
    MidasDiagnostics* StepDiagnostics() const { return m_bWriting ? m_pDiagnostics : nullptr; }
    void NotePositionalAddressing() const;
    void HandOver(ModalData_Orvo& model);
    // The threads of a translation of a large model (null: this thread alone), set by TranMidastoOrvo.
    ChunkedReading* m_pThreads = nullptr;
    // Sets m_pThreads for the life of a scope: a reading, or a translation.
    struct ThreadsInUse {
        ThreadsInUse(Translation& translation, ChunkedReading* threads) : translation(translation)
        {
            translation.m_pThreads = threads;
        }
        ~ThreadsInUse() { translation.m_pThreads = nullptr; }
        ThreadsInUse(const ThreadsInUse&) = delete;
        ThreadsInUse& operator=(const ThreadsInUse&) = delete;
        Translation& translation;
    };
    // Calls work(part, first, end) for the PartsFor(count) consecutive ranges that split [0, count), on the
    // translation's threads where a collection is large enough to share out; work must not throw.
    int PartsFor(int count) const
    {
        // The threads serve the reading while a section is translated beside it.
        return m_pThreads && !OnSectionThread() && count >= kSharedRecords ? m_pThreads->Threads() : 1;
    }
    template <class Work>
    void InParts(int count, Work&& work) const
    {
        const int parts = PartsFor(count);
        auto range = [&](int part) {
            work(part, int(std::int64_t(count) * part / parts), int(std::int64_t(count) * (part + 1) / parts));
        };
        if (parts == 1)
            range(0);
        else
            m_pThreads->Run(parts, range);
    }
    static constexpr int kSharedRecords = 1 << 14;
    // Frees the working records of array before position count, where the hand-over releases them.
    template <class T>
    void Consumed(PooledArray<T>& array, int count)
    {
        if (m_bReleaseAfterHandOver)
            array.ReleaseBefore(count);
    }
    void AppendShapeCodes(ModalData_Orvo& model) const;
    // Numbers the materials just handed over by their file numbers and, where the rules say so, gives the
    // members the host ID of their material (Materials.cpp); lineBase: the host's lines before.
    void LinkMaterials(ModalData_Orvo& model, int lineBase);
    std::unordered_map<int, int> m_HostMaterialIDs;  // file number -> host ID, during the hand-over

    // Working nodes and lines that the load reader built and that no Write has claimed yet: from how many
    // records of which node and element block (by serial); -1 for none. A block that grows (repeated
    // blocks kept together) has only its new records built.
    struct Claims {
        int nodeRecords = -1;
        unsigned nodeBlock = 0;
        int elementRecords = -1;
        unsigned elementBlock = 0;
        // How far into the file the load reader has built working nodes and lines, and whether it builds.
        long long nodesBuiltTo = -1;
        long long linesBuiltTo = -1;
        bool loadReading = false;
    } m_Claims;
    // Attachment counters of the load reader (numbers given to loads attached to nodes and members).
    int m_nPointLoadCounter = 0;
    int m_nLineLoadCounter = 0;
    // Load case types already named in a finding as unknown.
    std::set<std::string> m_NamedCaseTypes;
    // Where the loads of one run of the load reader find their nodes, members and load cases.
    std::unique_ptr<LoadTargets> m_pTargets;
    // One copy of each group name, shared by the element records and working lines of that group.
    std::unique_ptr<TextPool> m_GroupNames;
};
