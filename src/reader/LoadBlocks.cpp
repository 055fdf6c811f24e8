// Parsers of the load case and load blocks: *STLDCASE, *CONLOAD and *BEAMLOAD.
#include "LoadBlocks.h"

#include "TextUtils.h"

bool LoadCaseRecord::Parse(const char* line)
{
    const BlankFreeLine blankFree(line);
    const std::string_view text = blankFree.View();
    if (text.empty())
        return false;  // blank line ends the block
    FieldTokenizer tokens(std::string_view(text), ",");
    m_strName = tokens.NextTrimmed();
    m_strType = tokens.NextTrimmed();
    m_strDescription = tokens.NextTrimmed();
    return true;
}

bool ConLoadRecord::Parse(const char* line)
{
    const BlankFreeLine blankFree(line);
    const std::string_view text = blankFree.View();
    if (text.empty())
        return false;  // blank line ends the block
    FieldTokenizer tokens(std::string_view(text), ",");
    m_nNode = ToInt(tokens.NextTrimmed());  // "12to15" loads node 12 only
    for (double* value : {&m_dFX, &m_dFY, &m_dFZ, &m_dMX, &m_dMY, &m_dMZ})
        *value = ToReal(tokens.NextTrimmed());
    return true;
}

bool BeamLoadRecord::Parse(const char* line)
{
    const BlankFreeLine blankFree(line);
    const std::string_view text = blankFree.View();
    if (text.empty())
        return false;  // blank line ends the block
    const std::size_t aDir = text.find("aDir");
    if (aDir == 0)
        return false;  // a line that starts with "aDir" is not a member load
    FieldTokenizer tokens(std::string_view(text), ",");
    m_nElement = ToInt(tokens.NextTrimmed());
    m_strCommand = tokens.NextTrimmed();
    m_strType = tokens.NextTrimmed();
    m_strDir = tokens.NextTrimmed();
    m_strProjection = tokens.NextTrimmed();
    if (aDir != std::string::npos) {
        // Long form: two further words before the distances and values.
        m_strExtra1 = tokens.NextTrimmed();
        m_strExtra2 = tokens.NextTrimmed();
    }
    for (double* value : {&m_dD1, &m_dP1, &m_dD2, &m_dP2, &m_dD3, &m_dP3, &m_dD4, &m_dP4})
        *value = ToReal(tokens.NextTrimmed());
    return true;
}
