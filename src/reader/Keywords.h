// The keywords of the blocks the reader reads, in the order they are tested on each line.
#pragma once

#include <string_view>

#include "LayoutProfile.h"

struct BlockKeyword {
    std::string_view text;
    bool atStart;  // the keyword must begin the trimmed line
};

inline constexpr BlockKeyword kBlockKeywords[] = {
    // header and geometry
    {"*VERSION", false},
    {"*UNIT", false},
    {"*NODE", true},
    {"*ELEMENT", false},
    // properties
    {"*MATERIAL", false},
    {"*SECTION", false},
    {"*THICKNESS", false},
    // groups, supports and end releases
    {"*GROUP", false},
    {"*CONSTRAINT", false},
    {"*FRAME-RLS", false},
    // load cases
    {"*STLDCASE", true},
};

// Whether the trimmed line opens one of the blocks above.
inline bool IsBlockKeywordLine(std::string_view trimmed, const LayoutProfile& profile)
{
    for (const BlockKeyword& keyword : kBlockKeywords)
        if (profile.IsKeywordLine(trimmed, keyword.text, keyword.atStart))
            return true;
    return false;
}
