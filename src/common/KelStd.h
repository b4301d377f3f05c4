#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Milliseconds of the system's steady clock.
int64_t SteadyMilliseconds();

// Low if V < Low, otherwise High if V > High, otherwise V (the lower bound is tested first).
int32_t Clamp(int32_t v, int32_t low, int32_t high);

// True when sub occurs in s, comparing exactly; false for an empty sub.
bool TextContains(std::string_view sub, std::string_view s);

// The value of key in section of the INI file, or the default when the file, the section or the
// key is missing; at most 254 characters. Never throws: any failure gives empty text.
std::string ReadIniString(const std::string& section, const std::string& key,
    const std::string& defaultValue, const std::string& fileName);

// c lowered when it is one of the letters A to Z, else unchanged.
char LowerAsciiLetter(char c);

// Image names: the letters A to Z lowered and no other byte changed. The short form also keeps
// at most the first 8 characters.
std::string LowerShortName(std::string_view name);
std::string LowerNameText(std::string_view name);

// The first 8 characters of an image name, as every operation on names takes it.
std::string ShortName(std::string_view name);
