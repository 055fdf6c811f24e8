// Shared pieces of the fuzz targets: a quiet message box, loud checks, reference conversions, the
// physical line count of an input, and the contract every kept record of each block satisfies.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>  // getpid, for a scratch file no other fuzzing process shares

#include "MIDAStranslatetoOrvo.h"
#include "reader/GeometryBlocks.h"
#include "reader/GroupBlocks.h"
#include "reader/LineStream.h"
#include "reader/LoadBlocks.h"
#include "reader/PropertyBlocks.h"
#include "translator/Translation.h"
#include "translator/WorkRecords.h"

// A broken property is a finding: say which and where, then abort so the fuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                       \
    do {                                                                                            \
        if (!(condition)) {                                                                         \
            std::fprintf(stderr, "fuzz check failed at %s:%d: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                           \
        }                                                                                           \
    } while (0)

// The translator behind the exported class: its reading entry point and working state.
struct TranslatorAccess {
    static void ReadText(Translation& t, const std::string& text)
    {
        LineStream stream;
        stream.OpenText(text);
        t.ReadStream(stream);
    }
    static const VersionBlock* Version(const Translation& t) { return t.m_Blocks.version.get(); }
    static const UnitBlock* Unit(const Translation& t) { return t.m_Blocks.unit.get(); }
    static const NodeBlock* Node(const Translation& t) { return t.m_Blocks.node.get(); }
    static const ElementBlock* Element(const Translation& t) { return t.m_Blocks.element.get(); }
    static const MaterialBlock* Material(const Translation& t) { return t.m_Blocks.material.get(); }
    static const SectionBlock* Section(const Translation& t) { return t.m_Blocks.section.get(); }
    static const ThicknessBlock* Thickness(const Translation& t) { return t.m_Blocks.thickness.get(); }
    static const GroupBlock* Group(const Translation& t) { return t.m_Blocks.group.get(); }
    static const ConstraintBlock* Constraint(const Translation& t) { return t.m_Blocks.constraint.get(); }
    static const FrameReleaseBlock* FrameRelease(const Translation& t) { return t.m_Blocks.frameRelease.get(); }
    static const LoadCaseBlock* LoadCase(const Translation& t) { return t.m_Blocks.loadCase.get(); }
    static const PooledArray<WorkNode>& Nodes(const Translation& t) { return t.m_NodeArray; }
    static const PooledArray<WorkLine>& Lines(const Translation& t) { return t.m_LineArray; }
    static const PooledArray<WorkPointLoad>& PointLoads(const Translation& t) { return t.m_PointLoadArray; }
    static const PooledArray<WorkLineLoad>& LineLoads(const Translation& t) { return t.m_LineLoadArray; }
};

namespace fuzz {

// Every input is read in both reading profiles: the classic layout and the one MIDAS writes today.
inline constexpr MidasReadingProfile kProfiles[] = {MidasReadingProfile::Classic, MidasReadingProfile::Current};

// Counts unit refusal messages instead of printing one per input.
inline int g_Messages = 0;
inline void CountMessage(const char*, void*) { ++g_Messages; }
inline void SilenceMessageBox()
{
    static const bool installed = (SetMessageBoxHandler(&CountMessage, nullptr), true);
    (void)installed;
}

inline std::string TextOf(const std::uint8_t* data, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

// How many physical lines the reader's stream yields for text (at most 511 bytes each). Each record of
// any block is made from at least one of them.
inline int PhysicalLines(const std::string& text)
{
    LineStream stream;
    stream.OpenText(text);
    std::string line;
    int count = 0;
    while (stream.ReadLine(line))
        ++count;
    return count;
}

// The same bytes in a file of this process, for the reader's file path; removed when the process ends.
inline const char* ScratchFile(const std::string& text)
{
    struct Scratch {
        std::string path = "/tmp/midas2orvo_fuzz_" + std::to_string(::getpid()) + ".mgt";
        ~Scratch() { std::remove(path.c_str()); }
    };
    static const Scratch scratch;
    std::FILE* file = std::fopen(scratch.path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(text.data(), 1, text.size(), file) == text.size());
    std::fclose(file);
    return scratch.path.c_str();
}

// Reference conversions the parsers must agree with: atoi clamped to int32 (strtoll saturates first)
// and strtod, both in the "C" locale on a NUL-terminated copy.
inline int ReferenceInt(std::string_view field)
{
    const std::string copy(field);
    const long long value = std::strtoll(copy.c_str(), nullptr, 10);
    return value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : int(value);
}
inline double ReferenceReal(std::string_view field)
{
    const std::string copy(field);
    return std::strtod(copy.c_str(), nullptr);
}
// Node coordinates within 1e-7 of zero are stored as exactly zero.
inline double Snapped(double value) { return std::fabs(value) <= 1e-07 ? 0.0 : value; }

// Same value, bit for bit (so -0.0 differs from 0.0), or both not a number.
inline bool SameReal(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A word cut out of a comma-separated field list holds no comma; after blank removal, no space either.
inline bool IsWord(std::string_view text, bool blanksRemoved = true)
{
    return text.find(',') == std::string_view::npos && (!blanksRemoved || text.find(' ') == std::string_view::npos);
}

inline bool IsLineMember(std::string_view type) { return type == "BEAM" || type == "TRUSS" || type == "TENSTR"; }

// The contract of a kept record of each block, whatever line it came from.

inline void CheckKept(const VersionRecord& r) { FUZZ_CHECK(!r.m_strVersion.empty()); }

inline void CheckKept(const UnitRecord& r)
{
    FUZZ_CHECK(IsWord(r.m_strForce) && IsWord(r.m_strLength) && IsWord(r.m_strHeat) && IsWord(r.m_strTemper));
}

inline void CheckKept(const NodeRecord& r)
{
    for (double coordinate : {r.m_dX, r.m_dY, r.m_dZ})
        FUZZ_CHECK(coordinate == 0.0 || !(std::fabs(coordinate) <= 1e-07));
}

inline void CheckKept(const ElementRecord& r)
{
    FUZZ_CHECK(IsWord(r.m_strType));
    if (IsLineMember(r.m_strType)) {
        FUZZ_CHECK(r.m_NodeIDs.Count == 2);  // both end nodes, even when a field is empty
    } else if (r.m_strType == "PLATE" || r.m_strType == "WALL") {
        for (int node : r.m_NodeIDs)
            FUZZ_CHECK(node > 0);
    } else {
        FUZZ_CHECK(r.m_NodeIDs.Count == 0);
    }
}

inline void CheckKept(const MaterialRecord& r)
{
    FUZZ_CHECK(IsWord(r.m_strType) && IsWord(r.m_strName) && IsWord(r.m_strStandardCode));
    if (r.m_nDataKind != 1)
        FUZZ_CHECK(r.m_strStandardCode.empty() && r.m_strGradeName.empty());
}

inline void CheckKept(const SectionRecord& r)
{
    FUZZ_CHECK(IsWord(r.m_strType) && IsWord(r.m_strName) && IsWord(r.m_strShape));
    if (r.m_nDataKind == 1)
        FUZZ_CHECK(r.m_Dimensions.Count == 0);
    else
        FUZZ_CHECK(r.m_strStandardCode.empty() && r.m_strCatalogName.empty());
}

inline void CheckKept(const ThicknessRecord& r) { FUZZ_CHECK(IsWord(r.m_strType) && IsWord(r.m_strExtra)); }

inline void CheckKept(const GroupRecord& r)
{
    // A group is kept only with a node or element list, and every listed number was stored.
    FUZZ_CHECK(r.m_NodeIDs.Count + r.m_ElementIDs.Count > 0);
    FUZZ_CHECK(IsWord(r.m_strName, false) && IsWord(r.m_strNodeList, false) && IsWord(r.m_strElementList, false));
}

inline void CheckKept(const ConstraintRecord& r) { FUZZ_CHECK(IsWord(r.m_strFlags, false)); }

inline void CheckKept(const FrameReleaseRecord& r)
{
    FUZZ_CHECK(IsWord(r.m_strPartial) && IsWord(r.m_strEndIFlags) && IsWord(r.m_strEndJFlags));
}

inline void CheckKept(const LoadCaseRecord& r)
{
    FUZZ_CHECK(IsWord(r.m_strName) && IsWord(r.m_strType) && IsWord(r.m_strDescription));
}

inline void CheckKept(const ConLoadRecord&) {}

inline void CheckKept(const BeamLoadRecord& r)
{
    FUZZ_CHECK(IsWord(r.m_strCommand) && IsWord(r.m_strType) && IsWord(r.m_strDir) && IsWord(r.m_strProjection));
}

// Every record of a block satisfies its contract; a block holds no more records than physical lines.
template <class Block>
void CheckBlock(const Block* block, int physicalLines)
{
    if (!block)
        return;
    FUZZ_CHECK(block->GetCount() <= physicalLines);
    for (int i = 0; i < block->GetCount(); ++i) {
        const auto* record = block->GetRecord(i);
        FUZZ_CHECK(record != nullptr);
        CheckKept(*record);
    }
}

} // namespace fuzz
