// Feeds arbitrary text to the INI reader and writer: the first three lines give a section, a key
// and a value, the rest is the file. After the value is set, reading the text back must give
// the value, and every other entry that could be read before must read as before.
#include "common/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t MaxNames = 12;

std::string_view TakeLine(std::string_view& text)
{
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return line;
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Folded(std::string_view s)
{
    const std::size_t first = s.find_first_not_of(" \t\r\v\f");
    if (first == std::string_view::npos)
        return {};
    s = s.substr(first, s.find_last_not_of(" \t\r\v\f") - first + 1);
    std::string folded(s);
    for (char& c : folded)
        c = Lower(c);
    return folded;
}

// Candidate section and key names: whatever stands between '[' and ']' or before '='.
void CollectNames(
    std::string_view text, std::vector<std::string>& sections, std::vector<std::string>& keys)
{
    while (!text.empty()) {
        const std::string_view line = TakeLine(text);
        const std::size_t open = line.find('[');
        const std::size_t close = line.find(']');
        if (open != std::string_view::npos && close != std::string_view::npos && open < close
            && sections.size() < MaxNames)
            sections.emplace_back(line.substr(open + 1, close - open - 1));
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && keys.size() < MaxNames)
            keys.emplace_back(line.substr(0, equals));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string section(TakeLine(input));
    const std::string key(TakeLine(input));
    const std::string value(TakeLine(input));
    const std::string_view text = input;
    if (!IsStorableIniEntry(section, key, value))
        return 0;

    const std::string written = SetIniValue(text, section, key, value);
    if (FindIniValue(written, section, key) != value)
        std::abort();
    std::vector<std::string> sections {section};
    std::vector<std::string> keys {key};
    CollectNames(text, sections, keys);
    for (const std::string& s : sections) {
        for (const std::string& k : keys) {
            if (Folded(s) == Folded(section) && Folded(k) == Folded(key))
                continue;
            if (FindIniValue(text, s, k) != FindIniValue(written, s, k))
                std::abort();
        }
    }
    return 0;
}
