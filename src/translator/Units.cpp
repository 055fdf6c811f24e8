// Unit conversion: the file's force and length words, and scaling of the working records to kN and mm.
#include <string>

#include "MIDAStranslatetoOrvo.h"
#include "WorkRecords.h"
#include "platform/MessageBox.h"
#include "reader/GeometryBlocks.h"

namespace {

// Length words and their factor to millimetres; the code is the 1-based position.
struct LengthUnit {
    const char* word;
    double toMillimetre;
};
constexpr LengthUnit kLengthUnits[] = {{"IN", 25.4}, {"FT", 304.8}, {"M", 1000.0}, {"CM", 10.0}, {"MM", 1.0}};

// Force words that cannot be converted: gravitational and imperial units.
constexpr const char* kRefusedForces[] = {"KGF", "TONF", "LBF", "KIPS"};

constexpr int kForceOther = 1;  // any other word: taken as N, factor 1000 (as the classic layout does)
constexpr int kForceKN = 2;

} // namespace

bool MIDAStranslatetoOrvo::GetUnitType()
{
    const UnitRecord* unit = m_pUnitBlock ? m_pUnitBlock->GetRecord(0) : nullptr;
    if (!unit)
        return true;  // no *UNIT record: the codes stay unset and the translation fails
    for (int code = 1; code <= 5; ++code) {
        if (unit->m_strLength == kLengthUnits[code - 1].word) {
            m_nLengthUnit = code;
            break;
        }
    }
    for (const char* refused : kRefusedForces) {
        if (unit->m_strForce == refused) {
            ShowMessageBox((std::string(refused) + " Can't Convert,Please use KN,mm Unit!").c_str());
            return true;
        }
    }
    m_nForceUnit = unit->m_strForce == "KN" ? kForceKN : kForceOther;
    return true;
}

bool MIDAStranslatetoOrvo::TranslateUnit()
{
    if (!GetUnitType())
        return false;
    if (m_nLengthUnit < 1 || m_nLengthUnit > 5)
        return false;
    m_dLengthFactor = kLengthUnits[m_nLengthUnit - 1].toMillimetre;
    if (m_nForceUnit == kForceOther)
        m_dForceFactor = 1000.0;
    else if (m_nForceUnit == kForceKN)
        m_dForceFactor = 1.0;
    else
        return false;

    const double L = m_dLengthFactor;
    const double F = m_dForceFactor;
    for (WorkNode* node : m_NodeArray) {
        node->X *= L;
        node->Y *= L;
        node->Z *= L;
    }
    for (WorkASection* section : m_ASectionArray)
        section->Thickness *= L;
    for (WorkMaterial* material : m_MaterialArray) {
        MaterialProperty& p = material->Property;
        p.Elastic *= F / (L * L);
        p.Extra *= F / (L * L);
        p.Density = p.Density / (L * L) * 0.1;
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
    for (WorkLineLoad* load : m_LineLoadArray) {
        if (load->LoadType != 1 && load->LoadType != 2)
            continue;  // moments keep the values the load reader computed
        load->Value1 *= F;
        load->Value2 *= F;
        // positions to metres
        load->Position1 *= L * 0.001;
        load->Position2 *= L * 0.001;
    }
    return true;
}
