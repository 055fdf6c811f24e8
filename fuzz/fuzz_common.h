// Shared pieces of the fuzz targets: loud checks, reading a whole model in memory and from a file, and
// the contract every kept record of each block meets.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#if defined(_WIN32)
#include <filesystem>
#include <fstream>
#include <process.h>
#else
#include <unistd.h>
#endif

#include "MIDAStranslatetoOrvo.h"
#include "reader/LineStream.h"
#include "translator/Translation.h"

// A broken property is a finding: say which and where, then abort so that the fuzzer keeps the input.
#define FUZZ_CHECK(c) ((c) ? void() : fuzz::Fail(#c, __FILE__, __LINE__))

namespace fuzz {

[[noreturn]] inline void Fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "fuzz check failed at %s:%d: %s\n", file, line, what);
    std::abort();
}

// Whole models longer than this are passed over: small texts reach every block and keep the runs many
// per second (ci_fuzz.sh gives libFuzzer the same -max_len).
inline constexpr std::size_t kMaxModel = 8192;

inline constexpr MidasReadingProfile kProfiles[] = {MidasReadingProfile::Classic, MidasReadingProfile::Current};
// While fuzzing, a whole model is read in one profile, the current one for an odd length, so that twice
// as many inputs run (a mutation flips the profile as often as not); replaying seeds reads it in both.
inline std::span<const MidasReadingProfile> ProfilesFor([[maybe_unused]] std::size_t size)
{
#ifdef MIDAS2ORVO_FUZZ_REPLAY
    return kProfiles;
#else
    return std::span(kProfiles).subspan(size % 2, 1);
#endif
}

inline int g_Messages = 0;  // unit refusals, counted instead of shown
inline void Quiet() { SetMessageBoxHandler([](const char*, void*) { ++g_Messages; }, nullptr); }

inline void ReadText(Translation& t, std::string_view text)
{
    LineStream stream;
    stream.OpenText(std::string(text));
    t.ReadStream(stream);
}

// Physical lines the stream yields; each record of any block is made from at least one of them.
inline int PhysicalLines(std::string_view text)
{
    LineStream stream;
    stream.OpenText(std::string(text));
    int count = 0;
    for (std::string line; stream.ReadLine(line);)
        ++count;
    return count;
}

// The same bytes in a file of this process, for the reader's file route: in memory (/dev/shm) where
// there is one, unlinked at once and opened again through /dev/fd, so that an aborted run leaves nothing.
#if defined(_WIN32)
// Windows: a file of this process in the temporary directory, written afresh for each input.
inline const char* ScratchFile(std::string_view text)
{
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("midas2orvo_fuzz_" + std::to_string(_getpid()) + ".mgt")).string();
    static const int removeAtExit = std::atexit([] { std::remove(path.c_str()); });
    FUZZ_CHECK(removeAtExit == 0 && std::ofstream(path, std::ios::binary).write(text.data(), std::streamsize(text.size())));
    return path.c_str();
}
#else
inline const char* ScratchFile(std::string_view text)
{
    static const struct Scratch {
        std::string name = std::string(::access("/dev/shm", W_OK) ? "/tmp" : "/dev/shm") + "/midas2orvo_fuzz_XXXXXX";
        int fd = ::mkstemp(name.data());
        bool unlinked = fd >= 0 && ::unlink(name.c_str()) == 0;
        std::string path = "/dev/fd/" + std::to_string(fd);
    } scratch;
    FUZZ_CHECK(scratch.unlinked && ::ftruncate(scratch.fd, 0) == 0);
    FUZZ_CHECK(::pwrite(scratch.fd, text.data(), text.size(), 0) == ssize_t(text.size()));
    return scratch.path.c_str();
}
#endif

// A word cut out of a comma-separated list holds no comma; after blank removal (Words) no blank either.
inline bool Word(std::string_view s) { return s.find(',') == s.npos; }
template <class... Text>
bool Words(const Text&... s) { return ((Word(s) && std::string_view(s).find(' ') == std::string_view::npos) && ...); }
inline bool IsLineMember(std::string_view type) { return type == "BEAM" || type == "TRUSS" || type == "TENSTR"; }

// The contract of a kept record of each block, whatever line it came from.
inline void CheckKept(const VersionRecord& r) { FUZZ_CHECK(!r.m_strVersion.empty()); }
inline void CheckKept(const UnitRecord& r) { FUZZ_CHECK(Words(r.m_strForce, r.m_strLength, r.m_strHeat, r.m_strTemper)); }
inline void CheckKept(const NodeRecord& r)  // coordinates within 1e-7 of zero are stored as zero
{
    for (double c : {r.m_dX, r.m_dY, r.m_dZ})
        FUZZ_CHECK(c == 0.0 || !(std::fabs(c) <= 1e-07));
}
inline void CheckKept(const ElementRecord& r)  // a line member has its two end nodes, a plate its corners
{
    const bool plate = r.m_strType == "PLATE" || r.m_strType == "WALL";
    FUZZ_CHECK(Words(r.m_strType) && (IsLineMember(r.m_strType) ? r.m_NodeIDs.Count == 2 : plate || r.m_NodeIDs.Count == 0));
    for (int node : r.m_NodeIDs)
        FUZZ_CHECK(!plate || node > 0);
}
inline void CheckKept(const MaterialRecord& r)  // a standard and a grade only for a catalogue material
{
    FUZZ_CHECK(Words(r.m_strType, r.m_strName, r.m_strStandardCode));
    FUZZ_CHECK(r.m_nDataKind == 1 || (r.m_strStandardCode.empty() && r.m_strGradeName.empty()));
}
inline void CheckKept(const SectionRecord& r)  // dimensions or a catalogue name, never both
{
    FUZZ_CHECK(Words(r.m_strType, r.m_strName, r.m_strShape));
    FUZZ_CHECK(r.m_nDataKind == 1 ? r.m_Dimensions.Count == 0 : r.m_strStandardCode.empty() && r.m_strCatalogName.empty());
}
inline void CheckKept(const ThicknessRecord& r) { FUZZ_CHECK(Words(r.m_strType, r.m_strExtra)); }
inline void CheckKept(const GroupRecord& r)  // kept only with a list, every listed number stored
{
    FUZZ_CHECK(r.m_NodeIDs.Count + r.m_ElementIDs.Count > 0);
    FUZZ_CHECK(Word(r.m_strName) && Word(r.m_strNodeList) && Word(r.m_strElementList));
}
inline void CheckKept(const ConstraintRecord& r) { FUZZ_CHECK(Word(r.m_strFlags)); }
inline void CheckKept(const FrameReleaseRecord& r) { FUZZ_CHECK(Words(r.m_strPartial, r.m_strEndIFlags, r.m_strEndJFlags)); }
inline void CheckKept(const LoadCaseRecord& r) { FUZZ_CHECK(Words(r.m_strName, r.m_strType, r.m_strDescription)); }
inline void CheckKept(const ConLoadRecord&) {}
inline void CheckKept(const BeamLoadRecord& r) { FUZZ_CHECK(Words(r.m_strCommand, r.m_strType, r.m_strDir, r.m_strProjection)); }

} // namespace fuzz
