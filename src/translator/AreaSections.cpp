// Area-section step: plate thicknesses of *THICKNESS become working area sections.
#include "Translation.h"
#include "WorkRecords.h"
#include "reader/PropertyBlocks.h"

int Translation::MIDAStranslatetoOrvo_Areasec()
{
    if (!m_Blocks.thickness)
        return 0;
    // Thickness numbers reach the host as written: not renumbered, not checked for order.
    for (int i = 0; i < m_Blocks.thickness->GetCount(); ++i) {
        const ThicknessRecord* record = m_Blocks.thickness->GetRecord(i);
        auto* section = new WorkASection;
        section->Kind = 1;
        section->ID = record->m_nID;
        section->Thickness = record->m_dThickness;
        m_ASectionArray.Add(section);
        m_Blocks.thickness->MarkUsed(i);
    }
    return 0;
}

// Plates are not translated, so no element refers to an area section.
int Translation::GetAreaSectionID() { return 0; }
