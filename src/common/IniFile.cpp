#include "common/IniFile.h"

#include "common/FileRead.h"
#include "common/KelFileReplace.h"
#include "common/KelStd.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

namespace fs = std::filesystem;

// Larger files are no settings files: refusing them keeps a wrong path from filling the memory and
// a bloated file from stalling every read.
constexpr std::size_t MaxIniFileSize = 4 * 1024 * 1024;
constexpr std::string_view Blanks = " \t\r\v\f";
constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view LineBreaksAndNul {"\r\n\0", 3};

enum class TLoadState { Loaded, Missing, Unreadable };

std::size_t LoadCount = 0;

struct TLoadedFile {
    TLoadState State = TLoadState::Missing;
    std::string Text;
    mode_t Mode = 0;
};

TLoadedFile NotLoaded(TLoadState state)
{
    TLoadedFile file;
    file.State = state;
    return file;
}

TLoadedFile LoadIniFile(const std::string& fileName)
{
    if (fileName.empty() || fileName.find('\0') != std::string::npos)
        return NotLoaded(TLoadState::Unreadable);
    // Non-blocking, so that a FIFO in place of the file cannot hang the open.
    TFileHandle file(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file)
        return NotLoaded(
            errno == ENOENT || errno == ENOTDIR ? TLoadState::Missing : TLoadState::Unreadable);
    std::optional<TFileContents> contents = ReadRegularFile(file, MaxIniFileSize);
    if (!contents)
        return NotLoaded(TLoadState::Unreadable);
    ++LoadCount;
    return {TLoadState::Loaded, std::move(contents->Text), contents->Mode};
}

bool IsBlank(char c)
{
    return Blanks.find(c) != std::string_view::npos;
}

std::string_view Trim(std::string_view s)
{
    std::size_t first = s.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(Blanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAsciiLetter(a[i]) != LowerAsciiLetter(b[i]))
            return false;
    }
    return true;
}

bool IsQuoted(std::string_view value)
{
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front();
}

enum class TLineKind { Blank, Other, Section, Entry };

// One line of the text; offsets point into the whole text.
struct TIniLine {
    TLineKind Kind = TLineKind::Other;
    std::size_t Next = 0; // start of the next line
    bool Terminated = false; // the line ends in a line break
    std::string_view Name; // trimmed section or key name
    std::size_t ValueBegin = 0; // trimmed value of an entry
    std::size_t ValueEnd = 0;
};

TIniLine ParseLine(std::string_view text, std::size_t begin)
{
    TIniLine line;
    std::size_t lineBreak = text.find('\n', begin);
    line.Terminated = lineBreak != std::string_view::npos;
    std::size_t end = line.Terminated ? lineBreak : text.size();
    line.Next = line.Terminated ? lineBreak + 1 : end;
    std::string_view content = text.substr(begin, end - begin);
    std::size_t first = content.find_first_not_of(Blanks);
    if (first == std::string_view::npos) {
        line.Kind = TLineKind::Blank;
        return line;
    }
    if (content[first] == ';' || content[first] == '#')
        return line;
    if (content[first] == '[') {
        std::size_t close = content.find(']', first);
        if (close != std::string_view::npos) {
            line.Kind = TLineKind::Section;
            line.Name = Trim(content.substr(first + 1, close - first - 1));
        }
        return line;
    }
    std::size_t equals = content.find('=');
    if (equals == std::string_view::npos || Trim(content.substr(0, equals)).empty())
        return line;
    line.Kind = TLineKind::Entry;
    line.Name = Trim(content.substr(0, equals));
    std::string_view value = content.substr(equals + 1);
    std::size_t valueFirst = value.find_first_not_of(Blanks);
    line.ValueBegin = begin + equals + 1;
    line.ValueEnd = line.ValueBegin;
    if (valueFirst != std::string_view::npos) {
        line.ValueBegin += valueFirst;
        line.ValueEnd += value.find_last_not_of(Blanks) + 1;
    }
    return line;
}

struct TKeyPlace {
    bool SectionFound = false;
    std::optional<TIniLine> Entry; // the first matching key of the first matching section
    std::size_t SectionEnd = 0; // just after the section's last non-blank line
    bool SectionEndTerminated = true;
};

TKeyPlace LocateKey(std::string_view text, std::string_view section, std::string_view key)
{
    TKeyPlace place;
    std::size_t pos = text.starts_with(Utf8Bom) ? Utf8Bom.size() : 0;
    while (pos < text.size()) {
        TIniLine line = ParseLine(text, pos);
        if (line.Kind == TLineKind::Section && place.SectionFound)
            break;
        if (line.Kind == TLineKind::Section && SameName(line.Name, section))
            place.SectionFound = true;
        if (place.SectionFound && line.Kind == TLineKind::Entry && SameName(line.Name, key)) {
            place.Entry = line;
            break;
        }
        if (place.SectionFound && line.Kind != TLineKind::Blank) {
            place.SectionEnd = line.Next;
            place.SectionEndTerminated = line.Terminated;
        }
        pos = line.Next;
    }
    return place;
}

