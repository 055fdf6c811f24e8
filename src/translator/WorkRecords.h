// The translator's working records: its own intermediate copies of nodes, members, properties and loads.
#pragma once

#include <string>

#include "MaterialGradeTable.h"
#include "reader/CompactFields.h"
#include "midas2orvo/OrvoModel.h"

// A node: number of the file (after renumbering its 1-based position), coordinates, restraint flags.
class WorkNode : public CObjectBase {
public:
    unsigned char Restraint = 0;
    int ID = 0;
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
    SmallIntList PointLoads;
};

// A BEAM, TRUSS or TENSTR member.
class WorkLine : public CObjectBase {
public:
    unsigned char StartRelease = 0;
    unsigned char EndRelease = 0;
    ShortText GroupName;
    int ID = 0;
    int StartNode = 0;
    int EndNode = 0;
    int SectionShape = 0;
    int SectionID = 0;
    int MaterialID = 0;
    SmallIntList LineLoads;
    double RefX = 0.0;
    double RefY = 0.0;
    double RefZ = 0.0;
    double RefSpare = 0.0;
};

// An area element; no translation step produces one.
class WorkArea : public CObjectBase {
public:
    int ID = 0;
    ValueArray<int> Nodes;
};

class WorkMaterial : public CObjectBase {
public:
    MaterialProperty Property;
    MaterialGradeTable Grades;
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

class WorkPointLoad : public CObjectBase {
public:
    int CaseKind = -1;
    int CaseID = -1;
    int Spare = 0;
    double FX = 0.0;
    double FY = 0.0;
    double FZ = 0.0;
    double MX = 0.0;
    double MY = 0.0;
    double MZ = 0.0;
};

class WorkLineLoad : public CObjectBase {
public:
    int CaseKind = -1;
    int CaseID = -1;
    int Spare = -1;
    int LoadType = -1;
    int Direction = -1;
    double Value1 = 0.0;
    double Value2 = 0.0;
    double Position1 = 0.0;
    double Position2 = 0.0;
    unsigned char SpareFlag = 0;
};
