// Material step and the built-in grade table: standard grades and user-defined materials, and the links
// from members to the host's materials at the hand-over.
#include <cmath>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Translation.h"
#include "WorkRecords.h"
#include "reader/MidasBlock.h"
#include "reader/PropertyBlocks.h"

namespace {

struct Grade {
    std::string_view name;
    MaterialProperty constants;  // grade code, E (kN/mm2), Poisson, alpha, yield (kN/mm2), density
};

// Four structural steels, then fourteen concretes, in kN and mm.
constexpr Grade kGrades[MaterialGradeTable::kSize] = {
    {"Q235", {1, 206.0, 0.3, 1.2e-05, 235.0, 7.85e-06}},
    {"Q345", {2, 206.0, 0.3, 1.2e-05, 345.0, 7.85e-06}},
    {"Q390", {3, 206.0, 0.3, 1.2e-05, 390.0, 7.85e-06}},
    {"Q420", {4, 206.0, 0.3, 1.2e-05, 420.0, 7.85e-06}},
    {"C15", {7, 22.0, 0.2, 1e-05, 0.0, 2.5e-06}},
    {"C20", {8, 25.5, 0.2, 1e-05, 0.0, 2.5e-06}},
    {"C25", {9, 28.0, 0.2, 1e-05, 0.0, 2.5e-06}},
    {"C30", {10, 30.0, 0.2, 1e-05, 0.0, 2.5e-06}},
    {"C35", {11, 31.5, 0.2, 1e-05, 0.0, 2.5e-06}},
    {"C40", {12, 32.5, 0.2, 1e-05, 0.0, 2.5e-06}},
    {"C45", {13, 33.5, 0.2, 1e-05, 0.0, 2.5e-06}},
    {"C50", {14, 34.5, 0.2, 1e-05, 0.0, 2.5e-06}},
    {"C55", {15, 35.5, 0.2, 1e-05, 0.0, 2.5e-06}},
    {"C60", {16, 36.0, 0.2, 1e-05, 0.0, 2.5e-06}},
    {"C65", {17, 36.5, 0.2, 1e-05, 0.0, 2.5e-06}},
    {"C70", {18, 37.0, 0.2, 1e-05, 0.0, 2.5e-06}},
    {"C75", {19, 37.5, 0.2, 1e-05, 0.0, 2.5e-06}},
    {"C80", {20, 38.0, 0.2, 1e-05, 0.0, 2.5e-06}},
};
constexpr int kFirstConcrete = 4;

// Typical steel and concrete, for a grade the table does not hold; in kN and mm.
struct TypicalMaterial {
    std::string_view type;
    MaterialProperty constants;
};
constexpr TypicalMaterial kTypical[] = {
    {"STEEL", {MaterialGradeTable::kUserDefinedGrade, 0.0, 0.3, 1.2e-05, 0.0, 7.85e-06}},
    {"CONC", {MaterialGradeTable::kUserDefinedGrade, 0.0, 0.2, 1e-05, 0.0, 2.5e-06}},
};

// Weight density to mass density: divide by 9.8.
constexpr double kWeightToMass = 0.1020408163265306;

int FindIn(const std::string& name, int first, int last)
{
    for (int i = first; i < last; ++i)
        if (kGrades[i].name == name)
            return i;
    return -1;
}

} // namespace

bool MaterialGradeTable::Fill()
{
    for (int i = 0; i < kSize; ++i)
        m_Entries[i] = kGrades[i].constants;
    m_bFilled = true;
    return true;
}

const MaterialProperty* MaterialGradeTable::Lookup(int position) const
{
    return m_bFilled && position >= 0 && position < kSize ? &m_Entries[position] : nullptr;
}

int MaterialGradeTable::FindSteel(const std::string& gradeName) { return FindIn(gradeName, 0, kFirstConcrete); }

int MaterialGradeTable::FindConcrete(const std::string& gradeName) { return FindIn(gradeName, kFirstConcrete, kSize); }

const MaterialProperty* MaterialGradeTable::Typical(const std::string& type)
{
    for (const TypicalMaterial& typical : kTypical)
        if (typical.type == type)
            return &typical.constants;
    return nullptr;
}

