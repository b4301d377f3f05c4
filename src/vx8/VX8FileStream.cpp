#include "vx8/VX8FileStream.h"

#include "common/KelException.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TVX8FileStream::TVX8FileStream(const std::string& path, TMode mode)
    : FMode(mode)
{
    // Non-blocking, so that a FIFO given as the file cannot hang the open; only a regular file
    // is taken.
    const int flags = (mode == TMode::ReadOnly ? O_RDONLY : O_RDWR) | O_NONBLOCK | O_CLOEXEC;
    do {
        FDescriptor = ::open(path.c_str(), flags);
    } while (FDescriptor < 0 && errno == EINTR);
    if (FDescriptor < 0)
        throw KelException("Cannot open file \"" + path + "\": " + std::strerror(errno));
    struct stat status { };
    const int statError = ::fstat(FDescriptor, &status) == 0 ? 0 : errno;
    if (statError != 0 || !S_ISREG(status.st_mode)) {
        ::close(FDescriptor);
        const std::string reason = statError != 0 ? std::strerror(statError)
            : S_ISDIR(status.st_mode)             ? std::strerror(EISDIR)
                                                  : "not a regular file";
        throw KelException("Cannot open file \"" + path + "\": " + reason);
    }
}

TVX8FileStream::~TVX8FileStream()
{
    ::close(FDescriptor);
}

int64_t TVX8FileStream::Length() const
{
    struct stat status { };
    if (::fstat(FDescriptor, &status) != 0)
        return 0;
    return static_cast<int64_t>(status.st_size);
}

bool TVX8FileStream::ReadExact(void* buffer, std::size_t count)
{
    if (FOffset < 0)
        return false;
    auto* target = static_cast<uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got
            = ::pread(FDescriptor, target + done, count - done, static_cast<off_t>(FOffset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
        FOffset += got;
    }
    return true;
}

bool IsFileReadOnly(const std::string& path)
{
    struct stat status { };
    if (::stat(path.c_str(), &status) != 0)
        return true;
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::access(path.c_str(), W_OK) != 0;
}
