// The host's structural model: the eight target record classes and the ModalData_Orvo container.
#pragma once

#include <cstddef>
#include <new>
#include <string>

#include "Export.h"
#include "OwnedArray.h"
#include "ValueArray.h"

// Base of every record class: run-time class query, virtual destructor, serialize, validity check and
// diagnostic dump. The last three do nothing for the records of this library.
//
// Records made with new come from large shared chunks of memory rather than one heap block each, so a
// model of millions of records is built without a page fault per few records. Each is deleted on its
// own with delete, on any thread, before or after the translator that made it is gone.
class MIDAS2ORVO_API CObjectBase {
public:
    static void* operator new(std::size_t bytes);
    static void operator delete(void* record, std::size_t bytes) noexcept;
    // A host's record class aligned beyond 16 bytes comes from the general heap.
    static void* operator new(std::size_t bytes, std::align_val_t alignment);
    static void operator delete(void* record, std::size_t bytes, std::align_val_t alignment) noexcept;
    virtual const char* GetRuntimeClass() const;
    virtual ~CObjectBase();
    virtual void Serialize();
    virtual void AssertValid() const;
    virtual void Dump() const;
};

// Restraint and release flag byte: one bit per freedom.
enum : unsigned char {
    kFreeTX = 0x80,  // translation X
    kFreeTY = 0x40,  // translation Y
    kFreeTZ = 0x20,  // translation Z
    kFreeRX = 0x10,  // rotation X
    kFreeRY = 0x08,  // rotation Y
    kFreeRZ = 0x04,  // rotation Z
};

// Grade code and five constants of a material.
//
// Units. Current profile, whatever the file's units: Elastic in kN/mm2; Extra (the yield strength of a
// steel grade) in N/mm2 as the grade table writes it, 0 for concrete and user materials; Density, mass
// per volume, in kg/mm3 (steel 7.85e-06); Thermal per degree C. Classic profile: the file's or the
// table's values scaled as in a file of the table's units: Elastic and Extra times F/L2, Density (a
// user material's weight density divided by 9.8) divided by L2 and times 0.1, Thermal as read; F and L
// are the factors of the file's force and length words to kN and mm.
struct MaterialProperty {
    int Grade = -1;        // 1-4 steel grades, 7-20 concrete grades, 21 user-defined, -1 none
    double Elastic = 0.0;  // elastic modulus
    double Poisson = 0.0;  // Poisson's ratio
    double Thermal = 0.0;  // thermal expansion coefficient
    double Extra = 0.0;    // yield strength of a steel grade; 0 otherwise
    double Density = 0.0;  // mass density
};

// A node: coordinates in mm, restraint flags, numbers of the point loads on it.
class MIDAS2ORVO_API Node_Orvo : public CObjectBase {
public:
    Node_Orvo();
    ~Node_Orvo() override;
    int ID = -1;
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
    int HostTag = -1;
    unsigned char Restraint = 0;
    ValueArray<int> PointLoads;
};

// A line member (beam, truss or cable).
class MIDAS2ORVO_API Line_Orvo : public CObjectBase {
public:
    Line_Orvo();
    ~Line_Orvo() override;
    int Kind = 0;
    int ID = 0;
    int StartNode = 0;
    int EndNode = 0;
    int HostInt1 = 0;
    int HostInt2 = 0;
    std::string GroupName;
    int HostInt3 = 0;
    unsigned char HostBytes[4] = {0, 0, 0, 0};
    int SectionShape = 0;  // shape code of the member's beam section
    int SectionID = 0;     // number of the section within its shape code
    int MaterialID = 0;    // material number of the file
    unsigned char StartRelease = 0;
    unsigned char EndRelease = 0;
    int HostInt4 = 0;
    double RefX = 0.0;  // orientation reference point, a far point in global coordinates
    double RefY = 0.0;
    double RefZ = 0.0;
    double HostDouble1 = 0.0;
    double RefSpare = 0.0;
    int HostInt5 = 0;
    double HostDoubles[6] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    ValueArray<int> LineLoads;
    double HostDouble2 = 0.0;
};

// A plate or wall element of the host's model; this library never creates one.
class MIDAS2ORVO_API Area_Orvo : public CObjectBase {
public:
    Area_Orvo();
    ~Area_Orvo() override;
    int Kind = 0;
    int ID = 0;
    ValueArray<int> Nodes;
    int HostInt1 = 0;
    std::string Name;
    unsigned char HostBytes[4] = {0, 0, 0, 0};
    int SectionID = 0;
    int MaterialID = 0;
    int HostInt2 = 0;
    ValueArray<int> HostList;
};

