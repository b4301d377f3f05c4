#pragma once

#include "game/FormWarden.h"
#include "play/GameTestSupport.h"
#include "support/TempFolder.h"

#include <memory>
#include <string>
#include <vector>

// A game window on the build's picture library, with a settings file of its own, driven by keys
// and by timer ticks that the test fires.
class TFormWardenFixture : public ::testing::Test {
protected:
    explicit TFormWardenFixture(const std::string& settings)
        : Settings(Folder.Write("Pathwarden.ini", settings))
    {
        Random.FallBack(TestSeed());
        Application().Title = "Pathwarden";
        Form = std::make_unique<TFormWarden>(
            TFormWardenHooks {PW_BUILD_DIR "/", nullptr, nullptr}, Random);
        Form->SettingsFile = [this] { return Settings; };
        if (Form->Play)
            Form->Play->Clock = [this] { return Now; };
    }

    TWardenGame& Game() { return Form->Play->Game; }
    // A key typed with its character, then let go.
    void Type(uint16_t key, TShiftState shift, char typed)
    {
        Form->KeyDown(key, shift);
        if (typed != 0)
            Form->KeyPress(typed);
        Form->KeyUp(key, shift);
    }
    void Ticks(int32_t n)
    {
        for (int32_t i = 0; i < n; ++i)
            Form->tmrWarden.Tick();
    }
    // The play board as the window shows it, and its surface as the screen would show it.
    std::vector<TColour> BoardOnScreen()
    {
        std::vector<TColour> pixels;
        const TRect r = Form->pbxBoard.BoundsRect();
        for (int32_t y = r.Top; y < r.Bottom; ++y)
            for (int32_t x = r.Left; x < r.Right; ++x)
                pixels.push_back(Form->BackingStore().Pixel(x, y));
        return pixels;
    }
    std::vector<TColour> SurfaceColours()
    {
        std::vector<TColour> pixels;
        for (const uint8_t index : PixelsOf(*Form->Images->PlayBoard))
            pixels.push_back(Form->Library->GetHPal()->ColourOf(index));
        return pixels;
    }

    TTempFolder Folder;
    std::string Settings;
    TScriptedRandom Random;
    // The game's clock, in milliseconds; it stands still unless the test moves it.
    int64_t Now = 0;
    std::unique_ptr<TFormWarden> Form;
};
