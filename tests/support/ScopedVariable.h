#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

// Sets an environment variable for the owner's lifetime and then puts back what was there, so
// that a test leaves the process's environment as it found it, even when later tests of the same
// binary run in the same process. The test may change or clear the variable meanwhile.
class TScopedVariable {
public:
    TScopedVariable(std::string name, const std::string& value)
        : FName(std::move(name))
    {
        if (const char* before = std::getenv(FName.c_str()))
            FBefore = before;
        ::setenv(FName.c_str(), value.c_str(), 1);
    }
    ~TScopedVariable()
    {
        if (FBefore)
            ::setenv(FName.c_str(), FBefore->c_str(), 1);
        else
            ::unsetenv(FName.c_str());
    }
    TScopedVariable(const TScopedVariable&) = delete;
    TScopedVariable& operator=(const TScopedVariable&) = delete;

private:
    std::string FName;
    std::optional<std::string> FBefore;
};
