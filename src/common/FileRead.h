#pragma once

#include "common/KelFileHandle.h"

#include <cstddef>
#include <optional>
#include <string>
#include <sys/types.h>

// The whole contents of an open file and its permission bits; nothing when it is not a regular
// file, cannot be read, or holds more than maxBytes, also when it grows past them while read.
struct TFileContents {
    std::string Text;
    mode_t Mode = 0;
};
std::optional<TFileContents> ReadRegularFile(const TFileHandle& file, std::size_t maxBytes);
