// LineStream: buffered byte stream over a MIDAS text file with exact offsets for stepping back.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

class MidasDiagnostics;

// Reads physical lines as the classic layout cuts them: at most 511 bytes per read, stopping after a
// line feed. A read that ends in CR LF loses both bytes and one that ends in LF loses
// it (text-mode streams turn CR LF into LF, and real files are CR LF); a lone CR stays, except as the
// last byte of the file, which is a file cut off between CR and LF. A NUL byte ends the text of its
// line without moving the stream. Offsets are byte offsets into the file, so a reader
// can return to the start of any line it has read.
class LineStream {
public:
    static constexpr std::size_t kPhysicalLine = 511;
    // Longest whole line kept: real lines are far shorter, and a file cut off or written without line
    // feeds must not be read into memory whole.
    static constexpr std::size_t kMaxWholeLine = std::size_t(1) << 20;

    LineStream() = default;
    ~LineStream();
    LineStream(const LineStream&) = delete;
    LineStream& operator=(const LineStream&) = delete;

    // Opens a regular file for reading; false when it cannot be opened or read, or is not a regular file
    // (a directory, FIFO, socket or device). Never blocks on a FIFO.
    bool Open(const char* path);
    // Reads from a copy of text instead of a file (tests and fuzzing).
    void OpenText(std::string text);
    // Reads size bytes at data, which stay alive and unchanged while this stream reads them, as the bytes
    // of a file from offset on, whose line feeds before offset are lineFeeds (a piece of a larger text
    // read on another thread).
    void OpenView(const char* data, std::size_t size, std::int64_t offset, std::int64_t lineFeeds);

    // The bytes from Tell() on, at least want of them where the stream holds that many (fewer only at
    // its end); valid until the next read, Seek or Ahead.
    std::string_view Ahead(std::size_t want);
    // Moves bytes forward within what Ahead gave, past lineFeeds line feeds.
    void Skip(std::size_t bytes, std::int64_t lineFeeds)
    {
        m_nPos += bytes;
        m_nLineFeeds += lineFeeds;
    }

    // Reads one physical line of at most maxBytes bytes into out; false at the end of the stream.
    bool ReadLine(std::string& out, std::size_t maxBytes = kPhysicalLine);
    // Reads a whole line (up to the line feed) into out; false at the end of the stream. Of a line longer
    // than kMaxWholeLine bytes the first kMaxWholeLine are kept and the rest is passed over.
    bool ReadWholeLine(std::string& out);

    std::int64_t Tell() const { return m_nBufferStart + std::int64_t(m_nPos); }
    // Line feeds before Tell(): the physical line at Tell() is this plus 1.
    std::int64_t LineFeedsBefore() const { return m_nLineFeeds; }
    bool Seek(std::int64_t offset);
    // Size of the file in bytes (of the text for OpenText).
    std::int64_t Size() const { return m_nSize; }
    // Reports reading progress to sink every few megabytes (null: none).
    void SetProgress(MidasDiagnostics* sink) { m_pProgress = sink; }

private:
    bool Fill();
    void NoteProgress();
    bool ReadBytes(std::string& out, std::size_t maxBytes);
    void SkipPastLineFeed();

    std::FILE* m_pFile = nullptr;
    std::string m_Buffer;
    const char* m_pData = nullptr;  // m_Buffer's bytes, or those of a view
    std::size_t m_nPos = 0;
    std::size_t m_nEnd = 0;
    std::int64_t m_nBufferStart = 0;
    std::size_t m_nLastRead = 0;
    bool m_bLineFeed = false;  // the last read ended at a line feed
    bool m_bMemory = false;
    std::int64_t m_nSize = 0;
    MidasDiagnostics* m_pProgress = nullptr;
    std::int64_t m_nNextProgress = 0;
    std::int64_t m_nLineFeeds = 0;
};