// A material. ID is the number of Material_Orvo objects alive after construction (class counter).
class MIDAS2ORVO_API Material_Orvo : public CObjectBase {
public:
    Material_Orvo();
    ~Material_Orvo() override;
    Material_Orvo(const Material_Orvo&) = delete;
    Material_Orvo& operator=(const Material_Orvo&) = delete;
    static int LiveCount();
    int ID;
    int HostInt1 = -1;
    int HostInt2 = -1;
    MaterialProperty Property;
    int HostInt3 = -1;
    int HostInt4 = -1;
};

// A beam section: shape code, number within that shape code, name and 13 property values.
class MIDAS2ORVO_API LSection_Orvo : public CObjectBase {
public:
    LSection_Orvo();
    ~LSection_Orvo() override;
    LSection_Orvo(const LSection_Orvo&) = delete;
    LSection_Orvo& operator=(const LSection_Orvo&) = delete;
    static int LiveCount();
    int ID;
    int HostInt1 = -1;
    int ShapeCode = -1;
    std::string Name;
    ValueArray<double> Properties;
};

// A plate thickness (area section), in mm.
class MIDAS2ORVO_API ASection_Orvo : public CObjectBase {
public:
    ASection_Orvo();
    ~ASection_Orvo() override;
    int ID = 0;
    std::string HostText1;
    std::string HostText2;
    int HostInt1 = 0;
    int Kind = -1;
    double Thickness = 0.0;
};

// A nodal load of one static load case: forces in kN, moments in kN*m.
class MIDAS2ORVO_API PointLoad_Orvo : public CObjectBase {
public:
    PointLoad_Orvo();
    ~PointLoad_Orvo() override;
    int CaseKind = -1;  // 0 dead, 1 live and others, 2 wind
    int CaseID = -1;    // 1-based position of the load case, 0 when none matched
    int HostInt1 = 0;
    double FX = 0.0;
    double FY = 0.0;
    double FZ = 0.0;
    double MX = 0.0;
    double MY = 0.0;
    double MZ = 0.0;
};

// A member load entry of one static load case; positions in m from the start node. Values in the current
// profile: type 1 in kN/m, 2 in kN, 3 in kN*m, 4 in kN*m/m, whatever the file's units. Classic profile:
// types 1 and 2 times the force factor to kN (so a uniform load stays per length of the file's unit),
// types 3 and 4 as written; positions of types 3 and 4 in the file's length unit.
class MIDAS2ORVO_API LineLoad_Orvo : public CObjectBase {
public:
    LineLoad_Orvo();
    ~LineLoad_Orvo() override;
    int CaseKind = -1;
    int CaseID = -1;
    int HostInt1 = -1;
    int LoadType = -1;   // 1 uniform force, 2 concentrated force, 3 concentrated moment, 4 uniform moment
    int Direction = -1;  // 0 GX, 1 GY, 2 GZ, 3 local x, 4 local z, 5 local y, -1 other
    double Value1 = 0.0;
    double Value2 = 0.0;
    double Position1 = 0.0;
    double Position2 = 0.0;
    unsigned char HostFlag = 0;
    ValueArray<int> HostList;
};

// The host's model container, as far as the translator fills it. It owns every record appended to it.
class MIDAS2ORVO_API ModalData_Orvo {
public:
    ModalData_Orvo();
    virtual ~ModalData_Orvo();
    ModalData_Orvo(const ModalData_Orvo&) = delete;
    ModalData_Orvo& operator=(const ModalData_Orvo&) = delete;

    bool m_bUpdated = false;
    OwnedArray<Node_Orvo> m_Nodes;
    OwnedArray<Line_Orvo> m_Lines;
    OwnedArray<LSection_Orvo> m_LSections;
    ValueArray<int> m_SectionShapes;
    OwnedArray<ASection_Orvo> m_ASections;
    OwnedArray<Material_Orvo> m_Materials;
    OwnedArray<PointLoad_Orvo> m_PointLoads;
    OwnedArray<LineLoad_Orvo> m_LineLoads;
    OwnedArray<Area_Orvo> m_Areas;
};
