#pragma once

#include <string>

// Opens an address (a web page, a file) with the desktop's default handler; false when that
// could not be started.
bool OpenAddress(const std::string& address);

// The full path of the running program with symbolic links resolved; empty when the system
// cannot tell.
std::string ExecutablePath();

// The entry of folder whose name equals name without regard to the case of A to Z: the exact
// name when it exists, else the first such entry in name order, else folder + name.
std::string FindFileIgnoringCase(const std::string& folder, const std::string& name);