// The line break that the text already uses, so that added lines match it.
std::string_view LineBreakOf(std::string_view text)
{
    std::size_t lineBreak = text.find('\n');
    return lineBreak != std::string_view::npos && lineBreak > 0 && text[lineBreak - 1] == '\r'
        ? "\r\n"
        : "\n";
}

std::string StoredValue(std::string_view value)
{
    bool changedByReading
        = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || IsQuoted(value));
    return changedByReading ? "\"" + std::string(value) + "\"" : std::string(value);
}

// The file that a write replaces: the end of a chain of symbolic links, also when that end does
// not exist yet, so that every link survives. A chain too long (or a loop) ends at a link, which
// then fails to load.
std::string WriteTarget(const std::string& fileName)
{
    constexpr int MaxLinks = 40;
    fs::path path = fileName;
    std::error_code error;
    for (int i = 0; i < MaxLinks && fs::is_symlink(path, error); ++i) {
        const fs::path link = fs::read_symlink(path, error);
        if (error)
            break;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return path.string();
}

} // namespace

std::optional<std::string> FindIniValue(
    std::string_view text, std::string_view section, std::string_view key)
{
    TKeyPlace place = LocateKey(text, Trim(section), Trim(key));
    if (!place.Entry)
        return std::nullopt;
    std::string_view value
        = text.substr(place.Entry->ValueBegin, place.Entry->ValueEnd - place.Entry->ValueBegin);
    if (IsQuoted(value))
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, value.find('\0')));
}

TIniText::TIniText(const std::string& fileName)
{
    TLoadedFile file = LoadIniFile(fileName);
    if (file.State == TLoadState::Loaded)
        FText = std::move(file.Text);
}

std::optional<std::string> TIniText::Value(std::string_view section, std::string_view key) const
{
    return FindIniValue(FText, section, key);
}

std::optional<std::string> ReadIniValue(
    std::string_view section, std::string_view key, const std::string& fileName)
{
    return TIniText(fileName).Value(section, key);
}

std::size_t IniFileLoads()
{
    return LoadCount;
}

bool IsStorableIniEntry(std::string_view section, std::string_view key, std::string_view value)
{
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty())
        return false;
    if (section.find_first_of(LineBreaksAndNul) != std::string_view::npos
        || key.find_first_of(LineBreaksAndNul) != std::string_view::npos
        || value.find_first_of(LineBreaksAndNul) != std::string_view::npos)
        return false;
    return section.find(']') == std::string_view::npos && key.find('=') == std::string_view::npos
        && key.front() != '[' && key.front() != ';' && key.front() != '#';
}

std::string SetIniValue(
    std::string_view text, std::string_view section, std::string_view key, std::string_view value)
{
    section = Trim(section);
    key = Trim(key);
    std::string result(text);
    std::string stored = StoredValue(value);
    TKeyPlace place = LocateKey(text, section, key);
    if (place.Entry) {
        result.replace(
            place.Entry->ValueBegin, place.Entry->ValueEnd - place.Entry->ValueBegin, stored);
        return result;
    }
    std::string lineBreak(LineBreakOf(text));
    std::string entry = std::string(key) + "=" + stored;
    if (place.SectionFound) {
        result.insert(
            place.SectionEnd, place.SectionEndTerminated ? entry + lineBreak : lineBreak + entry);
        return result;
    }
    if (!result.empty() && result.back() != '\n')
        result += lineBreak;
    result += "[" + std::string(section) + "]" + lineBreak + entry + lineBreak;
    return result;
}

bool WriteIniString(std::string_view section, std::string_view key, std::string_view value,
    const std::string& fileName)
{
    return WriteIniEntries(section, {{std::string(key), std::string(value)}}, fileName);
}

bool WriteIniEntries(
    std::string_view section, const std::vector<TIniEntry>& entries, const std::string& fileName)
{
    try {
        for (const TIniEntry& entry : entries)
            if (!IsStorableIniEntry(section, entry.Key, entry.Value))
                return false;
        std::string target = WriteTarget(fileName);
        TLoadedFile old = LoadIniFile(target);
        if (old.State == TLoadState::Unreadable)
            return false;
        // The rename would replace a read-only file; the classic writer refuses to touch it.
        bool exists = old.State == TLoadState::Loaded;
        if (exists && ::access(target.c_str(), W_OK) != 0)
            return false;
        std::string text = old.Text;
        for (const TIniEntry& entry : entries)
            text = SetIniValue(text, section, entry.Key, entry.Value);
        // A file that already says so keeps its inode and its time.
        if (exists && text == old.Text)
            return true;
        // Past the limit the reader would refuse the file, and with it every setting in it.
        if (text.size() > MaxIniFileSize)
            return false;
        fs::path folder = fs::path(target).parent_path();
        std::error_code error;
        if (!folder.empty())
            fs::create_directories(folder, error);
        if (error)
            return false;
        return ReplaceFileContents(
                   target, text, exists ? std::optional<mode_t>(old.Mode) : std::nullopt)
            == 0;
    } catch (const std::exception&) {
        return false;
    }
}