int Translation::MIDAStranslatetoOrvo_Material()
{
    if (!m_Blocks.material)
        return 0;
    const TranslationRules& rules = *m_pRules;
    for (int i = 0; i < m_Blocks.material->GetCount(); ++i) {
        const MaterialRecord* record = m_Blocks.material->GetRecord(i);
        auto* material = new WorkMaterial;
        bool modulusFromLine = false;
        if (record->m_nDataKind == 1) {
            // Standard grade: the standard code selects the steels or the concretes.
            const int position = rules.findGrade(record->m_strStandardCode, record->m_strGradeName);
            const MaterialProperty* typical =
                rules.takesGradeModulusFromLine ? MaterialGradeTable::Typical(record->m_strType) : nullptr;
            if (position >= 0) {
                material->Grades.Fill();
                if (const MaterialProperty* entry = material->Grades.Lookup(position))
                    material->Property = *entry;
                material->Property.Grade = kGrades[position].constants.Grade;
            } else if (typical && record->m_dElasticity != 0.0 && std::isfinite(record->m_dElasticity)) {
                // A grade the table does not hold: the line's modulus (in the file's units) with the other
                // constants of a typical material of its TYPE.
                material->Property = *typical;
                material->Property.Elastic = record->m_dElasticity;
                modulusFromLine = true;
                if (MidasDiagnostics* sink = StepDiagnostics())
                    Note(sink, MidasFinding::GradeFromLine, m_Blocks.material->RecordOffset(i),
                         record->m_strStandardCode + " " + record->m_strGradeName);
            }
            // No match: grade -1 and all constants 0, still handed over.
            else if (MidasDiagnostics* sink = StepDiagnostics())
                Note(sink, MidasFinding::UnmatchedGrade, m_Blocks.material->RecordOffset(i),
                     record->m_strStandardCode + " " + record->m_strGradeName);
        } else {
            MaterialProperty& p = material->Property;
            p.Grade = MaterialGradeTable::kUserDefinedGrade;
            p.Elastic = record->m_dElasticity;
            p.Poisson = record->m_dPoisson;
            p.Thermal = record->m_dThermal;
            p.Extra = 0.0;
            if (m_pRules->scalesByDimension) {
                material->WeightDensity = record->m_dDensity;
                material->MassDensity = record->m_dMass;
            } else {
                p.Density = record->m_dDensity * kWeightToMass;
            }
        }
        m_MaterialArray.Add(material);
        m_MaterialNumbers.push_back(record->m_nID);
        m_ModulusFromLine.push_back(modulusFromLine);
        m_Blocks.material->MarkUsed(i);
    }
    return 0;
}

bool Translation::ModulusFromLine(int index) const
{
    return index >= 0 && std::size_t(index) < m_ModulusFromLine.size() && m_ModulusFromLine[std::size_t(index)];
}

int Translation::HostMaterialID(int fileNumber) const
{
    const auto found = m_HostMaterialIDs.find(fileNumber);
    return found != m_HostMaterialIDs.end() ? found->second : 0;
}

void Translation::LinkMaterials(ModalData_Orvo& model, int lineBase)
{
    // The working materials were just handed over, in order, at the end of the host's list.
    m_HostMaterialIDs.clear();
    const int count = m_MaterialArray.GetSize();
    const int base = model.m_Materials.GetSize() - count;
    for (int k = 0; k < count && std::size_t(k) < m_MaterialNumbers.size(); ++k)
        if (const Material_Orvo* material = model.m_Materials.GetAt(base + k))
            m_HostMaterialIDs.try_emplace(m_MaterialNumbers[std::size_t(k)], material->ID);
    if (!m_pRules->linksMaterialsByHostID)
        return;

    // Members whose material the file does not define get 0, counted per material number in the order
    // they are first met.
    std::vector<std::pair<int, int>> unmatched;
    std::unordered_map<int, std::size_t> entryOf;
    for (int i = 0; i < m_LineArray.GetSize(); ++i) {
        const WorkLine* work = m_LineArray.GetAt(i);
        Line_Orvo* line = model.m_Lines.GetAt(lineBase + i);
        if (!work || !line)
            break;
        line->MaterialID = HostMaterialID(work->MaterialID);
        if (line->MaterialID != 0)
            continue;
        const auto [entry, first] = entryOf.try_emplace(work->MaterialID, unmatched.size());
        if (first)
            unmatched.emplace_back(work->MaterialID, 0);
        ++unmatched[entry->second].second;
    }
    for (const auto& [number, members] : unmatched)
        Note(m_pDiagnostics, MidasFinding::UnmatchedMaterial, -1, "material " + std::to_string(number), members);
}
