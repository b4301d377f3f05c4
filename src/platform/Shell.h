#pragma once

// Finding a program file without regard to case belongs with the files: FindFileIgnoringCase.
#include "common/FileLookup.h"

#include <string>

// Opens an address (a web page, a file) with the desktop's default handler; false when that
// could not be started.
bool OpenAddress(const std::string& address);

// The full path of the running program with symbolic links resolved; empty when the system
// cannot tell.
std::string ExecutablePath();
