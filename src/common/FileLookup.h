#pragma once

#include <string>
#include <vector>

// The path of the entry called `name` in `folder`, comparing the letters A to Z without regard
// to case: the game asks for its files under names whose case differs from the shipped ones.
// An entry of exactly that name wins; among several that differ only in case, the one whose name
// sorts first is taken, so the answer never depends on the order of the folder's listing.
// When nothing matches, when the folder cannot be read, or when name is not a plain file name,
// the answer is folder + name, so that a caller's message shows the path it asked for.
// folder ends in a path delimiter (or is empty for the working folder).
std::string FindFileIgnoringCase(const std::string& folder, const std::string& name);

// The folders in which the desktop looks for shared data such as icons, in its order, each
// ending in a path delimiter: $XDG_DATA_HOME (else ~/.local/share), then the entries of
// $XDG_DATA_DIRS, or of defaultDirs (a list of the same colon-separated form) when that names
// none. Relative entries do not count.
std::vector<std::string> DesktopDataFolders(const std::string& defaultDirs);
