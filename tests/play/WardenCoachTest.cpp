#include "play/WardenCoach.h"
#include "play/GameStatistics.h"
#include "puzzle/ScriptedRandom.h"

#include <gtest/gtest.h>

namespace {

TEST(WardenCoachTest, ParSaysParOnlyWhenNoWayIsShorterAndHelpedWinsShowNoBest)
{
    EXPECT_EQ(ParText({9, true}), "par 9");
    EXPECT_EQ(ParText({23, false}), "a way back in 23 moves");
    EXPECT_EQ(ParText({1, false}), "a way back in 1 move");
    EXPECT_EQ(StatisticsText({2, 1, 0, 0}, 3, 3, TGameResult {6, 75, true}),
        "3 × 3: won 1 of 2 · this game: 6 moves in 1:15");
}

TEST(WardenCoachTest, MoveWordsNameTheLineAndTheWayItTurns)
{
    TPuzzleBoard board;
    board.SetCols(4);
    board.SetRows(3);
    const std::pair<TArrow, const char*> cases[]
        = {{{true, 2}, "Column 2 up"}, {{true, 6}, "Column 2 down"}, {{true, 8}, "Column 4 down"},
            {{false, 1}, "Row 1 left"}, {{false, 6}, "Row 3 right"}};
    for (const auto& [arrow, words] : cases)
        EXPECT_EQ(MoveWords(board, arrow), words);
}

TEST(WardenCoachTest, WayIsPlayedFromItsOwnBoardOnlyAndAnEarlierGamesAnswerIsIgnored)
{
    TPuzzleBoard board;
    for (int32_t col = 1; col <= 3; ++col)
        for (int32_t row = 1; row <= 3; ++row)
            board.Target.Cell(col, row).Arms = static_cast<uint8_t>(col * 8 + row);
    board.Current = board.Target;
    board.ApplyArrow(true, 1);
    board.ApplyArrow(false, 2);
    TWardenCoach coach;
    coach.Reset();
    const uint32_t earlier = coach.Game();
    coach.Reset();
    coach.Learn(earlier, board, {{false, 5}, {true, 4}});
    EXPECT_EQ(coach.NextMove(board), std::nullopt);

    coach.Learn(coach.Game(), board, {{false, 5}, {true, 4}});
    EXPECT_EQ(coach.NextMove(board), (TArrow {false, 5}));
    board.ApplyArrow(false, 5);
    EXPECT_EQ(coach.NextMove(board), std::nullopt) << "the board moved past the known way";
    coach.MovePlayed(board);
    EXPECT_EQ(coach.NextMove(board), (TArrow {true, 4}));
    board.ApplyArrow(true, 4);
    coach.MovePlayed(board);
    EXPECT_TRUE(board.IsSolved());
    EXPECT_EQ(coach.NextMove(board), std::nullopt);
}

} // namespace
