#include "platform/RuntimeFolder.h"

#include <cstdlib>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string CacheFolder()
{
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && cache[0] == '/')
        return cache;
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? std::string(home) + "/.cache" : std::string();
}

} // namespace

bool IsPrivateFolder(const std::string& path)
{
    struct stat info { };
    return !path.empty() && path.front() == '/' && lstat(path.c_str(), &info) == 0
        && S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 0077) == 0;
}

std::string PrivateRuntimeFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && IsPrivateFolder(runtime))
        return std::string(runtime) + "/";

    const std::string cache = CacheFolder();
    if (cache.empty())
        return {};
    std::error_code error;
    std::filesystem::create_directories(cache, error);
    const std::string own = cache + "/pathwarden";
    // An existing folder is checked like a new one: whoever made it must be us, and it must be
    // closed to everyone else.
    mkdir(own.c_str(), 0700);
    return IsPrivateFolder(own) ? own + "/" : std::string();
}
