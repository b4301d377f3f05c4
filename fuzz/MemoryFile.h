#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Bytes as a file that a reader can open by name: an anonymous memory file. One that cannot
// hold all the bytes is not valid, so that a reader never sees a shortened input.
class TMemoryFile {
public:
    explicit TMemoryFile(std::span<const uint8_t> bytes)
        : Descriptor(memfd_create("vx8-fuzz", MFD_CLOEXEC))
    {
        std::size_t written = 0;
        while (Descriptor >= 0 && written < bytes.size()) {
            const ssize_t n = write(Descriptor, bytes.data() + written, bytes.size() - written);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                close(Descriptor);
                Descriptor = -1;
                break;
            }
            written += static_cast<std::size_t>(n);
        }
    }
    ~TMemoryFile()
    {
        if (Descriptor >= 0)
            close(Descriptor);
    }
    TMemoryFile(const TMemoryFile&) = delete;
    TMemoryFile& operator=(const TMemoryFile&) = delete;

    bool Valid() const { return Descriptor >= 0; }
    std::string Path() const { return "/proc/self/fd/" + std::to_string(Descriptor); }

private:
    int Descriptor;
};
