// The program's entry: the toolkit, then the game's start-up and its message loop.
#include "app/Startup.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (!Application().Initialize(argc, argv)) {
        std::fputs("Pathwarden needs a graphical display to run.\n", stderr);
        return 1;
    }
    try {
        return RunStartup(DefaultStartupSystem());
    } catch (const std::exception& error) {
        // Only a failure before any window exists gets here, such as no folder for the settings.
        std::fprintf(stderr, "Pathwarden: %s\n", error.what());
        ShowErrorBox(error.what());
        return 1;
    }
}
