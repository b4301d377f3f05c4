#include "common/FileLookup.h"

#include "common/KelStd.h"

#include <algorithm>
#include <cstdlib>
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

namespace {

// The absolute entries of a colon-separated list, each ending in a path delimiter.
std::vector<std::string> AbsoluteEntries(const std::string& list)
{
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(':', start), list.size());
        std::string entry = list.substr(start, end - start);
        if (entry.starts_with('/'))
            entries.push_back(entry.ends_with('/') ? entry : entry + '/');
        start = end + 1;
    }
    return entries;
}

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::vector<std::string> DesktopDataFolders(const std::string& defaultDirs)
{
    std::vector<std::string> folders;
    const std::string dataHome = Variable("XDG_DATA_HOME");
    const std::string home = Variable("HOME");
    if (dataHome.starts_with('/'))
        folders.push_back(dataHome.ends_with('/') ? dataHome : dataHome + '/');
    else if (home.starts_with('/'))
        folders.push_back(home + (home.ends_with('/') ? "" : "/") + ".local/share/");
    std::vector<std::string> shared = AbsoluteEntries(Variable("XDG_DATA_DIRS"));
    if (shared.empty())
        shared = AbsoluteEntries(defaultDirs);
    folders.insert(folders.end(), shared.begin(), shared.end());
    return folders;
}
