// A small form that shows the window-system layer at work: the tiled background with the title
// drawn over it, the game's Start and Exit buttons from the program folder's picture library,
// a paint box continuing the background, and a label that tells what the mouse did.

#include "common/FileLookup.h"
#include "common/KelException.h"
#include "controls/KelButton.h"
#include "controls/VX8Tile.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/Label.h"
#include "platform/MessageBox.h"
#include "platform/PaintBox.h"
#include "platform/Screen.h"
#include "platform/Shell.h"
#include "surface/PBMInfo.h"
#include "vx8/VX8Library.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

class TDemoForm : public TForm {
public:
    explicit TDemoForm(const std::string& libraryFile)
    {
        SetCaption("Pathwarden platform demo");
        SetClientSize(517, 403);
        SetCentred(true);
        Library.Open(libraryFile, true);
        TTileBG::SetGlobalImageLibrary(&Library);
        TKelButton::SetGlobalImageLibrary(&Library);
        LoadCursorResource(1, HandPointCursorResource);
        LoadCursorResource(2, HandOpenCursorResource);

        Background.ApplyImageName("tile");
        Background.OnAfterPaint = [this](TCanvas& canvas, const TRect&) { PaintTitle(canvas); };
        Board.SetBounds(37, 104, 208, 208);
        Board.SetCursor(2);
        Board.OnPaint = [this](TCanvas& canvas) { PaintBoard(canvas); };
        Board.OnMouseDown = [this](TMouseButton, TShiftState, int32_t x, int32_t y) {
            Say("Board pressed at " + std::to_string(x) + ", " + std::to_string(y));
        };
        SetUpButton(Start, "cmdStart", "start", 299, 329);
        SetUpButton(Exit, "cmdExit", "exit", 299, 359);
        Start.ApplyEnabled(true);
        Status.SetBounds(273, 104, 208, 40);
        Status.Transparent = true;
        Status.Font = {"Sans", 14, MakeColour(255, 255, 160), true};
        Status.Format = {TTextAlign::Centre, true};
        Say("Press Start");
        OnMouseMove = [this](TShiftState, int32_t x, int32_t y) {
            SetCursor(x >= 71 && x < 446 && y >= 9 && y < 101 ? 1 : crDefault);
        };
        OnKeyPress = [this](char& key) { Say(std::string("Key ") + key); };
    }

private:
    void SetUpButton(TKelButton& button, const char* name, const char* image, int32_t x, int32_t y)
    {
        button.Name = name;
        button.SetBounds(x, y, 156, 28);
        button.SetCursor(1);
        button.ApplyImageName(image);
        button.OnClick = [this](TKelButton& sender) { Clicked(sender); };
    }

    void Clicked(TKelButton& sender)
    {
        const bool starting = &sender == &Start;
        Start.ApplyEnabled(!starting);
        Exit.ApplyEnabled(starting);
        Say(starting ? "Started: press Exit" : "Stopped: press Start");
    }

    void Say(const std::string& text) { Status.SetCaption(text); }

    // The title composed over the background's own tiles, so that its transparent parts
    // continue the background seamlessly.
    void PaintTitle(TCanvas& canvas)
    {
        if (Title == nullptr && Library.ImageExists("warden")) {
            TImageNode* picture = Library.OpenImage("warden");
            TVX8ImageData* source = Library.GetImageData(picture);
            TitleNode = Library.CreateImage("_TITLE_", source->Width, source->Height);
            Title = Library.GetImageData(TitleNode);
            Background.PaintTilesTo(*Title, TitleAt);
            Title->Draw({0, 0}, *source, source->Bounds());
            Library.ReleaseImage(picture);
        }
        if (Title == nullptr)
            return;
        const TDisplayPalette* previous = canvas.Handle().SelectPalette(Library.GetHPal(), false);
        Title->Display(canvas.Handle(), TitleAt, Title->Bounds());
        canvas.Handle().SelectPalette(previous, false);
    }

    void PaintBoard(TCanvas& canvas)
    {
        canvas.Brush = {MakeColour(20, 40, 30), TBrushStyle::Solid};
        canvas.FillRect(Board.ClientRect());
        canvas.Brush = {MakeColour(255, 255, 160), TBrushStyle::DiagCross};
        canvas.FillRect({8, 8, 200, 200});
        canvas.Brush.Style = TBrushStyle::Solid;
        canvas.FrameRect(Board.ClientRect());
    }

    TVX8Library Library;
    static constexpr TPoint TitleAt {71, 9};
    TImageNode* TitleNode = nullptr;
    TVX8ImageData* Title = nullptr;
    TTileBG Background {*this};
    TPaintBox Board {*this};
    TKelButton Start {*this};
    TKelButton Exit {*this};
    TLabel Status {*this};
};

} // namespace

int main(int argc, char** argv)
{
    Application().Title = "Pathwarden demo";
    if (!Application().Initialize(argc, argv)) {
        std::fprintf(stderr, "platform-demo: no display\n");
        return 1;
    }
    InitPBMInfo();
    std::string folder = ExecutablePath();
    folder = folder.substr(0, folder.rfind('/') + 1);
    try {
        TDemoForm form(FindFileIgnoringCase(folder, "warden.vx8"));
        Application().Run(form);
    } catch (const KelException& error) {
        ShowErrorBox(error.what());
        return 1;
    }
    return 0;
}
