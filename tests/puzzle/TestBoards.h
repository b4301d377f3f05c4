#pragma once

#include "puzzle/WardenGame.h"

#include <cstdint>

// A board whose 25 cells all differ, in their arms and in each of their nine colour slots, so
// that any cell that moves shows. It keeps none of the invariants of a generated picture.
inline TRoadBoard DistinctBoard()
{
    TRoadBoard board;
    for (int32_t c = 1; c <= StorageLines; ++c)
        for (int32_t r = 1; r <= StorageLines; ++r) {
            const auto id = static_cast<uint8_t>((c - 1) * StorageLines + r);
            TRoadCell& cell = board.Cell(c, r);
            cell.Arms = id;
            for (int32_t k = 0; k < ColourSlots; ++k)
                cell.ArmColours[k] = static_cast<uint8_t>(id + 25 * k);
        }
    return board;
}

// A scrambled game of the given size: the model's own picture, or distinct tiles, shuffled by
// the game's own scramble.
inline TPuzzleBoard ScrambledGame(TRandomSource& random, int32_t cols, int32_t rows, bool distinct)
{
    TWardenGame game(random);
    game.Board.SetCols(cols);
    game.Board.SetRows(rows);
    game.Board.NewPuzzle(random);
    if (distinct)
        game.Board.Target = game.Board.Current = DistinctBoard();
    game.Start();
    while (game.ScrambleStep()) { }
    return game.Board;
}
