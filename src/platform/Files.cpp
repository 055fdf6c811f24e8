// Files by UTF-8 path with 64-bit offsets: open(2) and fseeko on Linux, _wfopen and _fseeki64 on Windows.
#if !defined(_WIN32)
#define _FILE_OFFSET_BITS 64  // a 64-bit off_t on 32-bit systems too
#endif
#include "Files.h"

#if defined(_WIN32)
#include "WideText.h"

#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace midas2orvo {

#if defined(_WIN32)

std::FILE* OpenRegularFile(const char* path, std::int64_t& size)
{
    const std::wstring wide = WidePath(path);
    // The attributes refuse a directory or device before it is opened; the handle's type then refuses
    // what the names hide (NUL, CON, a named pipe).
    const DWORD attributes = wide.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
        return nullptr;
    std::FILE* file = _wfopen(wide.c_str(), L"rb");
    if (!file)
        return nullptr;
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    LARGE_INTEGER bytes {};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &bytes)) {
        std::fclose(file);
        return nullptr;
    }
    size = bytes.QuadPart;
    return file;
}

bool SeekFile(std::FILE* file, std::int64_t offset) { return _fseeki64(file, offset, SEEK_SET) == 0; }

#else

std::FILE* OpenRegularFile(const char* path, std::int64_t& size)
{
    // Opened without blocking, so that a FIFO with no writer is refused at once instead of waiting.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    std::FILE* file = nullptr;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        file = ::fdopen(fd, "rb");
    if (!file) {
        ::close(fd);
        return nullptr;
    }
    size = std::int64_t(info.st_size);
    return file;
}

bool SeekFile(std::FILE* file, std::int64_t offset)
{
    static_assert(sizeof(off_t) >= sizeof(std::int64_t), "files past 2 GB need a 64-bit off_t");
    return ::fseeko(file, off_t(offset), SEEK_SET) == 0;
}

#endif

} // namespace midas2orvo
