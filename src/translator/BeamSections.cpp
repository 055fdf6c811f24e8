// Beam-section step: *SECTION records become working line sections with a shape code, a number within
// that shape code and 13 property values; members are then linked to them and given a reference point.
#include <cmath>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_map>

#include "Translation.h"
#include "WorkRecords.h"
#include "reader/MidasBlock.h"
#include "reader/PropertyBlocks.h"
#include "sectionlib/SectionLibrary.h"

namespace {

// Shape codes the host understands.
constexpr int kShapeChannel = 3;
constexpr int kShapeEqualAngle = 5;
constexpr int kShapeUnequalAngle = 6;
constexpr int kShapeH = 17;
constexpr int kShapeBox = 21;
constexpr int kShapePipe = 22;
constexpr int kShapeSolidRound = 24;
constexpr int kShapeOther = 25;
constexpr int kShapeT = 28;
constexpr int kShapeSolidBar = 29;

constexpr int kPropertyCount = 13;

// How the 13 property values of a shape are obtained when its dimensions are written in the file.
enum class Placement {
    None,     // unknown shape: every value stays 0.0
    HOrT,     // depth, flange width, web and flange thickness into 4, 6, 10, 11
    COrL,     // D1..D6 into 0..5
    Box,      // D1 depth into 4, D5 into 6, D3 and D4 into 10 and 11
    Pipe,     // outside diameter and wall thickness: inner radius 4, outer radius 5, wall 10
    SolidBar,    // D1 and D2 into 4 and 6
    SolidRound,  // D1 into 4
};

struct ShapeRule {
    std::string_view word;
    int code;        // for "L" the equal-leg code; the final one depends on the legs
    bool catalogue;  // the database form is looked up in the section library
    Placement placement;
};

// Shape words compared whole, case included.
constexpr ShapeRule kShapes[] = {
    {"H", kShapeH, true, Placement::HOrT},
    {"C", kShapeChannel, true, Placement::COrL},
    {"L", kShapeEqualAngle, true, Placement::COrL},
    {"T", kShapeT, true, Placement::HOrT},
    {"B", kShapeBox, false, Placement::Box},
    {"P", kShapePipe, true, Placement::Pipe},
    {"SB", kShapeSolidBar, false, Placement::SolidBar},
    {"SR", kShapeSolidRound, false, Placement::SolidRound},
};
constexpr ShapeRule kOtherShape = {"", kShapeOther, false, Placement::None};

const ShapeRule& RuleFor(const std::string& word)
{
    for (const ShapeRule& rule : kShapes)
        if (rule.word == word)
            return rule;
    return kOtherShape;
}

// The dimensions D1, D2, ... of a section, as a value-form line writes them.
struct Dimensions {
    const double* values;
    int count;
    // Dimension n (1-based); a dimension the line does not give reads as 0.0.
    double operator()(int n) const { return n >= 1 && n <= count ? values[n - 1] : 0.0; }
};

Dimensions DimensionsOf(const SectionRecord& record)
{
    return {record.m_Dimensions.Data, record.m_Dimensions.Count};
}

// Dimension n (1-based) of the record; a dimension the line does not give reads as 0.0.
double Dimension(const SectionRecord& record, int n) { return DimensionsOf(record)(n); }

void PlaceDimensions(const Dimensions& D, Placement placement, ValueArray<double>& p)
{
    switch (placement) {
    case Placement::HOrT:
        p[4] = D(1);
        p[6] = D(2);
        p[10] = D(3);
        p[11] = D(4);
        break;
    case Placement::COrL:
        for (int k = 0; k < 6; ++k)
            p[k] = D(k + 1);
        break;
    case Placement::Box:
        p[4] = D(1);
        p[6] = D(5);
        p[10] = D(3);
        p[11] = D(4);
        break;
    case Placement::Pipe:
        p[4] = (D(1) - 2.0 * D(2)) * 0.5;
        p[5] = D(1) * 0.5;
        p[10] = D(2);
        break;
    case Placement::SolidBar:
        p[4] = D(1);
        p[6] = D(2);
        break;
    case Placement::SolidRound:
        p[4] = D(1);
        break;
    case Placement::None:
        break;
    }
}

// A database designation of a family the catalogue does not hold, read as the value-form line of its
// shape would give it: box "B H x B x t" or "B H x B x tw x tf" as D1..D6 = H, B, tw, tf, the web
// spacing B - tw, tf; solid rectangle "SB H x B"; solid round "SR D". Designation numbers are mm. False
// when the designation does not read so.
bool TakeDesignation(const SectionRecord& record, Placement placement, WorkLSection& section)
{
    double written[4] = {};
    const std::size_t count = ReadDesignationDimensions(record.m_strCatalogName, written, std::size(written));
    double d[6] = {};
    int given = 0;
    switch (placement) {
    case Placement::Box:
        if (count != 3 && count != 4)
            return false;
        d[0] = written[0];
        d[1] = written[1];
        d[2] = written[2];
        d[3] = written[count - 1];  // one thickness for web and flanges when only one is written
        d[4] = d[1] - d[2];
        d[5] = d[3];
        given = 6;
        break;
    case Placement::SolidBar:
        if (count != 2)
            return false;
        d[0] = written[0];
        d[1] = written[1];
        given = 2;
        break;
    case Placement::SolidRound:
        if (count != 1)
            return false;
        d[0] = written[0];
        given = 1;
        break;
    default:
        return false;
    }
    PlaceDimensions({d, given}, placement, section.Properties);
    section.FromCatalogue = true;  // in mm already, like catalogue sections
    return true;
}

// "number, name, TYPE" of a section the host's 13 values cannot describe; a DBUSER section adds its
// shape word.
std::string UntranslatedDetail(const SectionRecord& record)
{
    std::string detail = std::to_string(record.m_nID) + ", " + record.m_strName + ", " + record.m_strType;
    if (!record.m_strShape.empty() && record.m_strShape != record.m_strType)
        detail += " " + record.m_strShape;
    return detail;
}

// Angle code from a catalogue designation: after the first 'x', "L100x10" leaves "10" (equal legs,
// leg x thickness) while "L100x80x8" leaves "80x8" (a second leg size before the thickness).
int AngleCodeOfDesignation(const std::string& designation)
{
    std::string_view rest = designation;
    if (const std::size_t x = rest.find('x'); x != std::string_view::npos)
        rest.remove_prefix(x + 1);
    const std::size_t next = rest.find('x');
    return next != std::string_view::npos && next > 0 ? kShapeUnequalAngle : kShapeEqualAngle;
}

// Looks the catalogue name up and copies the properties (and for angles the code) into section.
// False when the library does not hold the name.
bool TakeFromCatalogue(const SectionRecord& record, bool angle, WorkLSection& section)
{
    CSectionManagement library;
    const CSection* found = library.GetSecParaMap(record.m_strCatalogName);
    if (!found)
        return false;
    for (int k = 0; k < kPropertyCount; ++k)
        section.Properties[k] = found->GetProperty(k);
    if (angle)
        section.ShapeCode = AngleCodeOfDesignation(found->GetName());
    section.FromCatalogue = true;
    return true;
}

} // namespace

