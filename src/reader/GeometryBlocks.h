// Header and geometry blocks: *VERSION, *UNIT, *NODE and *ELEMENT.
#pragma once

#include "CompactFields.h"
#include "MidasBlock.h"

class ConstraintRecord;
class FrameReleaseRecord;

class VersionRecord : public MidasRecord {
public:
    bool Parse(const char* line) override;
    std::string m_strVersion;
};

// Force, length, heat and temperature unit words.
class UnitRecord : public MidasRecord {
public:
    bool Parse(const char* line) override;
    std::string m_strForce;
    std::string m_strLength;
    std::string m_strHeat;
    std::string m_strTemper;
};

// Node number and coordinates in the file's length unit.
class NodeRecord : public MidasRecord {
public:
    bool Parse(const char* line) override;
    int m_nID = 0;
    double m_dX = 0.0;
    double m_dY = 0.0;
    double m_dZ = 0.0;
    unsigned char m_byRestraint = 0;
    ConstraintRecord* m_pConstraint = nullptr;
};

// Element number, type word, material and property numbers, node numbers and beta angle.
class ElementRecord : public MidasRecord {
public:
    bool Parse(const char* line) override;
    // Members ordered by alignment, so that a model's hundreds of thousands of records carry no padding.
    ShortText m_strType;
    PooledText m_strGroupName;  // one copy per name, kept by the translator
    double m_dAngle = 0.0;
    FrameReleaseRecord* m_pFrameRelease = nullptr;
    int m_nID = 0;
    int m_nMaterialID = 0;
    int m_nSectionID = 0;
    SmallIntList<2> m_NodeIDs;  // the two ends of a line member inside; plates and solids on the heap
    unsigned char m_byStartRelease = 0;
    unsigned char m_byEndRelease = 0;
};

class VersionBlock final : public BlockOf<VersionRecord> {};
class UnitBlock final : public BlockOf<UnitRecord> {};
class NodeBlock final : public BlockOf<NodeRecord> {};
class ElementBlock final : public BlockOf<ElementRecord> {
public:
    void Inspect(MidasDiagnostics* sink, const char* line, const MidasRecord& record, long long offset) const override;
};
