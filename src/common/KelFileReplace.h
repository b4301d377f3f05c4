#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

// Replaces the file at path with bytes so that path always holds either the old or the new
// contents: the bytes go to a temporary file created exclusively in the same folder, named
// "NAME.tmp-XXXXXX" after the file, which is flushed to disk and then renamed over path. A path
// that is a symbolic link is replaced, not followed. Temporaries of that pattern left behind by
// a writer that died are removed on the way; one that a live writer holds is left alone.
// mode gives the new file's permission bits; without it the file keeps those of the regular file
// it replaces, or a new one (and one that replaces a link) gets 0666 less the umask.
// Returns 0, or the errno of the step that failed; a failure leaves no temporary file.
int ReplaceFileContents(
    const std::string& path, std::string_view bytes, std::optional<mode_t> mode = std::nullopt);

// The pattern's prefix for the file at path: "NAME.tmp-".
std::string TemporaryPrefix(const std::string& path);
