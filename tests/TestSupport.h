// Shared helpers for the tests: reading model text, capturing messages, temporary files, long sweeps.
#pragma once

#include <gtest/gtest.h>
#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

#include <charconv>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "MIDAStranslatetoOrvo.h"
#include "System.h"  // UTF-8 paths
#include "reader/CurrentRecords.h"
#include "reader/LineStream.h"
#include "translator/Translation.h"

// Sweeps over large inputs run where the build has MIDAS2ORVO_LONG_TESTS on, and are skipped elsewhere.
#define SKIP_UNLESS_LONG_TESTS() \
    if (!MIDAS2ORVO_LONG_TESTS)  \
    GTEST_SKIP() << "a long sweep: configure with -DMIDAS2ORVO_LONG_TESTS=ON"

constexpr MidasReadingProfile kClassic = MidasReadingProfile::Classic, kCurrent = MidasReadingProfile::Current;

// The shortest text that reads back as exactly v.
inline std::string Num(double v) { char b[32]; return {b, std::to_chars(b, b + sizeof b, v).ptr}; }

// Reads text into the translator's blocks, as ReadMidasFile reads a file, in the profile set before.
inline void ReadText(Translation& t, const std::string& text) { LineStream stream; stream.OpenText(text), t.ReadStream(stream); }

// One translation of model text (or of the file at a path, which ReadMidasFile reads) into a host model.
struct Translated {
    Translation translator;
    ModalData_Orvo model;
    bool ok = false;
    explicit Translated(const std::string& text, MidasReadingProfile profile = kClassic, bool isPath = false)
    {
        translator.SetReadingProfile(profile);
        isPath ? void(ok = translator.ReadMidasFile(text.c_str())) : ReadText(translator, text);
        ok = (ok || !isPath) && translator.TranMidastoOrvo(model);
    }
};

// text, n times over.
inline std::string Times(int n, const std::string& text) { std::string out; while (n-- > 0) out += text; return out; }
// The numbers of a list, or the items of an ID list as written ("1 5to9by2"), separated by blanks.
inline std::string IdText(int id) { return std::to_string(id); }
inline std::string IdText(const IdRange& item) { return item.Text(); }
template <class List>
std::string Ids(const List& list) { std::string text; for (const auto& item : list) text += (text.empty() ? "" : " ") + IdText(item); return text; }

// Each row: a line and the parsed record as summary gives it, or "rejected" where Parse refuses the line.
template <class Record, class Summary>
void ExpectParsed(Summary summary, std::initializer_list<std::pair<const char*, std::string>> rows)
{
    for (const auto& [line, expected] : rows) {
        Record r;
        EXPECT_EQ(r.Parse(line) ? summary(r) : "rejected", expected) << '"' << line << '"';
    }
}

// Collects the texts of the message box while alive.
struct MessageCapture {
    MessageCapture() : previous(SetMessageBoxHandler(&Record, this)) {}
    ~MessageCapture() { SetMessageBoxHandler(previous, nullptr); }
    static void Record(const char* text, void* self) { static_cast<MessageCapture*>(self)->texts.push_back(text); }
    MessageBoxHandler previous;
    std::vector<std::string> texts;
};

#ifdef _WIN32  // the tests run without a desktop: what a message box would show goes to standard error
inline const auto g_Headless = SetMessageBoxHandler([](const char* text, void*) { std::fprintf(stderr, "%s\n", text); }, nullptr);
#endif

// A file in the temporary directory holding exactly the given bytes; removed with the object.
class TempFile {
public:
    explicit TempFile(const std::string& bytes, const std::string& name = "model.mgt")
    {
        static int counter = 0;
        const std::string file = "midas2orvo_" + std::to_string(getpid()) + "_" + std::to_string(++counter) + "_" + name;
        m_Path = std::filesystem::temp_directory_path() / file;
        std::ofstream(m_Path, std::ios::binary) << bytes;
    }
    ~TempFile() { std::filesystem::remove(m_Path); }
    std::string path() const { return m_Path.string(); }

private:
    std::filesystem::path m_Path;
};

// Directory of the real MIDAS files in UTF-8: $MIDAS2ORVO_REAL_MODELS when set, else the one shared with
// the project, or empty when this checkout has none.
inline std::string SharedModelsDir()
{
#ifdef _WIN32  // the environment as UTF-16, so that a folder named in any script arrives
    if (const wchar_t* dir = _wgetenv(L"MIDAS2ORVO_REAL_MODELS"); dir && *dir) return Utf8Text(dir);
#else
    if (const char* dir = std::getenv("MIDAS2ORVO_REAL_MODELS"); dir && *dir) return dir;
#endif
    for (const char* candidate : {MIDAS2ORVO_SOURCE_DIR "/../shared/real-models", "../shared/real-models"})
        if (std::filesystem::is_directory(candidate)) return candidate;
    return {};
}