int Translation::MIDAStranslatetoOrvo_Section()
{
    if (!m_Blocks.section)
        return 0;
    const TranslationRules& rules = *m_pRules;

    // Sections are numbered 1, 2, 3, ... within each shape code, carrying on from what an earlier run
    // already collected.
    std::unordered_map<int, int> numbered;
    for (const WorkLSection* held : m_LSectionArray)
        if (held)
            ++numbered[held->ShapeCode];

    for (int i = 0; i < m_Blocks.section->GetCount(); ++i) {
        const SectionRecord* record = m_Blocks.section->GetRecord(i);
        if (!record)
            break;
        if (record->m_bContinuation)
            continue;  // property or stiffener rows of the section before
        const ShapeRule* shape = &RuleFor(record->m_strShape);
        auto* section = new WorkLSection;
        // A database designation of a family the catalogue does not hold gives the dimensions itself; one
        // that does not read as its shape's dimensions leaves a section the host cannot describe.
        const bool designation =
            rules.readsDesignationDimensions && !shape->catalogue && record->m_nDataKind == 1 &&
            shape->placement != Placement::None;
        if (designation && !TakeDesignation(*record, shape->placement, *section))
            shape = &kOtherShape;
        const ShapeRule& rule = *shape;
        const bool angle = rule.word == "L";

        section->Name = record->m_strName;
        section->FileNumber = record->m_nID;
        section->ShapeCode = rule.code;
        // An angle's code depends on its legs and is listed once decided.
        if (!angle)
            m_SectionTypes.Add(rule.code);

        if (rule.catalogue && record->m_nDataKind == 1) {
            if (!TakeFromCatalogue(*record, angle, *section)) {
                // A catalogue name the library does not know ends the step; what is collected stays.
                delete section;
                if (MidasDiagnostics* sink = StepDiagnostics())
                    Note(sink, MidasFinding::UnknownCatalogueName, m_Blocks.section->RecordOffset(i),
                         record->m_strCatalogName, m_Blocks.section->GetCount() - i);
                return 0;
            }
        } else if (!designation) {
            PlaceDimensions(DimensionsOf(*record), rule.placement, section->Properties);
            if (angle)
                section->ShapeCode =
                    Dimension(*record, 1) == Dimension(*record, 2) ? kShapeEqualAngle : kShapeUnequalAngle;
        }
        if (angle)
            m_SectionTypes.Add(section->ShapeCode);

        if (rule.placement == Placement::None && rules.namesUntranslatedSections)
            if (MidasDiagnostics* sink = StepDiagnostics())
                Note(sink, MidasFinding::UntranslatedSection, m_Blocks.section->RecordOffset(i),
                     UntranslatedDetail(*record));

        section->ID = ++numbered[section->ShapeCode];
        m_LSectionArray.Add(section);
        m_Blocks.section->MarkUsed(i);  // its first line; property and stiffener rows reach nothing
    }
    return 0;
}

