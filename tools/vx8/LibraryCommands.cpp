#include "Commands.h"
#include "LibraryAccess.h"
#include "PngFile.h"

#include "common/KelException.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

namespace {

bool EndsWith(const std::string& text, const std::string& end)
{
    if (text.size() < end.size()) {
        return false;
    }
    for (size_t i = 0; i < end.size(); ++i) {
        char c = text[text.size() - end.size() + i];
        if (std::tolower(static_cast<unsigned char>(c)) != end[i]) {
            return false;
        }
    }
    return true;
}

// The library's palette and the image's transparent index, as PNG chunks.
TIndexedPicture PngPicture(const TVX8Library& library, const TLibraryPicture& picture)
{
    TIndexedPicture png;
    png.Width = picture.Width;
    png.Height = picture.Height;
    const auto& palette = *library.FilePalette();
    for (size_t i = 0; i < 256; ++i) {
        png.Palette.push_back({palette[4 * i + 2], palette[4 * i + 1], palette[4 * i]});
    }
    if (picture.Transparent) {
        png.Alpha.assign(size_t {picture.TransparentIndex} + 1, 255);
        png.Alpha.back() = 0;
    }
    png.Pixels = picture.Pixels;
    return png;
}

} // namespace

int RunList(const std::vector<std::string>& args, std::ostream& out)
{
    TVX8Library library;
    library.Open(args[0], true);
    for (const TVX8RecordEntry& entry : library.Records()) {
        if (!IsDirectoryEntry(library, entry)) {
            continue;
        }
        std::string transparent
            = entry.Transparent ? std::to_string(entry.TransparentIndex) : std::string("-");
        char line[96];
        std::snprintf(line, sizeof line, "%-8s %5u %5u %3u %u %s\n", entry.Name.c_str(),
            entry.Width, entry.Height, entry.SegmentCount, entry.State, transparent.c_str());
        out << line;
    }
    return 0;
}

int RunExport(const std::vector<std::string>& args, std::ostream&)
{
    const std::string& outPath = args[2];
    bool png = EndsWith(outPath, ".png");
    if (!png && !EndsWith(outPath, ".raw")) {
        throw KelException("export: \"" + outPath + "\" must end in .png or .raw");
    }
    TVX8Library library;
    library.Open(args[0], true);
    TLibraryPicture picture = ReadLibraryPicture(library, args[1]);
    if (png) {
        WriteFileBytes(outPath, EncodeIndexedPng(PngPicture(library, picture), 9));
    } else {
        WriteFileBytes(outPath, picture.Pixels);
    }
    return 0;
}

int RunUnpack(const std::vector<std::string>& args, std::ostream&)
{
    TVX8Library library;
    library.Open(args[0], true);
    const std::filesystem::path folder = args[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw KelException(
            "unpack: cannot make the folder \"" + args[1] + "\": " + error.message());
    std::string list;
    for (const TVX8RecordEntry& entry : library.Records()) {
        if (!IsDirectoryEntry(library, entry))
            continue;
        // The name becomes a file name and a line of the list.
        if (entry.Name.starts_with(".") || entry.Name.find_first_of("/\n\r") != std::string::npos
            || entry.Name.find('=') != std::string::npos) {
            throw KelException(
                "unpack: image name \"" + entry.Name + "\" cannot be the name of a file");
        }
        const TLibraryPicture picture = ReadLibraryPicture(library, entry.Name);
        WriteFileBytes((folder / (entry.Name + ".png")).string(),
            EncodeIndexedPng(PngPicture(library, picture), 9));
        list += entry.Name + ".png\n";
    }
    WriteFileBytes((folder / "pack.list").string(), std::vector<uint8_t>(list.begin(), list.end()));
    return 0;
}

int RunCheck(const std::vector<std::string>& args, std::ostream& out)
{
    TVX8Library library;
    library.Open(args[0], true);
    const std::vector<TVX8RecordEntry>& entries = library.Records();
    int problems = 0;
    for (const TVX8RecordEntry& entry : entries) {
        std::string verdict = "ok";
        if (!IsDirectoryEntry(library, entry)) {
            verdict = "hidden by an earlier image of the same name; it can never be opened";
        } else {
            try {
                ReadLibraryPicture(library, entry.Name);
            } catch (const std::exception& e) {
                verdict = e.what();
            }
        }
        problems += verdict == "ok" ? 0 : 1;
        out << entry.Name << " (" << entry.Width << " x " << entry.Height << ", offset "
            << entry.Offset << "): " << verdict << "\n";
    }
    std::string problemText = std::to_string(problems) + (problems == 1 ? " problem" : " problems");
    out << entries.size() << (entries.size() == 1 ? " image, " : " images, ") << problemText
        << "\n";
    // Like every failure of the tool, problems end with a message on standard error.
    if (problems > 0) {
        throw KelException("check: " + problemText + " in \"" + args[0] + "\"");
    }
    return 0;
}
