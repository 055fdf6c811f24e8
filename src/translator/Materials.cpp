// Material step and the built-in grade table: standard grades and user-defined materials.
#include <string_view>

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

int Translation::MIDAStranslatetoOrvo_Material()
{
    if (!m_Blocks.material)
        return 0;
    const TranslationRules& rules = *m_pRules;
    for (int i = 0; i < m_Blocks.material->GetCount(); ++i) {
        const MaterialRecord* record = m_Blocks.material->GetRecord(i);
        auto* material = new WorkMaterial;
        if (record->m_nDataKind == 1) {
            // Standard grade: the standard code selects the steels or the concretes.
            const int position = rules.findGrade(record->m_strStandardCode, record->m_strGradeName);
            if (position >= 0) {
                material->Grades.Fill();
                if (const MaterialProperty* entry = material->Grades.Lookup(position))
                    material->Property = *entry;
                material->Property.Grade = kGrades[position].constants.Grade;
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
            p.Density = record->m_dDensity * kWeightToMass;
        }
        m_MaterialArray.Add(material);
    }
    return 0;
}
