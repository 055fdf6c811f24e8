// Property blocks: *MATERIAL, *SECTION and *THICKNESS.
#pragma once

#include "MidasBlock.h"

// One material: a standard grade by code and name (database form, kind 1) or user constants.
class MaterialRecord : public MidasRecord {
public:
    bool Parse(const char* line) override;
    std::string m_strType;
    std::string m_strName;
    std::string m_strStandardCode;
    std::string m_strGradeName;
    int m_nDataKind = 0;
    double m_dElasticity = 0.0;
    double m_dPoisson = 0.0;
    double m_dThermal = 0.0;
    double m_dDensity = 0.0;  // weight per volume
    double m_dMass = 0.0;
    int m_nID = 0;
};

// One beam section: a catalogue name (database form, kind 1) or dimensions.
class SectionRecord : public MidasRecord {
public:
    bool Parse(const char* line) override;
    std::string m_strType;
    std::string m_strName;
    std::string m_strExtra;
    std::string m_strShape;
    std::string m_strStandardCode;
    std::string m_strCatalogName;
    int m_nID = 0;
    int m_nDataKind = 0;
    ValueArray<double> m_Dimensions;
    // A line that continues the previous section (property rows, stiffener rows) rather than
    // beginning one; such records make no section.
    bool m_bContinuation = false;
};

// One plate thickness.
class ThicknessRecord : public MidasRecord {
public:
    bool Parse(const char* line) override;
    int m_nID = 0;
    std::string m_strType;
    std::string m_strExtra;
    double m_dThickness = 0.0;
    int m_nExtra = 0;
};

class MaterialBlock final : public BlockOf<MaterialRecord> {
public:
    void Inspect(MidasDiagnostics* sink, const char* line, const MidasRecord& record, long long offset) const override;
};
class SectionBlock final : public BlockOf<SectionRecord> {
public:
    void Inspect(MidasDiagnostics* sink, const char* line, const MidasRecord& record, long long offset) const override;
};
class ThicknessBlock final : public BlockOf<ThicknessRecord> {};
