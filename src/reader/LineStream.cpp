// LineStream: buffered byte stream over a MIDAS text file with exact offsets for stepping back.
#include "LineStream.h"

#include "midas2orvo/Diagnostics.h"
#include "platform/Files.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t kChunk = 1 << 16;
}

LineStream::~LineStream()
{
    if (m_pFile)
        std::fclose(m_pFile);
}

bool LineStream::Open(const char* path)
{
    if (!path)
        return false;
    std::int64_t size = 0;
    std::FILE* file = midas2orvo::OpenRegularFile(path, size);
    if (!file)
        return false;
    // A file whose first read fails (an I/O error) is refused as well.
    std::string buffer(kChunk, '\0');
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file);
    if (got == 0 && std::ferror(file)) {
        std::fclose(file);
        return false;
    }
    if (m_pFile)
        std::fclose(m_pFile);
    m_pFile = file;
    m_nSize = size;
    m_bMemory = false;
    m_Buffer = std::move(buffer);
    m_nPos = 0;
    m_nEnd = got;
    m_pData = m_Buffer.data();
    m_nBufferStart = 0;
    m_nLineFeeds = 0;
    return true;
}

void LineStream::OpenText(std::string text)
{
    if (m_pFile)
        std::fclose(m_pFile);
    m_pFile = nullptr;
    m_bMemory = true;
    m_Buffer = std::move(text);
    m_nSize = std::int64_t(m_Buffer.size());
    m_nPos = 0;
    m_nEnd = m_Buffer.size();
    m_pData = m_Buffer.data();
    m_nBufferStart = 0;
    m_nLineFeeds = 0;
}

void LineStream::OpenView(const char* data, std::size_t size, std::int64_t offset, std::int64_t lineFeeds)
{
    if (m_pFile)
        std::fclose(m_pFile);
    m_pFile = nullptr;
    m_bMemory = true;
    m_Buffer.clear();
    m_pData = data;
    m_nSize = offset + std::int64_t(size);
    m_nPos = 0;
    m_nEnd = size;
    m_nBufferStart = offset;
    m_nLineFeeds = lineFeeds;
}

void LineStream::NoteProgress()
{
    if (m_pProgress && m_nBufferStart >= m_nNextProgress) {
        m_pProgress->Progress(m_nBufferStart, m_nSize);
        m_nNextProgress = m_nBufferStart + (std::int64_t(4) << 20);
    }
}

std::string_view LineStream::Ahead(std::size_t want)
{
    if (m_nEnd - m_nPos < want && !m_bMemory && m_pFile) {
        // Keep the bytes not yet read at the start of a buffer large enough, and read on behind them.
        const std::size_t kept = m_nEnd - m_nPos;
        std::memmove(m_Buffer.data(), m_Buffer.data() + m_nPos, kept);
        m_nBufferStart += std::int64_t(m_nPos);
        if (m_Buffer.size() < want)
            m_Buffer.resize(want);
        m_pData = m_Buffer.data();
        m_nPos = 0;
        m_nEnd = kept;
        NoteProgress();
        while (m_nEnd < want) {
            const std::size_t got = std::fread(m_Buffer.data() + m_nEnd, 1, m_Buffer.size() - m_nEnd, m_pFile);
            if (got == 0)
                break;
            m_nEnd += got;
        }
    }
    return {m_pData + m_nPos, std::min(m_nEnd - m_nPos, want)};
}

bool LineStream::Fill()
{
    if (m_bMemory || !m_pFile)
        return false;
    m_nBufferStart += std::int64_t(m_nEnd);
    m_nPos = 0;
    NoteProgress();
    m_pData = m_Buffer.data();
    m_nEnd = std::fread(m_Buffer.data(), 1, m_Buffer.size(), m_pFile);
    return m_nEnd > 0;
}

bool LineStream::Seek(std::int64_t offset)
{
    if (offset < 0)
        return false;
    if (offset >= m_nBufferStart && offset <= m_nBufferStart + std::int64_t(m_nEnd)) {
        const std::size_t pos = std::size_t(offset - m_nBufferStart);
        const char* data = m_pData;
        if (pos < m_nPos)
            m_nLineFeeds -= std::count(data + pos, data + m_nPos, '\n');
        else
            m_nLineFeeds += std::count(data + m_nPos, data + pos, '\n');
        m_nPos = pos;
        return true;
    }
    if (m_bMemory || !m_pFile)
        return false;
    // The line feeds between here and there, read from the file: as many bytes as reading on would take.
    const std::int64_t here = Tell();
    const std::int64_t from = std::min(here, offset);
    std::int64_t left = std::max(here, offset) - from;
    std::int64_t feeds = 0;
    if (!midas2orvo::SeekFile(m_pFile, from))
        return false;
    std::string chunk(kChunk, '\0');
    while (left > 0) {
        const std::size_t got = std::fread(chunk.data(), 1, std::size_t(std::min<std::int64_t>(left, kChunk)), m_pFile);
        if (got == 0)
            break;
        feeds += std::count(chunk.data(), chunk.data() + got, '\n');
        left -= std::int64_t(got);
    }
    if (!midas2orvo::SeekFile(m_pFile, offset))
        return false;
    m_nLineFeeds += offset < here ? -feeds : feeds;
    m_nBufferStart = offset;
    m_nPos = m_nEnd = 0;
    return true;
}

// Appends bytes up to and including the next line feed, at most maxBytes of them.
bool LineStream::ReadBytes(std::string& out, std::size_t maxBytes)
{
    out.clear();
    m_nLastRead = 0;
    m_bLineFeed = false;
    bool streamEnded = false;
    while (m_nLastRead < maxBytes) {
        if (m_nPos == m_nEnd && !Fill()) {
            streamEnded = true;
            break;
        }
        const std::size_t want = std::min(m_nEnd - m_nPos, maxBytes - m_nLastRead);
        const char* start = m_pData + m_nPos;
        const void* lf = std::memchr(start, '\n', want);
        const std::size_t take = lf ? std::size_t(static_cast<const char*>(lf) - start) + 1 : want;
        out.append(start, take);
        m_nPos += take;
        m_nLastRead += take;
        if (lf)
            break;
    }
    if (m_nLastRead == 0)
        return false;
    if (!out.empty() && out.back() == '\n') {
        m_bLineFeed = true;
        ++m_nLineFeeds;
        out.pop_back();
        if (!out.empty() && out.back() == '\r')
            out.pop_back();
    } else if (streamEnded && !out.empty() && out.back() == '\r') {
        out.pop_back();  // a file cut off between the CR and the LF of its last line
    }
    std::size_t nul = out.find('\0');
    if (nul != std::string::npos)
        out.resize(nul);
    return true;
}

bool LineStream::ReadLine(std::string& out, std::size_t maxBytes) { return ReadBytes(out, maxBytes); }

bool LineStream::ReadWholeLine(std::string& out)
{
    if (!ReadBytes(out, kMaxWholeLine))
        return false;
    if (m_nLastRead == kMaxWholeLine && !m_bLineFeed)
        SkipPastLineFeed();
    return true;
}

void LineStream::SkipPastLineFeed()
{
    while (m_nPos < m_nEnd || Fill()) {
        const char* start = m_pData + m_nPos;
        const void* lf = std::memchr(start, '\n', m_nEnd - m_nPos);
        if (lf) {
            m_nPos += std::size_t(static_cast<const char*>(lf) - start) + 1;
            ++m_nLineFeeds;
            return;
        }
        m_nPos = m_nEnd;
    }
}
