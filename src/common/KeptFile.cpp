#include "common/KeptFile.h"

#include "common/FileRead.h"
#include "common/KelFileReplace.h"

#include <cerrno>
#include <cstdio>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// More names than any player leaves broken files: the search for a free one ends there.
constexpr int MaxSetAside = 1000;

// A rename that never replaces what is at to; where the file system cannot promise that, a look
// first. Answers 0 or the errno of the failure, EEXIST when to names something.
int RenameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    struct stat info { };
    if (::lstat(to.c_str(), &info) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

bool MakePrivateFolders(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

} // namespace

TTakenFile::TTakenFile(std::string path, std::string held, std::optional<std::string> text)
    : FPath(std::move(path))
    , FHeld(std::move(held))
    , FText(std::move(text))
{
}

TTakenFile::TTakenFile(TTakenFile&& other) noexcept
    : FPath(std::move(other.FPath))
    , FHeld(std::exchange(other.FHeld, {}))
    , FText(std::move(other.FText))
{
}

TTakenFile::~TTakenFile()
{
    SetAside();
}

std::optional<TTakenFile> TTakenFile::Take(const std::string& path, std::size_t maxBytes)
{
    std::string held = path + ".taken-" + std::to_string(::getpid());
    if (RenameNoReplace(path, held) != 0)
        return std::nullopt;
    // Not blocking, so that a pipe put in its place cannot hold the start up.
    const TFileHandle file(::open(held.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    std::optional<TFileContents> contents = ReadRegularFile(file, maxBytes);
    std::optional<std::string> text;
    if (contents)
        text = std::move(contents->Text);
    return TTakenFile(path, std::move(held), std::move(text));
}

void TTakenFile::Drop()
{
    if (!FHeld.empty())
        ::unlink(FHeld.c_str());
    FHeld.clear();
}

std::string TTakenFile::SetAside()
{
    if (FHeld.empty())
        return {};
    const std::string held = std::exchange(FHeld, {});
    for (int n = 1; n <= MaxSetAside; ++n) {
        std::string name = FPath + ".broken-" + std::to_string(n);
        const int error = RenameNoReplace(held, name);
        if (error == 0)
            return name;
        if (error != EEXIST)
            break;
    }
    return {};
}

bool WriteKeptFile(const std::string& path, std::string_view text)
{
    return MakePrivateFolders(path) && ReplaceFileContents(path, text, 0600) == 0;
}
