// Parsers of the *GROUP, *CONSTRAINT and *FRAME-RLS blocks, and the two-line release reader.
#include "GroupBlocks.h"

#include "CurrentRecords.h"

#include "TextUtils.h"

bool GroupRecord::ParseIDList(const std::string& text, ValueArray<int>& list)
{
    if (text.empty())
        return false;
    FieldTokenizer tokens(TrimLeftView(text), " ");
    std::string_view token;
    while (tokens.NextToken(token))
        list.Add(ToInt(TrimView(token)));  // no ranges here: "1to10" is the single number 1
    return true;
}

bool GroupRecord::Parse(const char* line)
{
    if (!*line)
        return false;
    FieldTokenizer tokens(std::string_view(line), ",");
    m_strName = tokens.NextTrimmed();
    m_strNodeList = tokens.NextTrimmed();
    m_strElementList = tokens.NextTrimmed();
    const bool hasNodes = ParseIDList(m_strNodeList, m_NodeIDs);
    const bool hasElements = ParseIDList(m_strElementList, m_ElementIDs);
    // A name without lists (such as the next keyword line) ends the block.
    return hasNodes || hasElements;
}

bool ConstraintRecord::AddIdRange(const std::string& item) { return ::AddIdRange(item, m_NodeIDs); }

bool ConstraintRecord::SetFlags(const std::string& text)
{
    if (text.empty())
        return false;
    m_strFlags = text;
    return true;
}

template <class AddItem>
bool ConstraintRecord::ParseLine(const char* line, AddItem addItem)
{
    std::string_view work(line);
    std::string_view nodes, flags;
    if (work.empty() || !TakeCommaField(work, nodes))
        return false;  // blank line, or no comma after the node list
    nodes = TrimLeftView(nodes);
    work = TrimView(work);
    TakeCommaField(work, flags);  // the group field after it is not used

    FieldTokenizer tokens(nodes, " ");
    std::string_view token;
    while (tokens.NextToken(token))
        addItem(TrimView(token));
    SetFlags(std::string(flags));
    return true;
}

bool ConstraintRecord::Parse(const char* line)
{
    return ParseLine(line, [this](std::string_view item) { ::AddIdRange(item, m_NodeIDs); });
}

bool CurrentConstraintRecord::Parse(const char* line)
{
    return ParseLine(line, [this](std::string_view item) { m_NodeRanges.AddItem(item); });
}

bool FrameReleaseRecord::Parse(const char* line)
{
    const BlankFreeLine blankFree(line);
    const std::string_view text = blankFree.View();
    if (text.empty())
        return false;
    FieldTokenizer tokens(std::string_view(text), ",");
    m_nElementID = ToInt(tokens.NextTrimmed());
    // Newer files carry a partial-release field "YES"/"NO" between the element and the end-i flags.
    if (text.find("YES", 1) != std::string::npos || text.find("NO", 1) != std::string::npos)
        m_strPartial = tokens.NextTrimmed();
    m_strEndIFlags = tokens.NextTrimmed();
    // The end-i values stand between the two flag strings; the first token that is not "0" is end j.
    std::string_view token;
    while (tokens.NextToken(token)) {
        token = TrimView(token);
        if (token != "0") {
            m_strEndJFlags = token;
            break;
        }
    }
    return true;
}

bool FrameReleaseBlock::ReadDataLine(LineSource& lines, std::string& out)
{
    // Today's files write each release as exactly two physical lines, the second ending in a group
    // name; the classic layout ends a record at the first physical line that ends with ",".
    if (Layout().releasesOnTwoLines)
        return JoinTwoLines(lines, out);
    return JoinUntilComma(lines, out);
}

bool FrameReleaseBlock::JoinUntilComma(LineSource& lines, std::string& out)
{
    LineStream& stream = lines.Stream();
    out.clear();
    std::string physical;
    std::int64_t lineStart = stream.Tell();
    bool found = false;
    while ((found = stream.ReadLine(physical)) && !physical.empty() && physical[0] == ';') {
        lines.CountRaw(lineStart, stream.Tell(), physical);
        lineStart = stream.Tell();
    }
    if (!found)
        return false;
    m_nLineOffset = lineStart;

    // Offset of the first joined physical line that holds "*": a keyword line the join ran into; and the
    // data lines counted from there on, which the driver counts again when it reads them afresh.
    std::int64_t keywordLine = -1;
    int countedFromKeyword = 0;
    auto append = [&](std::string_view part, std::int64_t start) {
        if (out.size() + part.size() > kMaxJoined)
            part = part.substr(0, kMaxJoined - out.size());
        if (keywordLine < 0 && part.find('*') != std::string_view::npos)
            keywordLine = start;
        if (start >= 0 && lines.CountRaw(start, stream.Tell(), physical) && keywordLine >= 0)
            ++countedFromKeyword;
        out.append(part);
    };
    append(TrimLeftView(physical), lineStart);

    // A record ends with a line ending in ","; joining stops early at the length limit or the stream end.
    while (!(!out.empty() && (out.back() == ',' || out.front() == ',')) && out.size() < kMaxJoined) {
        append(",", -1);
        lineStart = stream.Tell();
        if (!stream.ReadLine(physical))
            break;
        append(TrimView(physical), lineStart);
    }

    if (keywordLine >= 0) {
        lines.Rewind(keywordLine, countedFromKeyword);  // the driver reads that keyword line next, cut afresh
        out.clear();
        return false;
    }
    return true;
}

bool FrameReleaseBlock::JoinTwoLines(LineSource& lines, std::string& out)
{
    if (!MidasBlock::ReadDataLine(lines, out))
        return false;
    if (TrimView(out).empty())
        return true;  // a blank line ends the block
    std::string second;
    if (!lines.Next(second))
        return true;
    if (Layout().EndsBlock(second) || TrimView(second).empty()) {
        lines.HandBack(second);  // a one-line record: the next line is read again
        return true;
    }
    out += ',';
    out += TrimView(second);
    return true;
}
