#pragma once

#include <string>

// Whether path names a real folder (not a link) that belongs to this user and that no one else
// may enter.
bool IsPrivateFolder(const std::string& path);

// The folder for this user's lock files and sockets: $XDG_RUNTIME_DIR when it is a private
// folder, otherwise "pathwarden" in the user's cache folder ($XDG_CACHE_HOME, else
// $HOME/.cache), created with mode 0700 when missing. Never a name in a folder that other users
// share: one of them could make it first. Empty when neither can be trusted, for example when the
// folder of that name is a link or open to others; the caller then goes on without what it
// wanted to keep there. Ends in a path delimiter when not empty.
std::string PrivateRuntimeFolder();
