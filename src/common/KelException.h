#pragma once

#include <stdexcept>
#include <string>

// The program's own error: every failure it raises on purpose is one of these, carrying the
// message that the player or the tool's user sees.
class KelException : public std::runtime_error {
public:
    explicit KelException(const std::string& message)
        : std::runtime_error(message)
    {
    }
};

// Failures of the image library, the image records and the drawing surfaces.
class VX8Exception : public KelException {
public:
    explicit VX8Exception(const std::string& message)
        : KelException(message)
    {
    }
};
