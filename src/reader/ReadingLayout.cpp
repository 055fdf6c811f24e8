// The classic and current reading layouts.
#include "ReadingLayout.h"

#include "TextUtils.h"

const ReadingLayout& ReadingLayout::For(MidasReadingProfile profile)
{
    static constexpr ReadingLayout kClassic{false, false, false, false, false};
    static constexpr ReadingLayout kCurrent{true, true, true, true, true};
    return profile == MidasReadingProfile::Current ? kCurrent : kClassic;
}

bool ReadingLayout::ReadLine(LineStream& stream, std::string& out) const
{
    if (!current)
        return stream.ReadLine(out);
    // Whole lines; a line ending in "\" (trailing blanks aside) continues on the next, until the joined
    // line reaches the whole-line limit (a file of "\" lines must not become one line in memory).
    if (!stream.ReadWholeLine(out))
        return false;
    std::string next;
    for (;;) {
        std::string_view text = out;
        while (!text.empty() && IsBlank(static_cast<unsigned char>(text.back())))
            text.remove_suffix(1);
        if (text.empty() || text.back() != '\\' || out.size() >= LineStream::kMaxWholeLine ||
            !stream.ReadWholeLine(next))
            return true;
        out.resize(text.size() - 1);
        out += next;
    }
}

bool ReadingLayout::IsKeywordLine(std::string_view trimmed, std::string_view keyword, bool atStart) const
{
    if (!current)
        return atStart ? trimmed.substr(0, keyword.size()) == keyword : trimmed.find(keyword) != std::string_view::npos;
    // The keyword begins the trimmed line as a whole word: the end of the line, a ';' or a ',' follows,
    // optionally after blanks. "*SECTION MANAGER-GROUP & PART" and "*SECTION-SCALE" open nothing.
    if (trimmed.substr(0, keyword.size()) != keyword)
        return false;
    std::string_view rest = TrimLeftView(trimmed.substr(keyword.size()));
    return rest.empty() || rest[0] == ';' || rest[0] == ',';
}

bool ReadingLayout::PassesOver(std::string_view line) const
{
    // Classic: a comment only with ";" in the first byte; a blank line goes to the parser, which ends the
    // block. Script-written files put blank and comment lines inside blocks (between groups of members).
    if (!current)
        return !line.empty() && line[0] == ';';
    line = TrimLeftView(line);
    return line.empty() || line[0] == ';';
}

bool ReadingLayout::EndsBlock(std::string_view line) const
{
    if (!current)
        return false;
    line = TrimLeftView(line);
    return !line.empty() && (line[0] == '*' || (line[0] == ';' && line.find("End of data") != std::string_view::npos));
}

bool ReadingLayout::IsLoadBlockLine(std::string_view line, std::string_view keyword) const
{
    // Classic: tested on the line as read, leading blanks included.
    if (!current)
        return line.substr(0, keyword.size()) == keyword;
    return IsKeywordLine(TrimView(line), keyword, true);
}

bool IsDataLine(std::string_view line)
{
    line = TrimLeftView(line);
    return !line.empty() && line[0] != ';';
}

bool LineSource::Next(std::string& out)
{
    if (m_bPending) {
        m_bPending = false;
        out.swap(m_Pending);
        return true;
    }
    m_nOffset = m_Stream.Tell();
    m_nLine = m_Stream.LineFeedsBefore() + 1;
    if (!m_Layout.ReadLine(m_Stream, out))
        return false;
    m_bCounted = m_pLedger && CountRaw(m_nOffset, m_Stream.Tell(), out);
    return true;
}

bool LineSource::CountRaw(std::int64_t offset, std::int64_t end, std::string_view text)
{
    if (!m_pLedger || offset < m_nCountedTo)
        return false;
    m_nCountedTo = end;
    if (!IsDataLine(text))
        return false;
    m_pLedger->CountLine(offset);
    ++m_nCountedTotal;
    return true;
}

void LineSource::Consume(std::size_t bytes, std::int64_t lineFeeds, long long counted, long long firstCounted,
                         std::int64_t countedTo, bool lastCounted)
{
    m_Stream.Skip(bytes, lineFeeds);
    if (!m_pLedger)
        return;
    m_pLedger->CountLines(counted, firstCounted);
    m_nCountedTotal += counted;
    m_nCountedTo = countedTo;
    m_bCounted = lastCounted;
}

void LineSource::OpenRow(std::string keyword)
{
    if (!m_pLedger)
        return;
    if (m_bCounted) {
        m_pLedger->UncountLines(1);  // counted into the row before as a data line
        --m_nCountedTotal;
    }
    m_bCounted = false;
    m_pLedger->Open(std::move(keyword), m_nOffset, m_nLine);
}
