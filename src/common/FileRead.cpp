#include "common/FileRead.h"

#include <array>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

std::optional<TFileContents> ReadRegularFile(const TFileHandle& file, std::size_t maxBytes)
{
    struct stat info { };
    if (!file || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)
        || static_cast<std::size_t>(info.st_size) > maxBytes)
        return std::nullopt;
    TFileContents contents {{}, info.st_mode};
    // In chunks, so that a small file costs no buffer of the largest size.
    std::array<char, 16 * 1024> chunk {};
    for (;;) {
        const ssize_t got = ::read(file.Get(), chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 || contents.Text.size() + static_cast<std::size_t>(got) > maxBytes)
            return std::nullopt;
        if (got == 0)
            return contents;
        contents.Text.append(chunk.data(), static_cast<std::size_t>(got));
    }
}
