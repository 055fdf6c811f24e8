// What mgt2orvo needs from the operating system: Linux (/proc, getrusage) and Windows (Win32) forms.
#include "System.h"

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <psapi.h>
#include <shellapi.h>
#else
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>
#endif

#if defined(_WIN32)

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(Utf8Text(std::filesystem::path(wide[i])));
    LocalFree(wide);
    return arguments;
}

void PrepareStandardStreams()
{
    _setmode(_fileno(stdin), _O_BINARY);  // a model's CR LF and any 0x1A byte arrive as they are
    _setmode(_fileno(stdout), _O_BINARY);  // the same bytes as on Linux, also in a file
    SetConsoleOutputCP(CP_UTF8);
    // The progress line rewrites itself with a terminal escape.
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(error, &mode))
        SetConsoleMode(error, mode | 0x0004 /* ENABLE_VIRTUAL_TERMINAL_PROCESSING */);
}

std::FILE* CreateTemporaryFile(std::string& path)
{
    wchar_t directory[MAX_PATH + 1];
    wchar_t name[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, directory);
    if (length == 0 || length > MAX_PATH || GetTempFileNameW(directory, L"mgt", 0, name) == 0)
        return nullptr;
    std::FILE* file = _wfopen(name, L"wb");
    if (file)
        path = Utf8Text(std::filesystem::path(name));
    else
        DeleteFileW(name);
    return file;
}

bool IsTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

namespace {
PROCESS_MEMORY_COUNTERS MemoryCounters()
{
    PROCESS_MEMORY_COUNTERS counters {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        counters = {};
    return counters;
}
} // namespace

double ResidentBytes() { return double(MemoryCounters().WorkingSetSize); }

double PeakResidentBytes() { return double(MemoryCounters().PeakWorkingSetSize); }

#else

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

void PrepareStandardStreams() {}

std::FILE* CreateTemporaryFile(std::string& path)
{
    const char* dir = std::getenv("TMPDIR");
    std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/mgt2orvo-stdin-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
        return nullptr;
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        std::remove(pattern.c_str());
        return nullptr;
    }
    path = pattern;
    return file;
}

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

// The second number of /proc/self/statm: resident pages.
double ResidentBytes()
{
    long pages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%*s %ld", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    return double(pages) * double(sysconf(_SC_PAGESIZE));
}

double PeakResidentBytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) * 1024.0;  // ru_maxrss is in KiB on Linux
}

#endif
