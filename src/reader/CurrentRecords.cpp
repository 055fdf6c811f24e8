// Record parsers for the layouts that MIDAS Gen/Civil 8.x and 9.x write.
//
// Every data line is cut by comma position (empty fields keep their place, quoted fields keep their
// commas), then the classic record fields are filled from known positions. A missing field reads as
// empty text or 0, so a short line never reads past its end.
#include "CurrentRecords.h"

#include <initializer_list>
#include <string>

#include "TextUtils.h"

namespace {

using Fields = std::vector<std::string_view>;

// Field n of a line, counted from 1; empty when the line has fewer fields.
std::string_view Field(const Fields& fields, std::size_t n)
{
    return n >= 1 && n <= fields.size() ? fields[n - 1] : std::string_view();
}

bool IsYesNo(std::string_view field) { return field == "YES" || field == "NO"; }

bool IsBlankLine(const char* line) { return !line || TrimView(line).empty(); }

// Adds the items of a space-separated list of items "A", "AtoB", "AtoBbyC".
void AddIdList(std::string_view text, IdList& list)
{
    FieldTokenizer items(text, " \t\n\v\f\r");
    std::string_view item;
    while (items.NextToken(item))
        list.AddItem(item);
}

// A section number: an optional sign and digits only.
bool IsInteger(std::string_view field)
{
    if (!field.empty() && (field[0] == '+' || field[0] == '-'))
        field.remove_prefix(1);
    if (field.empty())
        return false;
    for (char c : field)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool StartsWithLetter(std::string_view field)
{
    return !field.empty() && ((field[0] >= 'A' && field[0] <= 'Z') || (field[0] >= 'a' && field[0] <= 'z'));
}

// The reference point of a section's offset: centre, left or right by top, centre or bottom.
bool IsOffsetCode(std::string_view field)
{
    for (std::string_view code : {"CC", "CT", "CB", "LT", "LC", "LB", "RT", "RC", "RB"})
        if (field == code)
            return true;
    return false;
}

} // namespace

void SplitFields(std::string_view line, std::vector<std::string_view>& fields)
{
    fields.clear();
    if (line.empty())
        return;
    std::size_t position = 0;
    for (;;) {
        std::size_t start = position;
        while (start < line.size() && IsBlank(static_cast<unsigned char>(line[start])))
            ++start;
        std::size_t comma;
        if (start < line.size() && line[start] == '"') {
            const std::size_t close = line.find('"', start + 1);
            if (close == std::string_view::npos) {
                fields.push_back(TrimView(line.substr(start + 1)));  // unclosed: the rest of the line
                return;
            }
            fields.push_back(TrimView(line.substr(start + 1, close - start - 1)));
            comma = line.find(',', close + 1);  // text after the closing quote is dropped
        } else {
            comma = line.find(',', position);
            fields.push_back(TrimView(line.substr(position, comma == std::string_view::npos ? comma : comma - position)));
        }
        if (comma == std::string_view::npos)
            return;
        position = comma + 1;  // a trailing comma leaves one empty last field
    }
}

bool CurrentMaterialRecord::Parse(const char* line)
{
    if (IsBlankLine(line))
        return false;
    Fields fields;
    SplitFields(line, fields);
    const std::string_view kind = Field(fields, 10);
    if (kind != "1" && kind != "2")
        return MaterialRecord::Parse(line);  // no damping ratio before the kind: the classic layout

    m_nID = ToInt(Field(fields, 1));
    m_strType = Field(fields, 2);
    m_strName = Field(fields, 3);
    m_nDataKind = ToInt(kind);
    if (m_nDataKind == 1) {
        // Database form: standard, code or product, grade name, whether to use ELAST, ELAST.
        RemoveBlanks(Field(fields, 11), m_strStandardCode);
        m_strGradeName = Field(fields, 13);
        m_dElasticity = ToReal(Field(fields, 15));  // kept whatever USEELAST says
        return true;
    }
    // Value form: ELAST, POISN, THERMAL, DEN, MASS.
    std::size_t n = 11;
    for (double* value : {&m_dElasticity, &m_dPoisson, &m_dThermal, &m_dDensity, &m_dMass})
        *value = ToReal(Field(fields, n++));
    return true;
}

bool CurrentSectionRecord::Parse(const char* line)
{
    if (IsBlankLine(line))
        return false;
    Fields fields;
    SplitFields(line, fields);
    if (!IsInteger(Field(fields, 1)) || !StartsWithLetter(Field(fields, 2)) || !IsOffsetCode(Field(fields, 4))) {
        // Property rows of VALUE and TAPERED sections, stiffener rows of SOD sections and the like.
        m_bContinuation = true;
        return true;
    }
    m_nID = ToInt(Field(fields, 1));
    m_strType = Field(fields, 2);
    m_strName = Field(fields, 3);
    m_strExtra = Field(fields, 4);
    if (m_strType != "DBUSER") {
        // Sections given by properties or by two ends have no shape dimensions to read: the type word
        // stands in the shape's place so that no shape rule matches it.
        m_strShape = m_strType;
        return true;
    }
    // Older files have no bWE after bSD (field 11), so the shape moves one field forward.
    const std::size_t shape = IsYesNo(Field(fields, 12)) ? 13 : 12;
    m_strShape = Field(fields, shape);
    m_nDataKind = ToInt(Field(fields, shape + 1));
    if (m_nDataKind == 1) {
        m_strStandardCode = Field(fields, shape + 2);
        RemoveBlanks(Field(fields, shape + 3), m_strCatalogName);
        return true;
    }
    // Dimensions by position: an empty field is a 0 so that later values keep their meaning.
    for (std::size_t n = shape + 2; n < shape + 12 && n <= fields.size(); ++n)
        m_Dimensions.Add(ToReal(fields[n - 1]));
    return true;
}

bool CurrentThicknessRecord::Parse(const char* line)
{
    if (IsBlankLine(line))
        return false;
    Fields fields;
    SplitFields(line, fields);
    // bSAME (YES/NO) comes after the name when the line has one, or right after the type.
    std::size_t same = 0;
    if (IsYesNo(Field(fields, 3)))
        same = 3;
    else if (IsYesNo(Field(fields, 4)))
        same = 4;
    else
        return ThicknessRecord::Parse(line);

    m_nID = ToInt(Field(fields, 1));
    m_strType = Field(fields, 2);
    if (same == 4)
        m_strExtra = Field(fields, 3);
    m_dThickness = ToReal(Field(fields, same + 1));
    return true;
}

bool CurrentElementRecord::Parse(const char* line)
{
    if (!ElementRecord::Parse(line))
        return false;
    if (m_strType != "PLATE" && m_strType != "WALL")
        return true;
    Fields fields;
    SplitFields(line, fields);
    m_NodeIDs.RemoveAll();
    for (std::size_t n = 5; n <= 8; ++n)
        if (const int node = ToInt(Field(fields, n)); node > 0)
            m_NodeIDs.Add(node);
    return true;
}

bool CurrentGroupRecord::Parse(const char* line)
{
    if (IsBlankLine(line))
        return false;
    Fields fields;
    SplitFields(line, fields);
    m_strName = Field(fields, 1);
    m_strNodeList = Field(fields, 2);
    m_strElementList = Field(fields, 3);
    AddIdList(m_strElementList, m_ElementRanges);
    return true;  // a group may hold no node and no element
}

bool CurrentLoadCaseRecord::Parse(const char* line)
{
    if (IsBlankLine(line))
        return false;
    Fields fields;
    SplitFields(line, fields);
    // Without blanks, as in the name of a load section's header.
    RemoveBlanks(Field(fields, 1), m_strName);
    RemoveBlanks(Field(fields, 2), m_strType);
    RemoveBlanks(Field(fields, 3), m_strDescription);
    return true;
}

bool CurrentConLoadRecord::Parse(const char* line)
{
    if (IsBlankLine(line))
        return false;
    Fields fields;
    SplitFields(line, fields);
    AddIdList(Field(fields, 1), m_NodeList);
    m_nNode = m_NodeList.First();
    std::size_t n = 2;
    for (double* value : {&m_dFX, &m_dFY, &m_dFZ, &m_dMX, &m_dMY, &m_dMZ})
        *value = ToReal(Field(fields, n++));
    return true;
}

bool CurrentBeamLoadRecord::Parse(const char* line)
{
    if (IsBlankLine(line))
        return false;
    Fields fields;
    SplitFields(line, fields);
    AddIdList(Field(fields, 1), m_ElementList);
    m_nElement = m_ElementList.First();
    m_strCommand = Field(fields, 2);
    m_strType = Field(fields, 3);
    m_strDir = Field(fields, 4);
    m_strProjection = Field(fields, 5);
    // Today's lines carry YES or NO in field 6 (bECCEN) and ECCDIR in field 7; fields 8 to 10 are the
    // eccentricities at the two ends, and the distance and value pairs follow. A line in the classic
    // column order has its first distance in field 6: its pairs are read from there.
    std::size_t n = 6;
    if (IsYesNo(Field(fields, 6))) {
        m_strExtra1 = Field(fields, 6);
        m_strExtra2 = Field(fields, 7);
        n = 11;
    }
    for (double* value : {&m_dD1, &m_dP1, &m_dD2, &m_dP2, &m_dD3, &m_dP3, &m_dD4, &m_dP4})
        *value = ToReal(Field(fields, n++));
    return true;
}

bool CurrentFrameReleaseRecord::Parse(const char* line)
{
    if (IsBlankLine(line))
        return false;
    Fields fields;
    SplitFields(line, fields);
    m_nElementID = ToInt(RemoveBlanks(Field(fields, 1)));
    std::size_t flagI = 2;
    if (IsYesNo(Field(fields, 2))) {
        m_strPartial = Field(fields, 2);
        flagI = 3;
    }
    // End i: the flags and six values; end j's flags follow them.
    m_strEndIFlags = Field(fields, flagI);
    m_strEndJFlags = Field(fields, flagI + 7);
    return true;
}
