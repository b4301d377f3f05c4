#include "common/KelFileReplace.h"

#include "common/KelFileHandle.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view RandomPart = "XXXXXX";

fs::path FolderOf(const std::string& path)
{
    fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// A writer holds a lock on its temporary until the rename, so one that can be locked was left
// by a writer that died.
void RemoveStaleTemporaries(const std::string& path)
{
    const std::string prefix = TemporaryPrefix(path);
    std::error_code error;
    for (fs::directory_iterator it(FolderOf(path), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + RandomPart.size() || !name.starts_with(prefix))
            continue;
        TFileHandle file(
            ::open(it->path().c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
        struct stat info { };
        if (file && ::fstat(file.Get(), &info) == 0 && S_ISREG(info.st_mode)
            && ::flock(file.Get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(it->path().c_str());
    }
}

// The permissions of the regular file being replaced, else those a new file gets: a link is
// replaced, not followed, so its target's bits (a setuid program's, say) must not pass on.
mode_t DefaultMode(const std::string& path)
{
    struct stat info { };
    if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

int WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t count = ::write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return errno;
        if (count == 0)
            return EIO;
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return 0;
}

} // namespace

std::string TemporaryPrefix(const std::string& path)
{
    return fs::path(path).filename().string() + ".tmp-";
}

int ReplaceFileContents(const std::string& path, std::string_view bytes, std::optional<mode_t> mode)
{
    RemoveStaleTemporaries(path);
    std::string temporary
        = (FolderOf(path) / (TemporaryPrefix(path) + std::string(RandomPart))).string();
    TFileHandle file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file)
        return errno;
    int error = ::flock(file.Get(), LOCK_EX) == 0 ? 0 : errno;
    if (error == 0 && ::fchmod(file.Get(), (mode ? *mode : DefaultMode(path)) & 07777) != 0)
        error = errno;
    if (error == 0)
        error = WriteAll(file.Get(), bytes);
    if (error == 0 && ::fsync(file.Get()) != 0)
        error = errno;
    // Renamed while still locked and open, so no other writer can take it for a stale one.
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    file.Close();
    TFileHandle folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder)
        ::fsync(folder.Get()); // the rename is done; this only hastens it to the disk
    return 0;
}
