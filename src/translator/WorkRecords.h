// The translator's working records: its own intermediate copies of nodes, members, properties and loads.
#pragma once

#include <cstdint>
#include <string>

#include "MaterialGradeTable.h"
#include "reader/CompactFields.h"
#include "midas2orvo/OrvoModel.h"

// Nodes, members and loads come by the hundred thousand: their working records have no base class
// (nothing serializes, checks or dumps them), keep their lists and names inside the record, and hold
// constants as constants.
//
// A node: number of the file (after renumbering its 1-based position), coordinates, restraint flags.
class WorkNode {
public:
    unsigned char Restraint = 0;
    int ID = 0;
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
    SmallIntList<2> PointLoads;
};

// A BEAM, TRUSS or TENSTR member.
class WorkLine {
public:
    // Members ordered by alignment, so that the record carries no padding.
    PooledText GroupName;
    double RefX = 0.0;
    double RefY = 0.0;
    double RefZ = 0.0;
    static constexpr double RefSpare = 0.0;  // always 0.0 when handed over
    int ID = 0;
    int StartNode = 0;
    int EndNode = 0;
    int SectionShape = 0;
    int SectionID = 0;
    int MaterialID = 0;
    SmallIntList<4> LineLoads;
    unsigned char StartRelease = 0;
    unsigned char EndRelease = 0;
};

// A PLATE or WALL element: its number in the file until renumbered 1..N, its corner nodes (3 or 4,
// the file's numbers until renumbered as member ends are), and the file's thickness and material numbers.
class WorkArea : public CObjectBase {
public:
    int ID = 0;
    int Kind = 0;  // 1 PLATE, 2 WALL
    ValueArray<int> Nodes;
    int SectionID = 0;
    int MaterialID = 0;
};

class WorkMaterial : public CObjectBase {
public:
    MaterialProperty Property;
    MaterialGradeTable Grades;
    // Where the rules scale by dimension, a user material's weight and mass per volume as the file writes
    // them, turned into one mass density when the units are known.
    double WeightDensity = 0.0;
    double MassDensity = 0.0;
};

class WorkLSection : public CObjectBase {
public:
    WorkLSection()
    {
        Properties.SetSize(13);
        for (double& value : Properties)
            value = 0.0;
    }
    std::string Name;
    int ID = 0;
    int ShapeCode = 0;
    ValueArray<double> Properties;
    int FileNumber = 0;          // the section's number in the file
    bool FromCatalogue = false;  // properties from the section library (already in mm)
};

class WorkASection : public CObjectBase {
public:
    int ID = 0;
    int Kind = 0;
    double Thickness = 0.0;
};

// The working loads are the largest collection of a loaded model (one to four per member load): small
// codes in single bytes, the spare fields, which are never used, as constants, values and positions as
// full doubles.
//
// A nodal load: forces and moments along and about the global axes, in the file's units until scaled.
class WorkPointLoad {
public:
    static constexpr int Spare = 0;
    std::int8_t CaseKind = -1;  // 0 dead, 1 live, 2 wind; -1 without a load case
    int CaseID = -1;            // 1-based position of the load case; -1 without one
    double FX = 0.0;
    double FY = 0.0;
    double FZ = 0.0;
    double MX = 0.0;
    double MY = 0.0;
    double MZ = 0.0;
};

// One entry of a member load: positions from the start end, in the file's length unit until scaled.
class WorkLineLoad {
public:
    static constexpr int Spare = -1;
    static constexpr unsigned char SpareFlag = 0;
    std::int8_t CaseKind = -1;   // as for nodal loads
    std::int8_t LoadType = -1;   // 1 uniform force, 2 concentrated force, 3 concentrated moment, 4 uniform moment
    std::int8_t Direction = -1;  // 0..5: GX, GY, GZ, LX, LZ, LY; -1 for any other word
    int CaseID = -1;
    double Value1 = 0.0;
    double Value2 = 0.0;
    double Position1 = 0.0;
    double Position2 = 0.0;
};
