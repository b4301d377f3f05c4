#pragma once

#include "puzzle/WardenGame.h"

// A board of the solver benchmarks: the game's own board of that size, or one of distinct tiles,
// shuffled by the game's scramble.
inline TPuzzleBoard ScrambledBoard(TRandomSource& random, int32_t cols, int32_t rows, bool distinct)
{
    TWardenGame game(random);
    TPuzzleBoard& board = game.Board;
    board.SetCols(cols);
    board.SetRows(rows);
    board.NewPuzzle(random);
    if (distinct) {
        for (int32_t c = 1; c <= MaxLines; ++c)
            for (int32_t r = 1; r <= MaxLines; ++r)
                board.Target.Cell(c, r).Arms = static_cast<uint8_t>(c * MaxLines + r);
        board.Current = board.Target;
    }
    game.Start();
    while (game.ScrambleStep()) { }
    return board;
}
