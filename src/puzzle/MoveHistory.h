#pragma once

#include "puzzle/PuzzleBoard.h"

#include <cstdint>
#include <optional>
#include <vector>

// The rotations of the current game, for undo and redo. Each rotation is one step, also every
// repeat of a held arrow; a new rotation clears what could be redone.
class TMoveHistory {
public:
    void Record(TArrow arrow);
    // The arrow that takes the last rotation back (the opposite one), moving it to the redo list;
    // nothing when there is nothing to undo.
    std::optional<TArrow> Undo(int32_t cols, int32_t rows);
    // The arrow of the last undone rotation, moving it back to the undo list; nothing when there
    // is nothing to redo.
    std::optional<TArrow> Redo();
    void Clear();

    // The rotations that count for the game: made and not taken back.
    int32_t Moves() const { return static_cast<int32_t>(FDone.size()); }
    int32_t Redoable() const { return static_cast<int32_t>(FUndone.size()); }

private:
    std::vector<TArrow> FDone;
    std::vector<TArrow> FUndone;
};

// The arrow that moves the same line the other way: up and down, left and right. Column arrows
// 1..cols move up and cols+1..2*cols down; row arrows 1..rows left and rows+1..2*rows right.
TArrow OppositeArrow(TArrow arrow, int32_t cols, int32_t rows);
