#pragma once

#include <unistd.h>

// Owns a POSIX file descriptor and closes it when it goes.
class TFileHandle {
public:
    explicit TFileHandle(int fd)
        : FDescriptor(fd)
    {
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    TFileHandle(TFileHandle&& other) noexcept
        : FDescriptor(other.FDescriptor)
    {
        other.FDescriptor = -1;
    }
    TFileHandle& operator=(TFileHandle&&) = delete;
    ~TFileHandle()
    {
        if (FDescriptor >= 0)
            ::close(FDescriptor);
    }

    int Get() const { return FDescriptor; }
    explicit operator bool() const { return FDescriptor >= 0; }
    // Closing reports late write errors of some file systems, so its result counts.
    bool Close()
    {
        const int fd = FDescriptor;
        FDescriptor = -1;
        return ::close(fd) == 0;
    }

private:
    int FDescriptor;
};
