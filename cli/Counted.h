// A count with its noun in the right number: "1 point load", "2 point loads", "0 point loads".
#pragma once

#include <string>
#include <string_view>

inline std::string Counted(long long count, std::string_view one, std::string_view many)
{
    std::string text = std::to_string(count);
    text += ' ';
    text += count == 1 ? one : many;
    return text;
}
