// Record parsers for the layouts that MIDAS Gen/Civil 8.x and 9.x write (the "current" reading profile).
//
// Each class reads the same record fields as its classic base, so every translation step is shared;
// only the way a data line is cut into those fields differs.
#pragma once

#include <string_view>
#include <vector>

#include "GeometryBlocks.h"
#include "GroupBlocks.h"
#include "LoadBlocks.h"
#include "PropertyBlocks.h"

// Cuts a data line into fields at commas, by position: empty fields count. A field whose first
// non-blank byte is '"' runs to the closing '"' (commas inside included) and its value is the text
// between the quotes; anything after the closing quote up to the next comma is dropped. An unclosed
// quote runs to the end of the line. Fields are trimmed of whitespace. An empty line gives no field.
void SplitFields(std::string_view line, std::vector<std::string_view>& fields);

// iMAT, TYPE, MNAME, SPHEAT, HEATCO, PLAST, TUNIT, bMASS, DAMPRATIO, kind, ...:
// kind 1: DB, CODE, NAME, USEELAST, ELAST; kind 2: ELAST, POISN, THERMAL, DEN, MASS.
// Lines whose field 10 is not "1" or "2" are read in the classic layout.
class CurrentMaterialRecord : public MaterialRecord {
public:
    bool Parse(const char* line) override;
};

// iSEC, TYPE, SNAME, offsets (fields 4-10), bSD, [bWE], SHAPE, kind, then 1: DB, NAME or 2: D1..D10.
// Lines that do not begin a section are kept as continuations.
class CurrentSectionRecord : public SectionRecord {
public:
    bool Parse(const char* line) override;
};

// iTHK, TYPE or NAME, ..., the thickness after the first YES/NO among fields 3 and 4.
class CurrentThicknessRecord : public ThicknessRecord {
public:
    bool Parse(const char* line) override;
};

// iEL, TYPE, iMAT, iPRO, iN1 ... as in the classic layout, except that a PLATE's or WALL's corners are
// fields 5 to 8 by position (a 0 in field 8: a triangle), whatever fields follow them.
class CurrentElementRecord : public ElementRecord {
public:
    bool Parse(const char* line) override;
};

// NAME, NODE_LIST, ELEM_LIST, ... with "to"/"by" ranges in both lists; the element list is kept with its
// ranges unexpanded (the node list is not used).
class CurrentGroupRecord : public GroupRecord {
public:
    bool Parse(const char* line) override;
};

// NODE_LIST, CONSTRAINT, GROUP as in the classic layout, the node list kept with its ranges unexpanded.
class CurrentConstraintRecord : public ConstraintRecord {
public:
    bool Parse(const char* line) override;
};

// LCNAME, LCTYPE, DESC with quoted fields.
class CurrentLoadCaseRecord : public LoadCaseRecord {
public:
    bool Parse(const char* line) override;
};

// NODE_LIST, FX, FY, FZ, MX, MY, MZ, GROUP.
class CurrentConLoadRecord : public ConLoadRecord {
public:
    bool Parse(const char* line) override;
};

// ELEM_LIST, CMD, TYPE, DIR, bPROJ, bECCEN, ECCDIR, I-END, J-END, bJ-END, D1, P1, ..., D4, P4, GROUP;
// also the classic order, ELEM_LIST, CMD, TYPE, DIR, bPROJ, D1, P1, ..., D4, P4.
class CurrentBeamLoadRecord : public BeamLoadRecord {
public:
    bool Parse(const char* line) override;
};

// ELEM, [bVALUE], FLAG-i, six values, FLAG-j, six values, GROUP (the two physical lines joined).
class CurrentFrameReleaseRecord : public FrameReleaseRecord {
public:
    bool Parse(const char* line) override;
};
