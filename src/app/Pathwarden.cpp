// The program's entry: the toolkit, the game window, the message loop.
#include "common/KelException.h"
#include "app/Paths.h"
#include "game/FormWarden.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"

#include <cstdio>
#include <string>

namespace {

// Until the about window exists, the title picture answers with a few words about the game.
void ShowAboutStandIn()
{
    ShowMessageBox(std::string("Pathwarden ") + TFormWarden::VersionText
        + "\n\nTurn the columns and rows of the left board until it matches the picture on the "
          "right. Click the arrows, or type their letters and digits.");
}

} // namespace

int main(int argc, char** argv)
{
    if (!Application().Initialize(argc, argv)) {
        std::fputs("Pathwarden needs a graphical display to run.\n", stderr);
        return 1;
    }
    Application().Title = "Pathwarden";
    Randomize();
    try {
        SetPaths();
        TFormWarden form({ProgramFolder(), ShowAboutStandIn, nullptr}, ProcessRandom());
        form.SettingsFile = SettingsFileName;
        if (form.StartupFailed)
            return 1;
        Application().Run(form);
    } catch (const KelException& error) {
        ShowErrorBox(error.what());
        return 1;
    }
    return 0;
}
