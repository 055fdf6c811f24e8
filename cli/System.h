// What mgt2orvo needs from the operating system, on Linux and on Windows: the command line and the
// console in UTF-8, temporary files, terminals and memory figures.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// A UTF-8 path as the file system takes it (on Windows: UTF-16, whatever the ANSI code page).
inline std::filesystem::path Utf8Path(std::string_view text) { return std::u8string(text.begin(), text.end()); }

// A path's text in UTF-8.
inline std::string Utf8Text(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The program's arguments in UTF-8. On Windows they are taken from the system's UTF-16 command line, so
// that any file name arrives whatever the ANSI code page.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Standard input and output carry bytes unchanged, and a console shows UTF-8 (Windows; elsewhere they
// already do).
void PrepareStandardStreams();

// Creates an empty temporary file and opens it for writing; path gets its UTF-8 path. Null when it cannot.
std::FILE* CreateTemporaryFile(std::string& path);

bool IsTerminal(std::FILE* stream);

// The process's resident memory now and the most it has held, in bytes (0 where unknown).
double ResidentBytes();
double PeakResidentBytes();
