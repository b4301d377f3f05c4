#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// An open regular file read through an explicit position. Opening raises KelException naming
// the file and the system's reason (a FIFO, device or folder is refused without blocking); reads
// report a short read to the caller, who raises its own message.
class TVX8FileStream {
public:
    enum class TMode { ReadOnly, ReadWrite };

    TVX8FileStream(const std::string& path, TMode mode);
    ~TVX8FileStream();
    TVX8FileStream(const TVX8FileStream&) = delete;
    TVX8FileStream& operator=(const TVX8FileStream&) = delete;

    TMode Mode() const { return FMode; }
    int64_t Length() const;
    int64_t Position() const { return FOffset; }
    void Seek(int64_t position) { FOffset = position; }
    void Skip(int64_t count) { FOffset += count; }
    // Reads exactly count bytes at the position and advances past them; false when the file
    // ends first or the read fails (the position then stands after the bytes that did arrive).
    bool ReadExact(void* buffer, std::size_t count);

private:
    int FDescriptor;
    TMode FMode;
    int64_t FOffset = 0;
};

// Whether a file must be opened read-only: its mode grants no write permission, the caller may
// not write it, or its attributes cannot be read.
bool IsFileReadOnly(const std::string& path);
