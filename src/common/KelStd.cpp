#include "common/KelStd.h"

#include "common/IniFile.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr std::size_t ShortNameLength = 8;
// The classic reader answers into 255 characters with the terminator.
constexpr std::size_t MaxIniAnswerLength = 254;

} // namespace

char LowerAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

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

std::string ReadIniString(const std::string& section, const std::string& key,
    const std::string& defaultValue, const std::string& fileName)
{
    // Any failure, even running out of memory, only means no value: the caller goes on with
    // empty text.
    try {
        std::string answer = ReadIniValue(section, key, fileName).value_or(defaultValue);
        answer.resize(std::min(answer.size(), MaxIniAnswerLength));
        return answer;
    } catch (...) {
        return {};
    }
}

std::string LowerNameText(std::string_view name)
{
    std::string lowered(name);
    for (char& c : lowered)
        c = LowerAsciiLetter(c);
    return lowered;
}

std::string ShortName(std::string_view name)
{
    return std::string(name.substr(0, ShortNameLength));
}

std::string LowerShortName(std::string_view name)
{
    return LowerNameText(ShortName(name));
}

int64_t SteadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
