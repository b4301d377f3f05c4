#include "common/FileLookup.h"

#include "common/KelStd.h"

#include <memory>

#include <dirent.h>
#include <sys/stat.h>

namespace {

struct TDirClose {
    void operator()(DIR* dir) const { closedir(dir); }
};

bool SameIgnoringCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        if (LowerAsciiLetter(a[i]) != LowerAsciiLetter(b[i]))
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

bool PlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos
        && name.find('\0') == std::string::npos;
}

} // namespace

std::string FindFileIgnoringCase(const std::string& folder, const std::string& name)
{
    std::string asked = folder + name;
    struct stat info { };
    if (!PlainName(name) || lstat(asked.c_str(), &info) == 0)
        return asked;
    const std::unique_ptr<DIR, TDirClose> dir(opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir)
        return asked;
    std::string best;
    while (const dirent* entry = readdir(dir.get())) {
        if (SameIgnoringCase(name, entry->d_name) && (best.empty() || best > entry->d_name))
            best = entry->d_name;
    }
    return best.empty() ? asked : folder + best;
}
