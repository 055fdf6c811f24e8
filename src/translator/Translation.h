// Translation: the translator behind the exported MIDAStranslatetoOrvo. It owns the blocks the reader
// fills and the working records its steps build, and turns them into the host's records.
#pragma once

#include <memory>
#include <string>

#include "TranslationRules.h"
#include "WorkRecords.h"
#include "reader/ModelReader.h"
#include "reader/PooledArray.h"
#include "midas2orvo/OrvoModel.h"
#include "midas2orvo/OwnedArray.h"

struct LoadTargets;

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
    void SetDiagnostics(MidasDiagnostics* sink) { m_pDiagnostics = sink; }
    bool TranMidastoOrvo(ModalData_Orvo& model);
    int Write();

    // Reads an open stream into the blocks (ReadMidasFile without the file).
    void ReadStream(LineStream& stream);

    // The translation steps.
    bool GetUnitType();
    bool TranslateUnit();
    int InitialObjectID();
    int MIDAStranslatetoOrvo_Node();
    int MIDAStranslatetoOrvo_Element();
    double GetElementLength(int index);
    int MIDAStranslatetoOrvo_Material();
    int MIDAStranslatetoOrvo_Section();
    int GetBeamSectionID(ModalData_Orvo& model);
    int MIDAStranslatetoOrvo_Areasec();
    int GetAreaSectionID();
    int MIDAStranslatetoOrvo_Constraint();
    int MIDAStranslatetoOrvo_FrameRelease();
    int MIDAStranslateOrvo_Group();
    void ReleasePoint();

    bool m_bHaveReadFile = false;
    MidasReadingProfile m_eProfile = MidasReadingProfile::Classic;
    const TranslationRules* m_pRules = &TranslationRules::For(MidasReadingProfile::Classic);
    MidasDiagnostics* m_pDiagnostics = nullptr;
    bool m_bWriting = false;
    PooledArray<WorkNode> m_NodeArray;
    PooledArray<WorkLine> m_LineArray;
    OwnedArray<WorkLSection> m_LSectionArray;
    ValueArray<int> m_SectionTypes;
    OwnedArray<WorkArea> m_AreaArray;
    OwnedArray<WorkASection> m_ASectionArray;
    OwnedArray<WorkMaterial> m_MaterialArray;
    PooledArray<WorkPointLoad> m_PointLoadArray;
    PooledArray<WorkLineLoad> m_LineLoadArray;
    int m_nLengthUnit = 0;
    int m_nForceUnit = 0;
    double m_dLengthFactor = 0.0;
    double m_dForceFactor = 0.0;
    ModelBlocks m_Blocks;

private:
    // Load sections, as the reader meets them (LoadSections.cpp).
    void StartLoadSections(const ModelBlocks& blocks) override;
    void LoadSection(const ModelBlocks& blocks, const ::LoadSection& section) override;
    void CreateSectionLoads(const ::LoadSection& section, const LoadTargets& targets);
    // Working nodes and lines built from record firstRecord of the node or element block on.
    void BuildWorkNodes(int firstRecord);
    void BuildWorkLines(int firstRecord);
    // The claims of Write on what the load reader built (LoadSections.cpp): how many records of the node
    // (element) block it already built nodes (lines) from, -1 for none; the load reader's claim ends.
    int TakeLoadReaderNodes();
    int TakeLoadReaderLines();
    // Takes over the lines the load reader built: they get their releases and groups.
    void ClaimLoadReaderLines();
    double MeasureLine(const WorkLine& line, const LoadTargets& targets) const;
    bool SetReferencePoint(WorkLine& line, int shapeCode) const;
    MidasDiagnostics* StepDiagnostics() const { return m_bWriting ? m_pDiagnostics : nullptr; }
    void NotePositionalAddressing() const;
    void HandOver(ModalData_Orvo& model);
    void AppendShapeCodes(ModalData_Orvo& model) const;

    // Working nodes and lines that the load reader built and that no Write has claimed yet: from how many
    // records of which node and element block (by serial); -1 for none. A block that grows (repeated
    // blocks kept together) has only its new records built.
    struct Claims {
        int nodeRecords = -1;
        unsigned nodeBlock = 0;
        int elementRecords = -1;
        unsigned elementBlock = 0;
    } m_Claims;
    // Attachment counters of the load reader (numbers given to loads attached to nodes and members).
    int m_nPointLoadCounter = 0;
    int m_nLineLoadCounter = 0;
    // Where the loads of one run of the load reader find their nodes, members and load cases.
    std::unique_ptr<LoadTargets> m_pTargets;
    // One copy of each group name, shared by the element records and working lines of that group.
    std::unique_ptr<TextPool> m_GroupNames;
};
