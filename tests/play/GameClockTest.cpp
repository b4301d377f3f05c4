#include "play/GameClock.h"

#include <gtest/gtest.h>

namespace {

TEST(GameClockTest, CountsOnlyWhileRunningWithTheFocusAndNeverBackwards)
{
    enum class TStep { Run, Halt, Reset, Blur, Focus };
    const struct {
        TStep Step;
        int64_t At;
        int64_t Played; // read at At + 100
    } steps[] = {
        {TStep::Run, 1000, 100},
        {TStep::Blur, 1500, 500}, // 500 counted, none while away
        {TStep::Focus, 9000, 600},
        {TStep::Halt, 9200, 700}, // the win keeps its time
        {TStep::Focus, 9300, 700},
        {TStep::Run, 20000, 2100}, // a resumed game goes on from its saved time
        {TStep::Blur, 19000, 2000}, // a clock that went back adds nothing
        {TStep::Reset, 30000, 0},
    };
    TGameClock clock;
    for (const auto& s : steps) {
        switch (s.Step) {
        case TStep::Run:
            clock.Run(s.At, s.At == 20000 ? 2000 : 0);
            break;
        case TStep::Halt:
            clock.Halt(s.At);
            break;
        case TStep::Reset:
            clock.Reset();
            break;
        case TStep::Blur:
        case TStep::Focus:
            clock.SetFocused(s.Step == TStep::Focus, s.At);
            break;
        }
        EXPECT_EQ(clock.Played(s.At + 100), s.Played) << "step at " << s.At;
    }
}

} // namespace
