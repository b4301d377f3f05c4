#include "vx8/VX8FileStream.h"

#include "common/KelException.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TVX8FileStream::TVX8FileStream(const std::string& path, TMode mode)
    : OpenMode(mode)
{
    const int flags = (mode == TMode::ReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    do {
        Descriptor = ::open(path.c_str(), flags);
    } while (Descriptor < 0 && errno == EINTR);
    if (Descriptor < 0)
        throw KelException("Cannot open file \"" + path + "\": " + std::strerror(errno));
    struct stat status { };
    if (::fstat(Descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
        const int reason = S_ISDIR(status.st_mode) ? EISDIR : errno;
        ::close(Descriptor);
        throw KelException("Cannot open file \"" + path + "\": " + std::strerror(reason));
    }
}

TVX8FileStream::~TVX8FileStream()
{
    ::close(Descriptor);
}

int64_t TVX8FileStream::Length() const
{
    struct stat status { };
    if (::fstat(Descriptor, &status) != 0)
        return 0;
    return static_cast<int64_t>(status.st_size);
}

bool TVX8FileStream::ReadExact(void* buffer, std::size_t count)
{
    if (Offset < 0)
        return false;
    auto* target = static_cast<uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got
            = ::pread(Descriptor, target + done, count - done, static_cast<off_t>(Offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
        Offset += got;
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
