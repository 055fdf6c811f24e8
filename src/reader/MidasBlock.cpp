// The shared reading loop of every keyword block.
#include "MidasBlock.h"

bool MidasBlock::ReadBlock(LineStream& stream)
{
    std::string line;
    line.reserve(2048);
    for (;;) {
        if (!ReadDataLine(stream, line))
            return true;
        MidasRecord* record = CreateRecord(line.c_str());
        if (!record)
            return true;
        if (!record->Parse(line.c_str())) {
            // A rejected line (normally the blank line after the block) ends the block.
            delete record;
            return false;
        }
        m_Records.Add(record);
    }
}

bool MidasBlock::ReadDataLine(LineStream& stream, std::string& out)
{
    for (;;) {
        const std::int64_t lineStart = stream.Tell();
        if (!Profile().ReadLine(stream, out))
            break;
        if (Profile().EndsBlock(out)) {
            stream.Seek(lineStart);  // the driver reads this keyword line next
            break;
        }
        if (Profile().PassesOver(out))
            continue;
        return true;
    }
    out.clear();
    return false;
}
