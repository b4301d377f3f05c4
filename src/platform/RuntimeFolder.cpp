#include "platform/RuntimeFolder.h"

#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

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

    const char* tmp = std::getenv("TMPDIR");
    std::string own = (tmp && tmp[0] == '/' ? std::string(tmp) : std::string("/tmp"));
    own += "/pathwarden-" + std::to_string(geteuid());
    // An existing folder is checked like a new one: whoever made it must be us, and it must be
    // closed to everyone else.
    mkdir(own.c_str(), 0700);
    return IsPrivateFolder(own) ? own + "/" : std::string();
}
