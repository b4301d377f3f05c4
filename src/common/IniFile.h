#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// INI files read and written with the tolerance of the classic INI functions: section and key
// names compare without regard to the case of A to Z, blanks around names and values do not
// count, lines that are neither a section header, a key=value pair nor a comment (';' or '#') are
// skipped, and only the first matching section and the first matching key in it count. A value
// in matching single or double quotes loses them; a value ends at a NUL byte.

// The value of key in section of an INI text, or nothing when the section or the key is missing.
std::optional<std::string> FindIniValue(
    std::string_view text, std::string_view section, std::string_view key);

// An INI file read once, for any number of look-ups. A folder, a file that cannot be read or a
// file over 4 MiB reads as an empty file.
class TIniText {
public:
    explicit TIniText(const std::string& fileName);
    // The value of key in section, or nothing when the section or the key is missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

private:
    std::string FText;
};

// The value of key in section of the INI file, or nothing when the file, the section or the key
// is missing; one read of the file, as TIniText.
std::optional<std::string> ReadIniValue(
    std::string_view section, std::string_view key, const std::string& fileName);

// How many times a file's text has been read in this process; lets callers check that a query
// reads its file once.
std::size_t IniFileLoads();

// Whether the entry can be stored without breaking the file's lines: no line breaks or NUL bytes,
// non-empty names, no ']' in the section, no '=' in the key and no key that reads as a comment or
// a section header.
bool IsStorableIniEntry(std::string_view section, std::string_view key, std::string_view value);

// The text with key in section set to value and every other byte kept: the first matching key's
// value is replaced in place, or the key is added after the last non-blank line of the first
// matching section, or the section is added at the end. A value that reading would change
// (blanks at its ends, matching quotes around it) is stored in double quotes. The entry must be
// storable.
std::string SetIniValue(
    std::string_view text, std::string_view section, std::string_view key, std::string_view value);

// Sets key in section of the file, creating the missing folders and the file. The file is
// replaced atomically, and left untouched when it already holds the value; a symbolic link is
// followed, also when its target is missing, so the link survives. A file that cannot be read
// (also one over 4 MiB) is never replaced, and none is written over 4 MiB. False on any failure
// (an entry that is not storable, a file that cannot be read or written or would grow past
// 4 MiB), with the old file untouched and no temporary file left.
bool WriteIniString(std::string_view section, std::string_view key, std::string_view value,
    const std::string& fileName);

struct TIniEntry {
    std::string Key;
    std::string Value;
};
// WriteIniString for several keys of one section at once, in one replacement of the file.
bool WriteIniEntries(
    std::string_view section, const std::vector<TIniEntry>& entries, const std::string& fileName);
