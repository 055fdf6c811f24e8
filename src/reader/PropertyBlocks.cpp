// Parsers of the property blocks: *MATERIAL, *SECTION and *THICKNESS.
#include "PropertyBlocks.h"

#include "CurrentRecords.h"
#include "TextUtils.h"

// A classic read of a line in today's column order: a damping ratio in field 9 and the kind in field 10.
void MaterialBlock::Inspect(MidasDiagnostics* sink, const char* line, const MidasRecord&, long long offset) const
{
    if (Layout().currentColumns)
        return;
    std::vector<std::string_view> fields;
    SplitFields(line, fields);
    if (fields.size() > 9 && (fields[9] == "1" || fields[9] == "2") && fields[8].find('.') != std::string_view::npos)
        Note(sink, MidasFinding::NewerMaterialLayout, offset, std::string(TrimView(line)));
}

// A classic read of a line in today's column order: the bWE field ("YES"/"NO") lands where the shape is.
void SectionBlock::Inspect(MidasDiagnostics* sink, const char* line, const MidasRecord& record, long long offset) const
{
    const std::string& shape = static_cast<const SectionRecord&>(record).m_strShape;
    if (!Layout().currentColumns && (shape == "YES" || shape == "NO"))
        Note(sink, MidasFinding::NewerSectionLayout, offset, std::string(TrimView(line)));
}

bool MaterialRecord::Parse(const char* line)
{
    const BlankFreeLine blankFree(line);
    const std::string_view text = blankFree.View();
    if (text.empty())
        return false;  // blank line ends the block
    std::string_view work = text;
    std::string_view field;
    TakeCommaField(work, field);
    m_nID = ToInt(field);
    TakeCommaField(work, field);
    m_strType = field;
    TakeCommaField(work, field);
    m_strName = field;
    for (int skipped = 4; skipped <= 8; ++skipped)  // fields 4 to 8 are not used
        TakeCommaField(work, field);
    if (!TakeCommaField(work, field))
        return false;  // no comma after the data kind: not a material line
    m_nDataKind = ToInt(field);

    if (m_nDataKind == 1) {
        // Database form: standard code, then the grade name with everything after it.
        TakeCommaField(work, field);
        m_strStandardCode = field;
        m_strGradeName = work;
        return true;
    }
    // Value form, columns ELAST, POISN, THERMAL, DEN, MASS.
    double* const targets[] = {&m_dElasticity, &m_dPoisson, &m_dThermal, &m_dDensity};
    for (double* target : targets) {
        TakeCommaField(work, field);
        *target = ToReal(field);
    }
    m_dMass = ToReal(work);
    return true;
}

bool SectionRecord::Parse(const char* line)
{
    const BlankFreeLine blankFree(line);
    const std::string_view text = blankFree.View();
    if (text.empty())
        return false;  // blank line ends the block
    const std::size_t yes = text.find("YES");
    if (yes == 0 && text.find("YES", 1) == std::string_view::npos)
        return true;  // a single "YES", at the very start: an empty record

    FieldTokenizer tokens(std::string_view(text), ",");
    m_nID = ToInt(tokens.NextTrimmed());
    m_strType = tokens.NextTrimmed();
    m_strName = tokens.NextTrimmed();
    m_strExtra = tokens.NextTrimmed();
    if (yes != std::string::npos) {
        // Layout with a "YES" field: the shape follows the first token after the fourth that is exactly
        // "YES" (a copy that begins with "YES" has its later one counted).
        std::string_view token;
        while (tokens.NextToken(token) && TrimView(token) != "YES") {
        }
    }
    m_strShape = tokens.NextTrimmed();
    m_nDataKind = ToInt(tokens.NextTrimmed());

    if (m_nDataKind == 1) {
        m_strStandardCode = tokens.NextTrimmed();
        m_strCatalogName = tokens.NextTrimmed();
        return true;
    }
    std::string_view token;
    while (tokens.NextToken(token))
        m_Dimensions.Add(ToReal(TrimView(token)));
    return true;
}

bool ThicknessRecord::Parse(const char* line)
{
    const BlankFreeLine blankFree(line);
    const std::string_view text = blankFree.View();
    if (text.empty())
        return false;  // blank line ends the block
    FieldTokenizer tokens(std::string_view(text), ",");
    m_nID = ToInt(tokens.NextTrimmed());
    m_strType = tokens.NextTrimmed();
    m_strExtra = tokens.NextTrimmed();
    m_dThickness = ToReal(tokens.NextTrimmed());
    m_nExtra = ToInt(tokens.NextTrimmed());
    return true;
}
