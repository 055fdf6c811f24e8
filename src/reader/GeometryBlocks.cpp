// Parsers of the header and geometry blocks: *VERSION, *UNIT, *NODE and *ELEMENT.
#include "GeometryBlocks.h"

#include <cmath>

#include "CurrentRecords.h"
#include "TextUtils.h"

namespace {

// Coordinates within 1e-7 of zero are stored as exactly zero.
double SnapToZero(double value) { return std::fabs(value) <= 1e-07 ? 0.0 : value; }

// The host's area holds a PLATE or WALL line's number, type, material, thickness and corners (fields 1-8);
// each later field with a value (sub-type, wall ID, local axis, ...) is named as dropped.
void NoteAreaDataDropped(MidasDiagnostics* sink, const char* line, const std::string& type, long long offset)
{
    std::vector<std::string_view> fields;
    SplitFields(line, fields);
    for (std::size_t k = 8; k < fields.size(); ++k) {
        if (ToReal(fields[k]) == 0.0)
            continue;
        const std::string what = k == 8 ? (type == "WALL" ? "wall type (iSUB)" : "plate type (iSUB)")
                               : k == 9 ? "wall ID (iWID)"
                               : k == 10 ? "local axis (LCAXIS)"
                                         : "field " + std::to_string(k + 1);
        Note(sink, MidasFinding::AreaDataDropped, offset, type + " " + what);
    }
}

} // namespace

// Elements other than line members (solids, other words; plates and walls in the classic layout) are not
// translated. A TENSTR line carries its cable data (pretension) after the subtype field, which no host
// field holds.
void ElementBlock::Inspect(MidasDiagnostics* sink, const char* line, const MidasRecord& record, long long offset) const
{
    const ShortText& type = static_cast<const ElementRecord&>(record).m_strType;
    if (Layout().current && (type == "PLATE" || type == "WALL")) {
        NoteAreaDataDropped(sink, line, type.str(), offset);
    } else if (type == "TENSTR") {
        std::vector<std::string_view> fields;
        SplitFields(line, fields);
        std::string values;
        for (std::size_t k = 8; k < fields.size(); ++k)
            if (ToReal(fields[k]) != 0.0)
                values += (values.empty() ? "" : ", ") + std::string(fields[k]);
        if (!values.empty())
            Note(sink, MidasFinding::CablePretension, offset,
                 "element " + std::to_string(static_cast<const ElementRecord&>(record).m_nID) + ": " + values);
    } else if (type != "BEAM" && type != "TRUSS") {
        Note(sink, MidasFinding::UntranslatedElement, offset, type.str());
    }
}

bool VersionRecord::Parse(const char* line)
{
    m_strVersion = line;
    return !m_strVersion.empty();
}

bool UnitRecord::Parse(const char* line)
{
    const BlankFreeLine blankFree(line);
    const std::string_view text = blankFree.View();
    if (text.empty())
        return false;  // blank line ends the block
    FieldTokenizer tokens(std::string_view(text), ",");
    m_strForce = tokens.NextTrimmed();
    m_strLength = tokens.NextTrimmed();
    m_strHeat = tokens.NextTrimmed();
    m_strTemper = tokens.NextTrimmed();
    return true;
}

bool NodeRecord::Parse(const char* line)
{
    const BlankFreeLine blankFree(line);
    const std::string_view text = blankFree.View();
    std::string_view work = text;
    std::string_view id, x, y;
    // A blank line, or one with fewer than three commas (such as the next keyword line), ends the block.
    if (!TakeCommaField(work, id) || !TakeCommaField(work, x) || !TakeCommaField(work, y))
        return false;
    m_nID = ToInt(id);
    m_dX = SnapToZero(ToReal(x));
    m_dY = SnapToZero(ToReal(y));
    m_dZ = SnapToZero(ToReal(work));
    return true;
}

bool ElementRecord::Parse(const char* line)
{
    const BlankFreeLine blankFree(line);
    const std::string_view text = blankFree.View();
    std::string_view work = text;
    std::string_view id, type, material, property;
    // Fewer than four commas (a blank line, the next keyword line) ends the block.
    if (!TakeCommaField(work, id) || !TakeCommaField(work, type) || !TakeCommaField(work, material) ||
        !TakeCommaField(work, property))
        return false;
    m_nID = ToInt(id);
    m_strType = type;
    m_nMaterialID = ToInt(material);
    m_nSectionID = ToInt(property);

    if (m_strType == "PLATE" || m_strType == "WALL") {
        // Node list: positive numbers up to the first empty field; the field after the last comma is
        // not part of the list.
        std::size_t comma;
        while (!work.empty() && (comma = work.find(',')) != std::string_view::npos && comma > 0) {
            int node = ToInt(work.substr(0, comma));
            if (node > 0)
                m_NodeIDs.Add(node);
            work.remove_prefix(comma + 1);
        }
    } else if (m_strType == "BEAM" || m_strType == "TENSTR" || m_strType == "TRUSS") {
        std::string_view node1, node2;
        if (!TakeCommaField(work, node1))
            return false;  // a line member needs both end nodes
        TakeCommaField(work, node2);
        m_NodeIDs.Add(ToInt(node1));
        m_NodeIDs.Add(ToInt(node2));
        m_dAngle = ToReal(work);  // stops at the comma after the angle, if any
    }
    // Any other type word: kept with its four common fields and no nodes.
    return true;
}
