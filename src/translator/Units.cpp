// Unit conversion: the file's force and length words, and scaling of the working records to kN and mm.
#include <cstdio>
#include <string>

#include "Translation.h"
#include "WorkRecords.h"
#include "platform/MessageBox.h"
#include "reader/GeometryBlocks.h"
#include "reader/MidasBlock.h"

namespace {

// Length words and their factor to millimetres; the code is the 1-based position.
struct LengthUnit {
    const char* word;
    double toMillimetre;
};
constexpr LengthUnit kLengthUnits[] = {{"IN", 25.4}, {"FT", 304.8}, {"M", 1000.0}, {"CM", 10.0}, {"MM", 1.0}};

} // namespace

bool Translation::GetUnitType()
{
    const UnitRecord* unit = m_Blocks.unit ? m_Blocks.unit->GetRecord(0) : nullptr;
    if (!unit) {
        // No *UNIT record: the codes stay unset and the translation fails.
        Note(m_pDiagnostics, MidasFinding::RefusedUnit, -1, "no *UNIT record");
        return true;
    }
    for (int code = 1; code <= 5; ++code) {
        if (unit->m_strLength == kLengthUnits[code - 1].word) {
            m_nLengthUnit = code;
            break;
        }
    }
    if (m_nLengthUnit < 1 || m_nLengthUnit > 5)
        Note(m_pDiagnostics, MidasFinding::RefusedUnit, m_Blocks.unit->RecordOffset(0), unit->m_strLength);
    Note(m_pDiagnostics, MidasFinding::UnitWords, m_Blocks.unit->RecordOffset(0),
         unit->m_strForce + ", " + unit->m_strLength);
    std::string refusal;
    const int forceUnit = m_pRules->forceUnit(unit->m_strForce, refusal);
    if (forceUnit == 0) {
        // A force unit that cannot be converted: the code stays unset and the translation fails.
        if (!refusal.empty())
            ShowMessageBox(refusal.c_str());
        Note(m_pDiagnostics, MidasFinding::RefusedUnit, m_Blocks.unit->RecordOffset(0), unit->m_strForce);
        return true;
    }
    m_nForceUnit = forceUnit;
    return true;
}

// A material whose constants the file gives: the modulus to kN/mm2; the density to mass per volume in
// kg/mm3, from the weight density (force per volume) over standard gravity or else from the mass
// column (force * s2 / length4); thermal coefficients per degree F to per degree C. A grade taken from
// the line has only its modulus from the file.
void Translation::ScaleByDimension(WorkMaterial& material, bool modulusOnly) const
{
    const double L = m_dLengthFactor;
    const double F = m_dForceFactor;
    MaterialProperty& p = material.Property;
    p.Elastic = p.Elastic * F / (L * L);
    if (modulusOnly)
        return;
    constexpr double kStandardGravity = 9.80665;  // m/s2
    // kN/mm3 over m/s2 is 1000 kg/mm3; kN*s2/mm4 is 1e6 kg/mm3.
    if (material.WeightDensity != 0.0)
        p.Density = material.WeightDensity * F * 1000.0 / (L * L * L * kStandardGravity);
    else
        p.Density = material.MassDensity * F * 1.0e6 / (L * L * L * L);
    const UnitRecord* unit = m_Blocks.unit ? m_Blocks.unit->GetRecord(0) : nullptr;
    if (unit && unit->m_strTemper == "F")
        p.Thermal *= 1.8;
}

bool Translation::TranslateUnit()
{
    const TranslationRules& rules = *m_pRules;
    if (!GetUnitType())
        return false;
    if (m_nLengthUnit < 1 || m_nLengthUnit > 5)
        return false;
    m_dLengthFactor = kLengthUnits[m_nLengthUnit - 1].toMillimetre;
    m_dForceFactor = rules.forceFactor(m_nForceUnit);
    if (m_dForceFactor == 0.0)
        return false;

    const double L = m_dLengthFactor;
    const double F = m_dForceFactor;
    if (m_pDiagnostics) {
        char factors[96];
        std::snprintf(factors, sizeof factors, "length x%.17g to mm, force x%.17g to kN", L, F);
        Note(m_pDiagnostics, MidasFinding::UnitFactors, -1, factors);
    }
    InParts(m_NodeArray.GetSize(), [&](int, int first, int end) {
        for (int i = first; i < end; ++i) {
            WorkNode* node = m_NodeArray[i];
            node->X *= L;
            node->Y *= L;
            node->Z *= L;
        }
    });
    for (WorkASection* section : m_ASectionArray)
        section->Thickness *= L;
    for (int i = 0; i < m_MaterialArray.GetSize(); ++i) {
        WorkMaterial* material = m_MaterialArray[i];
        MaterialProperty& p = material->Property;
        if (!rules.scalesByDimension) {
            p.Elastic *= F / (L * L);
            p.Extra *= F / (L * L);
            p.Density = p.Density / (L * L) * 0.1;
        } else if (p.Grade == MaterialGradeTable::kUserDefinedGrade) {
            ScaleByDimension(*material, ModulusFromLine(i));
        }
        // By dimension, the grade table's constants are in the host's units already.
    }
    if (rules.scalesSectionDimensions) {
        // Dimensions written in the file are lengths in its unit; catalogue sections are in mm already.
        for (WorkLSection* section : m_LSectionArray)
            if (!section->FromCatalogue)
                for (double& value : section->Properties)
                    value *= L;
    }
    for (WorkPointLoad* load : m_PointLoadArray) {
        load->FX *= F;
        load->FY *= F;
        load->FZ *= F;
        // moments to kN*m
        load->MX *= F * L * 0.001;
        load->MY *= F * L * 0.001;
        load->MZ *= F * L * 0.001;
    }
    InParts(m_LineLoadArray.GetSize(), [&](int, int first, int end) {
        for (int i = first; i < end; ++i) {
            WorkLineLoad* load = m_LineLoadArray[i];
            // Classic: moments keep the values the load reader computed. By dimension: a uniform force per
            // length to kN/m, a concentrated force to kN, a concentrated moment to kN*m, a uniform moment (per
            // length) to kN*m/m.
            double value = F;
            if (rules.scalesByDimension)
                value = load->LoadType == 1 ? F * 1000.0 / L : load->LoadType == 3 ? F * L * 0.001 : F;
            else if (load->LoadType != 1 && load->LoadType != 2)
                continue;
            load->Value1 *= value;
            load->Value2 *= value;
            // positions to metres
            load->Position1 *= L * 0.001;
            load->Position2 *= L * 0.001;
        }
    });
    return true;
}
