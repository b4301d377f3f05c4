#pragma once

#include "encoder/VX8Encoder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

struct TToolRun {
    int Status = -1;
    std::string Out;
    std::string Err;

    std::string LastErrLine() const
    {
        std::string text = Err;
        while (!text.empty() && text.back() == '\n') {
            text.pop_back();
        }
        return text.substr(text.rfind('\n') + 1);
    }
};

inline std::string DataFile(const std::string& name)
{
    return std::string(PW_TEST_DATA_DIR) + "/tools/" + name;
}

// Palette entry i of a library file as red, green, blue.
inline std::array<uint8_t, 3> LibraryColour(const std::vector<uint8_t>& file, size_t i)
{
    return {file[6 + 4 * i + 2], file[6 + 4 * i + 1], file[6 + 4 * i]};
}

// A listing with the state column as "?": which coding the encoder picks is its own business.
inline std::string WithoutState(const std::string& listing)
{
    std::string out;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        const size_t last = line.rfind(' ');
        const size_t state = line.rfind(' ', last - 1);
        out += line.substr(0, state + 1) + "?" + line.substr(last) + "\n";
    }
    return out;
}

inline std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Each test runs the built tool in a folder of its own.
class ToolTest : public ::testing::Test {
protected:
    static std::string Quoted(const std::string& word)
    {
        std::string text = "'";
        for (char c : word) {
            text += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        return text + "'";
    }

    // Runs the tool with args; prefix is shell text put before the command (limits, a timeout).
    TToolRun Run(const std::vector<std::string>& args, const std::string& prefix = "")
    {
        std::string command = prefix + Quoted(std::string(PW_BUILD_DIR) + "/vx8");
        for (const std::string& arg : args) {
            command += " " + Quoted(arg);
        }
        command += " >" + Quoted(Folder.Path("stdout")) + " 2>" + Quoted(Folder.Path("stderr"));
        int status = std::system(command.c_str());
        TToolRun run;
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.Out = Folder.Read("stdout");
        run.Err = Folder.Read("stderr");
        return run;
    }

    std::string Path(const std::string& name) const { return Folder.Path(name); }

    std::string WriteLibrary(const std::string& name, const std::vector<TVX8SourceImage>& images,
        const TVX8Palette& palette = RampPalette(0))
    {
        WriteLibraryFile(Path(name), palette, images);
        return Path(name);
    }

    static TVX8Palette RampPalette(int shift = 0)
    {
        TVX8Palette palette {};
        for (int i = 0; i < 256; ++i) {
            palette[4 * i] = static_cast<uint8_t>(i + shift);
            palette[4 * i + 1] = static_cast<uint8_t>(255 - i);
            palette[4 * i + 2] = static_cast<uint8_t>(i * 5);
        }
        return palette;
    }

    static TVX8SourceImage Picture(
        const std::string& name, uint16_t width, uint16_t height, uint32_t seed)
    {
        TVX8SourceImage image;
        image.Name = name;
        image.Width = width;
        image.Height = height;
        for (uint32_t i = 0; i < uint32_t {width} * height; ++i) {
            uint32_t x = i % width;
            image.Pixels.push_back(static_cast<uint8_t>((x / 5 + i / width / 3) * seed % 251));
        }
        return image;
    }

    TTempFolder Folder;
};