std::vector<unsigned char> Translation::GetBeamSectionID()
{
    // The hand-over appends the working sections, in order, at the end of the host's list, each with its
    // shape code and ID: a member is linked to one of them before the host lines are made. In the classic
    // layout the file's section number n names the n-th of them; where sections are addressed by number,
    // it names the first section with that number.
    const int sectionCount = m_LSectionArray.GetSize();
    std::unordered_map<int, int> positionOf;
    const bool byNumber = m_pRules->addressesByNumber;
    if (byNumber)
        for (int k = sectionCount - 1; k >= 0; --k)
            positionOf[m_LSectionArray[k]->FileNumber] = k + 1;
    std::vector<unsigned char> linked(std::size_t(m_LineArray.GetSize()), 0);
    for (int i = 0; i < m_LineArray.GetSize(); ++i) {
        WorkLine* line = m_LineArray.GetAt(i);
        if (!line)
            break;
        int number = line->SectionID;
        if (byNumber) {
            const auto found = positionOf.find(number);
            if (found == positionOf.end()) {
                // A member whose section the file does not define keeps shape 0.
                Note(m_pDiagnostics, MidasFinding::UnmatchedSection, -1,
                     "member " + std::to_string(line->ID) + " section " + std::to_string(number));
                continue;
            }
            number = found->second;
        }
        if (number <= 0 || number > sectionCount) {
            // This member and every later one keep shape 0 and the file's number.
            Note(m_pDiagnostics, MidasFinding::UnmatchedSection, -1,
                 "member " + std::to_string(line->ID) + " section " + std::to_string(number),
                 m_LineArray.GetSize() - i);
            break;
        }
        const WorkLSection* section = m_LSectionArray[number - 1];
        line->SectionShape = section->ShapeCode;
        line->SectionID = section->ID;
        linked[std::size_t(i)] = 1;
    }
    return linked;
}

bool Translation::SetReferencePoint(WorkLine& line, int shapeCode) const
{
    if (m_NodeArray.GetSize() == 0)
        return false;
    // Member ends are node IDs after renumbering, that is 1-based positions in the node collection.
    const WorkNode* start = line.StartNode > 0 ? m_NodeArray.GetAt(line.StartNode - 1) : nullptr;
    const WorkNode* end = line.EndNode > 0 ? m_NodeArray.GetAt(line.EndNode - 1) : nullptr;
    if (!start || !end)
        return false;

    constexpr double kSmall = 1e-08;
    constexpr double kFar = 1e15;  // the point lies far away in global coordinates, not beside the member
    const bool smallX = std::fabs(start->X - end->X) < kSmall;
    const bool smallY = std::fabs(start->Y - end->Y) < kSmall;
    const bool smallZ = std::fabs(start->Z - end->Z) < kSmall;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    switch (shapeCode) {
    case kShapeChannel:
        if (smallX && smallY)
            y = kFar;  // column
        else if (smallY && smallZ)
            y = -kFar;  // along X
        else
            x = -kFar;
        break;
    case kShapeEqualAngle:
    case kShapeUnequalAngle:
        if (smallY && smallZ)
            z = kFar;  // along X
        else if (smallX && smallZ)
            x = -kFar;  // along Y
        else
            x = kFar;
        break;
    case kShapeH:
    case kShapeBox:
    case kShapePipe:
    case kShapeSolidRound:
    case kShapeOther:
    case kShapeT:
    case kShapeSolidBar:
        if (smallX && smallY)
            x = kFar;  // column
        else
            z = kFar;
        break;
    default:
        return false;
    }
    line.RefX = x;
    line.RefY = y;
    line.RefZ = z;
    return true;
}
