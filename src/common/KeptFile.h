#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// A file that the program keeps between runs, taken out of its place to be read once: moved to a
// name of this process's own first, so that of two processes that take it at once only one
// gets it, and so that it is gone from its place even when the reader dies before it is done.
// Whatever was taken and is neither dropped nor set aside is set aside when the taker goes.
class TTakenFile {
public:
    // Nothing when path names nothing, or when another process took it first. A link or anything
    // but a regular file at path is taken too, and then has no text; so has a file of more than
    // maxBytes. No link is followed.
    static std::optional<TTakenFile> Take(const std::string& path, std::size_t maxBytes);

    TTakenFile(TTakenFile&& other) noexcept;
    TTakenFile(const TTakenFile&) = delete;
    TTakenFile& operator=(const TTakenFile&) = delete;
    TTakenFile& operator=(TTakenFile&&) = delete;
    ~TTakenFile();

    const std::optional<std::string>& Text() const { return FText; }
    // Removes what was taken.
    void Drop();
    // Moves what was taken to "PATH.broken-N" with the first N from 1 that names nothing, so
    // that no earlier one is replaced; answers that name, or an empty one when none was free.
    std::string SetAside();

private:
    TTakenFile(std::string path, std::string held, std::optional<std::string> text);

    std::string FPath;
    // The name it was moved to; empty once dropped or set aside.
    std::string FHeld;
    std::optional<std::string> FText;
};

// Writes a kept file as ReplaceFileContents does, readable by its owner only, creating the
// folders that lead to it with mode 0700; answers whether it is written.
bool WriteKeptFile(const std::string& path, std::string_view text);
