// Load case and load blocks: *STLDCASE, and the *CONLOAD and *BEAMLOAD blocks of a *USE-STLD section.
#pragma once

#include "CompactFields.h"
#include "MidasBlock.h"
#include "TextUtils.h"

// One static load case: name, type word ("D", "L", "W", ...) and description.
class LoadCaseRecord : public MidasRecord {
public:
    bool Parse(const char* line) override;
    std::string m_strName;
    std::string m_strType;
    std::string m_strDescription;
};

// One nodal load: node number, forces along and moments about global X, Y, Z.
class ConLoadRecord : public MidasRecord {
public:
    bool Parse(const char* line) override;
    int m_nNode = 0;
    double m_dFX = 0.0;
    double m_dFY = 0.0;
    double m_dFZ = 0.0;
    double m_dMX = 0.0;
    double m_dMY = 0.0;
    double m_dMZ = 0.0;
    // The line's whole node list where it is read (the current layout); empty when only m_nNode is loaded.
    IdList m_NodeList;
};

// One member load: element number, type and direction words, four (relative distance, value) pairs.
class BeamLoadRecord : public MidasRecord {
public:
    bool Parse(const char* line) override;
    ShortText m_strCommand;
    ShortText m_strType;
    ShortText m_strDir;
    ShortText m_strProjection;
    ShortText m_strExtra1;
    ShortText m_strExtra2;
    int m_nElement = 0;
    double m_dD1 = 0.0;
    double m_dP1 = 0.0;
    double m_dD2 = 0.0;
    double m_dP2 = 0.0;
    double m_dD3 = 0.0;
    double m_dP3 = 0.0;
    double m_dD4 = 0.0;
    double m_dP4 = 0.0;
    // The line's whole element list where it is read (the current layout); empty when only m_nElement is
    // loaded.
    IdList m_ElementList;
};

class LoadCaseBlock final : public BlockOf<LoadCaseRecord> {};
class ConLoadBlock final : public BlockOf<ConLoadRecord> {};
class BeamLoadBlock final : public BlockOf<BeamLoadRecord> {};
