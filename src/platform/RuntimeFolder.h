#pragma once

#include <string>

// Whether path names a real folder (not a link) that belongs to this user and that no one else
// may enter.
bool IsPrivateFolder(const std::string& path);

// The folder for this user's lock files and sockets: $XDG_RUNTIME_DIR when it is a private
// folder, otherwise "pathwarden-<uid>" in the temporary folder ($TMPDIR, else /tmp), created with
// mode 0700 when missing. Empty when neither can be trusted, for example when another user has
// made a folder of that name first; the caller then goes on without what it wanted to keep there.
// Ends in a path delimiter when not empty.
std::string PrivateRuntimeFolder();
