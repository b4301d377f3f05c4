#pragma once

#include "play/BackgroundTask.h"
#include "play/WardenPlay.h"
#include "puzzle/ScriptedRandom.h"
#include "surface/PBMInfo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

inline uint8_t PixelOf(TVX8ImageData& surface, int32_t x, int32_t y)
{
    const uint8_t value = *surface.StartLine(x, y);
    surface.UnlockSegment(x, y);
    return value;
}

inline std::vector<uint8_t> PixelsOf(TVX8ImageData& surface)
{
    std::vector<uint8_t> pixels;
    for (int32_t y = 0; y < surface.Height; ++y)
        for (int32_t x = 0; x < surface.Width; ++x)
            pixels.push_back(PixelOf(surface, x, y));
    return pixels;
}

// Whether every opaque pixel of the source rectangle shows on the surface at p (clipped).
inline bool Shows(TVX8ImageData& surface, TPoint p, TVX8ImageData& source, TRect r)
{
    for (int32_t y = r.Top; y < r.Bottom; ++y)
        for (int32_t x = r.Left; x < r.Right; ++x) {
            const int32_t sx = p.X + x - r.Left, sy = p.Y + y - r.Top;
            const uint8_t v = PixelOf(source, x, y);
            if (sx < surface.Width && sy < surface.Height && v != source.TransparentKey()
                && PixelOf(surface, sx, sy) != v)
                return false;
        }
    return true;
}

// A window stand-in: records every picture shown on a board, the timer and the buttons.
class TRecordingScreen : public TWardenScreen {
public:
    struct TShown {
        TBoardKind Kind;
        bool Frame; // an animation frame rather than the board's own surface
        std::vector<uint8_t> Pixels;
    };
    explicit TRecordingScreen(const TGameImages& images)
        : Images(images)
    {
    }

    TPoint BoardPosition(TBoardKind kind) const override
    {
        return kind == TBoardKind::Play ? TPoint {37, 104} : TPoint {273, 104};
    }
    void ShowBoard(TBoardKind kind, TVX8ImageData* s) override
    {
        Shown.push_back({kind, s != Images.PlayBoard && s != Images.PreviewBoard, PixelsOf(*s)});
    }
    void StartGameTimer(uint32_t interval) override { Interval = interval, TimerOn = true; }
    void StopGameTimer() override { TimerOn = false; }
    void EnableControls(bool idle) override { Idle = idle; }
    void WindowCommand(const TCommand& command) override
    {
        if (OnWindowCommand)
            OnWindowCommand(command);
    }

    const TGameImages& Images;
    std::vector<TShown> Shown;
    bool TimerOn = false;
    uint32_t Interval = 0;
    bool Idle = false;
    std::function<void(const TCommand&)> OnWindowCommand;
};

// The game's pictures as blank images of their sizes in a library with no file: the play runs
// and draws without the build's picture library.
struct TBlankPictures {
    TVX8Library Library;
    std::vector<TImageHold> Blanks;
    std::unique_ptr<TGameImages> Images;

    TBlankPictures()
    {
        InitPBMInfo();
        const struct {
            const char* Name;
            uint16_t Width, Height;
        } pictures[] = {{"arru_up", 20, 200}, {"arru_dn", 20, 200}, {"arrd_up", 20, 200},
            {"arrd_dn", 20, 200}, {"arrl_up", 20, 200}, {"arrl_dn", 20, 200}, {"arrr_up", 20, 200},
            {"arrr_dn", 20, 200}, {"empty", 32, 32}, {"roads", 96, 288}, {"conndiag", 21, 56},
            {"welldone", 206, 206}, {"clicksr", 206, 206}};
        // Held open, so that a picture opened and let go again by the painter stays.
        for (const auto& p : pictures) {
            Library.CreateImage(p.Name, p.Width, p.Height);
            Blanks.push_back(TImageHold::Open(Library, p.Name));
        }
        Images = std::make_unique<TGameImages>(Library);
    }
};

// The game's thread in a test: jobs handed over from any thread wait until the test runs them.
class TJobQueue {
public:
    TGameThread Thread()
    {
        return [this](std::function<void()> job) {
            const std::lock_guard lock(FMutex);
            FJobs.push_back(std::move(job));
        };
    }
    // Runs the jobs as they come until the condition holds, for the given time at most.
    template <typename F>
    bool RunUntil(F condition, std::chrono::milliseconds most = std::chrono::seconds(60))
    {
        const auto until = std::chrono::steady_clock::now() + most;
        while (!condition() && std::chrono::steady_clock::now() < until) {
            std::function<void()> job;
            {
                const std::lock_guard lock(FMutex);
                if (!FJobs.empty()) {
                    job = std::move(FJobs.front());
                    FJobs.pop_front();
                }
            }
            if (job)
                job();
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return condition();
    }

private:
    std::mutex FMutex;
    std::deque<std::function<void()>> FJobs;
};

// The shortest sequence of arrow keys that turns a 3 x 3 current board into its target.
std::string SolvingKeys(const TPuzzleBoard& board);
