#include "app/KelStd.h"

namespace {

constexpr std::size_t ShortNameLength = 8;

char LowerAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

int32_t Clamp(int32_t v, int32_t low, int32_t high)
{
    if (v < low)
        return low;
    if (v > high)
        return high;
    return v;
}

bool TextContains(std::string_view sub, std::string_view s)
{
    return !sub.empty() && s.find(sub) != std::string_view::npos;
}

std::string LowerNameText(std::string_view name)
{
    std::string lowered(name);
    for (char& c : lowered)
        c = LowerAsciiLetter(c);
    return lowered;
}

std::string ShortName(std::string_view name) { return std::string(name.substr(0, ShortNameLength)); }

std::string LowerShortName(std::string_view name) { return LowerNameText(ShortName(name)); }
